# Frame geometry and hit codes without windows (host and Windows trees).
tw_test(FrameGeometryTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameGeometryTest.cpp LIBS tw_frame_geometry)
