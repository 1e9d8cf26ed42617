# Skin package reader and writer.
tw_library(tw_skinread PORTABLE SOURCES SkinRead.cpp LIBS tw_lzh)
