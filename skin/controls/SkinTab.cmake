# Skinned tab controls, pages and button-style tabs.
if(TARGET tw_skin_controls)
  target_sources(tw_skin_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinTab.cpp)
endif()
