# LZHUF decoder (the program) and encoder (the skin tools and tests).
tw_library(tw_lzh PORTABLE SOURCES LZH.cpp LzhEncoder.cpp)
