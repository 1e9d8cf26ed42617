# The embedded skin store component (portable: it needs only the library's
# object model and streams).
if(TARGET tw_gui_core)
  tw_library(tw_skinstore PORTABLE SOURCES WinSkinStore.cpp LIBS tw_gui_core)
endif()
