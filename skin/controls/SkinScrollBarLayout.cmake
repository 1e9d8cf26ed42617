# Scroll-bar geometry and the skinned bar's picture (portable).
tw_library(tw_skin_scrollbar_layout PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinScrollBarLayout.cpp
  LIBS tw_imgutil tw_skin_colour)
