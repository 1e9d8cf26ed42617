# tw_add_form(TARGET <exe> NAME <RESOURCE> SOURCE <file.form>
#             [SEARCH <dir>...] [DEPENDS <file-or-target>...])
#
# Compiles a readable form description into the exe as an RCDATA resource
# named NAME, which must be the upper-case class name of the root object
# (TForm loads "TFRMMAIN" for TFrmMain). @file "x" values are looked up
# relative to the source's folder, then in each SEARCH folder; list files
# produced by the build (skin packages) and their targets under DEPENDS.
# In the host tree the call does nothing.

function(tw_add_form)
  cmake_parse_arguments(A "" "TARGET;NAME;SOURCE" "SEARCH;DEPENDS" ${ARGN})
  if(NOT WIN32 OR TW_FUZZ)
    return()
  endif()
  if(NOT A_TARGET OR NOT A_NAME OR NOT A_SOURCE)
    message(FATAL_ERROR "tw_add_form needs TARGET, NAME and SOURCE")
  endif()
  tw_host_tool(formc formc)
  get_filename_component(src ${A_SOURCE} ABSOLUTE)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/forms)
  set(twf ${dir}/${A_NAME}.twf)
  set(rc ${dir}/${A_NAME}.rc)
  set(search_args)
  foreach(s ${A_SEARCH})
    get_filename_component(s ${s} ABSOLUTE)
    list(APPEND search_args -I ${s})
  endforeach()
  file(MAKE_DIRECTORY ${dir})
  add_custom_command(OUTPUT ${twf}
    COMMAND ${formc} ${search_args} --name ${A_NAME} --depfile ${twf}.d -o ${twf} ${src}
    DEPENDS ${src} ${formc_DEPENDS} ${formc} ${A_DEPENDS}
    DEPFILE ${twf}.d
    COMMENT "Compiling form ${A_NAME} from ${A_SOURCE}"
    VERBATIM)
  file(CONFIGURE OUTPUT ${rc} CONTENT "${A_NAME} RCDATA \"${twf}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${twf})
  target_sources(${A_TARGET} PRIVATE ${rc} ${twf})
endfunction()
