# Portable pixel buffer with BMP reading and writing.
tw_library(tw_image PORTABLE SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Bmp.cpp)
