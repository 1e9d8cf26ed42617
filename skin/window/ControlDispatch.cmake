# The child-control dispatch (Windows): which skin object each child control
# of a skinned window gets.
tw_library(tw_control_dispatch SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlDispatch.cpp
  LIBS tw_skin_controls tw_gui user32)
