# The skinned menu bar: button layout, hit tests and keyboard steering
# (portable), and the bar itself, built into the frame's library (Windows).
tw_library(tw_menubar_layout PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuBarLayout.cpp LIBS tw_image)
if(TARGET tw_skin_window)
  target_sources(tw_skin_window PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinSkinMenu.cpp)
  target_link_libraries(tw_skin_window PUBLIC tw_menubar_layout tw_skin_caption)
  target_compile_definitions(tw_skin_window PRIVATE TW_HAVE_MENU_BAR)
endif()
