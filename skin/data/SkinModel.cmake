# Skin elements, the skin model and its builder.
tw_library(tw_skin_model PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinModel.cpp
  LIBS tw_skin_vocabulary tw_skin_colour tw_image tw_imgutil tw_skinread tw_skinini)
