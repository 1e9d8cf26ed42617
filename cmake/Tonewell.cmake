# Helpers shared by every folder's CMakeLists.txt.
#
#   tw_library(NAME [PORTABLE] SOURCES ... [LIBS ...])
#       PORTABLE libraries are built by both trees; the others only by the
#       Windows tree (the call is ignored in the host tree).
#   tw_test(NAME [WINDOWS] SOURCES ... [LIBS ...] [TIMEOUT s])
#       A GoogleTest program registered with ctest. WINDOWS tests exist only in
#       the Windows tree and run under Wine; the others are portable and exist
#       in both trees (natively tested with sanitizers in the host tree).
#   tw_bench(NAME SOURCES ... [LIBS ...])   host-only Google Benchmark program,
#       built only in a tree without sanitizers (tools/bench.sh).
#   tw_fuzz(NAME SOURCES ... [LIBS ...])    libFuzzer target (fuzz tree only);
#       in the host tree the same source is linked to a driver that replays
#       its seed corpus folder tests/fuzz/corpus/NAME as a regression test.

function(tw_library name)
  cmake_parse_arguments(A "PORTABLE" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_PORTABLE AND NOT WIN32)
    return()
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

function(tw_test name)
  cmake_parse_arguments(A "WINDOWS" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(A_WINDOWS AND NOT WIN32)
    return()
  endif()
  if(TW_FUZZ OR TW_TOOLS_ONLY)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  if(WIN32)
    # Windows tests share one virtual desktop: run them one at a time.
    # A program that crashes under Wine can still exit with code 0, so a
    # test passes only when the runner printed its final summary, nothing
    # failed and Wine reported no unhandled exception.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_desktop
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ tests?\\."
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\];Unhandled (page fault|exception|stack overflow)")
  endif()
endfunction()

function(tw_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  # Sanitized timings mean nothing: benchmarks live in a tree without them
  # (tools/bench.sh).
  if(WIN32 OR TW_FUZZ OR TW_TOOLS_ONLY OR TW_SANITIZE OR NOT TARGET benchmark::benchmark)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
endfunction()

function(tw_fuzz name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR TW_TOOLS_ONLY)
    return()
  endif()
  if(TW_FUZZ)
    add_executable(${name} ${A_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${A_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name}_replay ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name}_replay PRIVATE ${A_LIBS})
    add_test(NAME ${name}_replay
             COMMAND ${name}_replay ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
    set_tests_properties(${name}_replay PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Host programs that the build itself runs (skin generator and packer, form
# compiler, ...). Both trees can use them:
#   tw_host_executable(NAME SOURCES ... [LIBS ...])
#       declares the program (host tree only; it lands in <tree>/bin).
#   tw_host_tool(VAR NAME)
#       sets VAR to the program's path and VAR_DEPENDS to what a custom
#       command must depend on. In the host tree that is the target itself; in
#       the Windows tree it is a nested, unsanitized host build of the tools
#       (<win tree>/hosttools, built by the target tw_host_tools).
function(tw_host_executable name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR TW_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(tw_host_tools_all ${name})
endfunction()

function(tw_host_tool var name)
  if(WIN32)
    set(${var} ${CMAKE_BINARY_DIR}/hosttools/bin/${name} PARENT_SCOPE)
    set(${var}_DEPENDS tw_host_tools PARENT_SCOPE)
  else()
    set(${var} $<TARGET_FILE:${name}> PARENT_SCOPE)
    set(${var}_DEPENDS ${name} PARENT_SCOPE)
  endif()
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt.
macro(tw_add_subfolders)
  file(GLOB _tw_subdirs LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _tw_subdirs)
  foreach(_tw_d ${_tw_subdirs})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_tw_d} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_tw_d}/CMakeLists.txt)
      add_subdirectory(${_tw_d})
    endif()
  endforeach()
endmacro()

# Includes every <Component>.cmake fragment of the current folder (each
# component of a subsystem declares its own libraries in one).
macro(tw_include_fragments)
  file(GLOB _tw_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _tw_fragments)
  foreach(_tw_f ${_tw_fragments})
    include(${_tw_f})
  endforeach()
endmacro()
