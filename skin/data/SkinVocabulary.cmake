# The settings vocabulary of a skin, as data (used by the model builder and the skin tool).
tw_library(tw_skin_vocabulary PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinVocabulary.cpp)
