# The skinned menu bar: layout, hit tests and keys without windows (host and
# Windows trees).
tw_test(WinSkinMenuLayoutTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuLayoutTest.cpp LIBS tw_menubar_layout)
# The menu bar of a real framed form under Wine: band pixels, client size,
# native menu given back, and the menu-bar loop.
tw_test(WinSkinMenuTest WINDOWS SOURCES ${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuTest.cpp
        LIBS tw_skin_window tw_skin_data tw_skin_model tw_skinread tw_skinini tw_test_support TIMEOUT 240)
if(TARGET WinSkinMenuTest)
  target_link_options(WinSkinMenuTest PRIVATE -mwindows)
endif()
# A picture of a skinned menu bar with a drop-down open, for people to look
# at (tests/skin/window/WinSkinMenuShots.sh runs it for each embedded skin).
if(WIN32 AND NOT TW_FUZZ AND NOT TW_TOOLS_ONLY AND TARGET tw_skin_window)
  add_executable(WinSkinMenuShot ${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuShot.cpp)
  target_include_directories(WinSkinMenuShot PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(WinSkinMenuShot PRIVATE tw_skin_window tw_skin_data tw_test_support gtest)
endif()
