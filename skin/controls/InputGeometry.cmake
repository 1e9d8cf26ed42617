# Geometry, state rules and pictures of the combo box, track bar and up-down
# control (portable).
tw_library(tw_skin_input_geometry PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/InputGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputPictures.cpp LIBS tw_imgutil tw_skin_colour tw_skin_model)
if(TARGET tw_skin_controls)
  target_link_libraries(tw_skin_controls PUBLIC tw_skin_input_geometry)
endif()
