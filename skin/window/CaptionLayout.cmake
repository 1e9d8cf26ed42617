# Caption-button layout, visibility and hit tests, and menu-item geometry
# (portable).
tw_library(tw_caption_layout PORTABLE
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CaptionLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuItemLayout.cpp
  LIBS tw_image)
