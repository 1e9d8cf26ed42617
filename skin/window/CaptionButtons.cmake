# Caption buttons, the skinned system menu, skinned popup-menu windows and the
# menu-item painter (Windows).
tw_library(tw_skin_caption
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CaptionButtons.cpp ${CMAKE_CURRENT_LIST_DIR}/SystemMenu.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PopupMenu.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuItemPainter.cpp
  LIBS tw_caption_layout tw_imgutil_win tw_skin_model tw_gui user32 gdi32)
# Code that links the library can call the caption buttons and the popup
# menus.
if(TARGET tw_skin_caption)
  target_compile_definitions(tw_skin_caption PUBLIC TW_HAVE_CAPTION_BUTTONS TW_HAVE_POPUP_MENUS)
endif()
