# Text colours on the skin's face.
if(TARGET tw_skin_controls)
  target_sources(tw_skin_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinTextColour.cpp)
endif()
