# cmake -DFROM=<encoder folder> -DTO=<program folder>/encoder [-DSAMPLES=<folder> -DSAMPLES_TO=<folder>]
#   -P StageEncoder.cmake
# Copies the stock encoder (program, licence, package description) into a
# program folder when tools/setup.sh has fetched it, and the sample WMA files.
if(EXISTS ${FROM}/ffmpeg.exe)
  file(MAKE_DIRECTORY ${TO})
  foreach(f ffmpeg.exe LICENSE.txt package.json)
    if(EXISTS ${FROM}/${f})
      execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${FROM}/${f} ${TO}/${f})
    endif()
  endforeach()
endif()
if(SAMPLES AND SAMPLES_TO AND EXISTS ${SAMPLES})
  file(GLOB_RECURSE _wma RELATIVE ${SAMPLES} ${SAMPLES}/*.wma)
  foreach(f ${_wma})
    get_filename_component(_d ${SAMPLES_TO}/${f} DIRECTORY)
    file(MAKE_DIRECTORY ${_d})
    execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SAMPLES}/${f} ${SAMPLES_TO}/${f})
  endforeach()
endif()
