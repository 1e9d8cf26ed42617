# The skinned menu bar: button layout, hit tests and keyboard steering
# (portable).
tw_library(tw_menubar_layout PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuBarLayout.cpp LIBS tw_image)
