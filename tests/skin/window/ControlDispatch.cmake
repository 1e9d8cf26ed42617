# The child-control dispatch on real windows (Wine).
tw_test(ControlDispatchTest WINDOWS SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlDispatchTest.cpp
        LIBS tw_control_dispatch tw_skin_model tw_skinread tw_skinini tw_test_support TIMEOUT 180)
if(TARGET ControlDispatchTest)
  target_link_options(ControlDispatchTest PRIVATE -mwindows)
endif()
