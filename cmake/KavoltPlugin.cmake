# kavolt_plugin(<target> <file name> <sources...> [OUTPUT_DIR dir])
# Builds a plug-in library under the system's own file name (e.g. "Loopcast.FLT",
# "Cinereel.so"). Hidden visibility and -fno-gnu-unique make sure that unloading
# the library really drops it, so its statics start afresh at the next load.
function(kavolt_plugin target filename)
  cmake_parse_arguments(KP "" "OUTPUT_DIR" "" ${ARGN})
  add_library(${target} MODULE ${KP_UNPARSED_ARGUMENTS})
  get_filename_component(stem ${filename} NAME_WLE)
  get_filename_component(ext ${filename} LAST_EXT)
  set_target_properties(${target} PROPERTIES
      PREFIX "" OUTPUT_NAME ${stem} SUFFIX ${ext}
      CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden
      VISIBILITY_INLINES_HIDDEN ON)
  if(KP_OUTPUT_DIR)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${KP_OUTPUT_DIR})
  endif()
  target_compile_options(${target} PRIVATE -fno-gnu-unique)
  target_link_options(${target} PRIVATE -Wl,--no-undefined)
  target_link_libraries(${target} PRIVATE kvplatform)
endfunction()

# kavolt_kit_plugin(<target> <file name> <sources...> [OUTPUT_DIR dir])
# A plug-in that carries the plug-in kit (plugins/kit/).
function(kavolt_kit_plugin target filename)
  kavolt_plugin(${target} ${filename} ${ARGN})
  target_link_libraries(${target} PRIVATE kvkit)
endfunction()

# kavolt_kit_engine(<target> <sources...> [LIBS libs...])
# A plug-in's pixel work as a static library of its own, so that the tests'
# probes and the benchmarks can be built with it too: it carries the kit, is
# built at -O3 and without unique symbols (see kavolt_plugin).
function(kavolt_kit_engine target)
  cmake_parse_arguments(KE "" "" "LIBS" ${ARGN})
  add_library(${target} STATIC ${KE_UNPARSED_ARGUMENTS})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC kvkit ${KE_LIBS})
  target_compile_options(${target} PRIVATE -fno-gnu-unique -O3)
endfunction()
