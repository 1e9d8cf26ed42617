# Bitmap utilities: portable pixel routines (tw_imgutil) and the device-context
# routines of the Windows tree (tw_imgutil_win).
tw_library(tw_imgutil PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImgUtil.cpp LIBS tw_image)
tw_library(tw_imgutil_win SOURCES
           ${CMAKE_CURRENT_LIST_DIR}/DibSurface.cpp ${CMAKE_CURRENT_LIST_DIR}/DrawingScratch.cpp
           ${CMAKE_CURRENT_LIST_DIR}/DcDrawing.cpp ${CMAKE_CURRENT_LIST_DIR}/BitmapRegion.cpp
           ${CMAKE_CURRENT_LIST_DIR}/WideText.cpp
           LIBS tw_imgutil tw_gui gdi32 user32)
