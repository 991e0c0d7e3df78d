# Delay-load import libraries for system DLLs that Windows does not keep among its KnownDLLs.
# The loader resolves ordinary imports before the program's first line runs, searching the
# program's own folder first; such a DLL planted beside the program would run elevated. A
# delay-load import is resolved at its first call instead, after the entry point has
# restricted the search to the system directory.
#
# quorvel_delay_load_library(<target> <import library name> <dll>) makes an imported library
# <target> with the same functions as the toolchain's lib<name>.a.
get_filename_component(_quorvel_tool_prefix "${CMAKE_C_COMPILER}" NAME)
string(REGEX REPLACE "gcc(-posix|-win32)?$" "" _quorvel_tool_prefix "${_quorvel_tool_prefix}")
find_program(QUORVEL_DLLTOOL "${_quorvel_tool_prefix}dlltool" REQUIRED)
find_program(QUORVEL_NM "${_quorvel_tool_prefix}nm" REQUIRED)

function(quorvel_delay_load_library target name dll)
  find_library(_import_library_${name} NAMES "lib${name}.a" REQUIRED)
  execute_process(COMMAND "${QUORVEL_NM}" -g "${_import_library_${name}}" OUTPUT_VARIABLE _symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  # The import thunks, "__imp__Name@8" (i686) or "__imp_Name" (x86_64), give the exports.
  string(REGEX MATCHALL " I __imp_[^\n]+" _imports "${_symbols}")
  set(_def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(_import IN LISTS _imports)
    string(REGEX REPLACE "^ I __imp_" "" _export "${_import}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" _export "${_export}")
    endif()
    string(APPEND _def "${_export}\n")
  endforeach()
  set(_dir "${CMAKE_BINARY_DIR}/delay-load")
  file(WRITE "${_dir}/${name}.def" "${_def}")
  execute_process(COMMAND "${QUORVEL_DLLTOOL}" -d "${_dir}/${name}.def" -k -y "${_dir}/lib${name}-delay.a"
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${_dir}/lib${name}-delay.a")
endfunction()
