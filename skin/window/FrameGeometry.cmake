# Frame sizes, client rectangle, border pieces and hit codes of a skinned
# frame (portable).
tw_library(tw_frame_geometry PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameGeometry.cpp
  LIBS tw_image)
