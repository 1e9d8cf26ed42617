# The skin definition component (Windows). It and the skin manager call each
# other, so the two libraries link each other.
tw_library(tw_skin_data SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinData.cpp
  LIBS tw_skin_model tw_skinread tw_skinini tw_skinstore tw_imgutil_win tw_gui tw_skin_window comctl32 gdi32 user32)
