# The skinned menu bar: layout, hit tests and keys without windows (host and
# Windows trees).
tw_test(WinSkinMenuLayoutTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuLayoutTest.cpp LIBS tw_menubar_layout)
