# Portable settings reader (TQuickIni).
tw_library(tw_skinini PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/WinSkinIni.cpp)
