# Scroll-bar, column-header, list-view and edit skin objects (Windows).
if(TARGET tw_skin_controls)
  target_sources(tw_skin_controls PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SkinScrollBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinHeader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinListView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinEdit.cpp)
  target_link_libraries(tw_skin_controls PUBLIC tw_skin_scrollbar_layout tw_skin_header_layout
    tw_skin_edit_layout comctl32)
endif()
