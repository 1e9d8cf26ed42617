# Caption buttons, system menu, popup menus and the menu-item painter.
tw_test(CaptionLayoutTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/CaptionLayoutTest.cpp LIBS tw_caption_layout)
tw_test(CaptionButtonsTest WINDOWS SOURCES ${CMAKE_CURRENT_LIST_DIR}/CaptionButtonsTest.cpp
        LIBS tw_skin_caption tw_test_support TIMEOUT 240)
tw_test(PopupMenuTest WINDOWS SOURCES ${CMAKE_CURRENT_LIST_DIR}/PopupMenuTest.cpp
        LIBS tw_skin_caption tw_test_support TIMEOUT 120)
