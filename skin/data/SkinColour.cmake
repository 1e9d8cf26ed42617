# Skin colours and the colour text of the settings.
tw_library(tw_skin_colour PORTABLE SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinColour.cpp)
