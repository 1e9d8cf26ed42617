# The skin definition, the skin manager and the skinned frame on real windows
# (Wine).
tw_test(SkinFrameTest WINDOWS SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinFrameTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SkinDataTest.cpp
        LIBS tw_skin_window tw_skin_data tw_skin_model tw_skinread tw_skinini tw_test_support TIMEOUT 300)
if(TARGET SkinFrameTest)
  target_link_options(SkinFrameTest PRIVATE -mwindows)
  target_compile_definitions(SkinFrameTest PRIVATE TW_SKINS_DIR="${CMAKE_BINARY_DIR}/skins")
  if(TARGET tw_skins OR EXISTS ${PROJECT_SOURCE_DIR}/skins/CMakeLists.txt)
    add_dependencies(SkinFrameTest tw_skins)
  endif()
endif()
