# Column-header geometry and the header's button picture (portable).
tw_library(tw_skin_header_layout PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinHeaderLayout.cpp
  LIBS tw_imgutil tw_skin_colour)
