# The skin manager and the skinned frame (Windows): tw_skin_window.
tw_library(tw_skin_window
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinManage.cpp ${CMAKE_CURRENT_LIST_DIR}/WinSkinForm.cpp
  LIBS tw_frame_geometry tw_skin_data tw_imgutil_win tw_gui user32 gdi32)
