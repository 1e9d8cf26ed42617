# Geometry and state rules of the glyph, drop-down and window-less buttons,
# check boxes and radio buttons (portable).
tw_library(tw_skin_button_geometry PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/ButtonGeometry.cpp LIBS tw_imgutil)
if(TARGET tw_skin_controls)
  target_link_libraries(tw_skin_controls PUBLIC tw_skin_button_geometry)
endif()
