# tw_use_fake_tools(TARGET [DIR folder]): keeps copies of the fake mplayer.exe
# and ffmpeg.exe (targets fake_mplayer and fake_ffmpeg of tests/fakes) in the
# folder of TARGET's exe (default: the calling folder's build folder), brought
# up to date whenever TARGET is built. Several targets may share a folder.
# Windows tree only.
function(tw_use_fake_tools target)
  cmake_parse_arguments(A "" "DIR" "" ${ARGN})
  if(NOT WIN32 OR NOT TARGET ${target})
    return()
  endif()
  if(NOT A_DIR)
    set(A_DIR ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  string(MD5 _key "${A_DIR}")
  set(_copy fake_tools_${_key})
  if(NOT TARGET ${_copy})
    add_custom_command(OUTPUT ${A_DIR}/mplayer.exe ${A_DIR}/ffmpeg.exe
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fake_mplayer> ${A_DIR}/mplayer.exe
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fake_ffmpeg> ${A_DIR}/ffmpeg.exe
      DEPENDS fake_mplayer fake_ffmpeg
      VERBATIM)
    add_custom_target(${_copy} DEPENDS ${A_DIR}/mplayer.exe ${A_DIR}/ffmpeg.exe)
  endif()
  add_dependencies(${target} ${_copy})
endfunction()
