# Scroll bars of bare windows and stand-alone scroll-bar controls (Windows).
if(TARGET tw_skin_controls)
  target_sources(tw_skin_controls PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SkinScrollBarH.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinScControl.cpp)
endif()
