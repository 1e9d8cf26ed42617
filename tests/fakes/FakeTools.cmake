# tw_use_fake_tools(TARGET [DIR folder]): keeps copies of the fake mplayer.exe
# and ffmpeg.exe (targets fake_mplayer and fake_ffmpeg of tests/fakes) in the
# folder of TARGET's exe (default: the calling folder's build folder), brought
# up to date whenever TARGET is built. Windows tree only.
function(tw_use_fake_tools target)
  cmake_parse_arguments(A "" "DIR" "" ${ARGN})
  if(NOT WIN32 OR NOT TARGET ${target})
    return()
  endif()
  if(NOT A_DIR)
    set(A_DIR ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_custom_command(OUTPUT ${A_DIR}/mplayer.exe ${A_DIR}/ffmpeg.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fake_mplayer> ${A_DIR}/mplayer.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fake_ffmpeg> ${A_DIR}/ffmpeg.exe
    DEPENDS fake_mplayer fake_ffmpeg
    VERBATIM)
  add_custom_target(${target}_fake_tools DEPENDS ${A_DIR}/mplayer.exe ${A_DIR}/ffmpeg.exe)
  add_dependencies(${target} ${target}_fake_tools)
endfunction()
