# Tab-strip and status-bar geometry (portable).
tw_library(tw_skin_tab_geometry PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/TabGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusBarGeometry.cpp LIBS tw_imgutil)
if(TARGET tw_skin_controls)
  target_link_libraries(tw_skin_controls PUBLIC tw_skin_tab_geometry)
endif()
