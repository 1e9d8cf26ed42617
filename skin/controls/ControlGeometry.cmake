# Geometry and state rules of the push button, group box and progress bar,
# and the progress bar's picture (portable).
tw_library(tw_skin_control_geometry PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressPicture.cpp LIBS tw_imgutil tw_skin_colour)
if(TARGET tw_skin_controls)
  target_link_libraries(tw_skin_controls PUBLIC tw_skin_control_geometry)
endif()
