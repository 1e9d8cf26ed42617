# The skinned edit border (portable).
tw_library(tw_skin_edit_layout PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinEditLayout.cpp
  LIBS tw_imgutil tw_skin_colour)
