# Every folder of the program is one static library, a layer. A layer's compiler sees only
# the headers of its own folder and of the layers it declares (with theirs): it gets an
# include tree of its own, made of links to those headers, and never the source root. An
# include that reaches up a layer, or across to an undeclared one, fails to compile.
set(QUORVEL_LAYER_ROOT "${CMAKE_BINARY_DIR}/layers")
file(REMOVE_RECURSE "${QUORVEL_LAYER_ROOT}")

# Fills the include tree of a target with the headers of the given folders.
function(_quorvel_include_tree target)
  set(_tree "${QUORVEL_LAYER_ROOT}/${target}")
  foreach(_folder IN LISTS ARGN)
    file(GLOB _headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${_folder}/*.h")
    file(MAKE_DIRECTORY "${_tree}/${_folder}")
    foreach(_header IN LISTS _headers)
      get_filename_component(_name "${_header}" NAME)
      file(CREATE_LINK "${_header}" "${_tree}/${_folder}/${_name}" SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE "${_tree}")
endfunction()

# The folders a target may include from: those of the given layers and theirs.
function(_quorvel_visible_folders out)
  set(_visible "")
  foreach(_layer IN LISTS ARGN)
    get_property(_folders TARGET ${_layer} PROPERTY QUORVEL_VISIBLE)
    list(APPEND _visible ${_folders})
  endforeach()
  list(REMOVE_DUPLICATES _visible)
  set(${out} "${_visible}" PARENT_SCOPE)
endfunction()

# quorvel_layer(<target> <folder> [DEPENDS <layers>...] [USES <layers>...] [LIBRARIES <libraries>...])
# DEPENDS layers are visible to this layer and to every layer above it; USES layers only
# to this one (the shell shows message boxes through the toolkit, but the engine above it
# must not reach the toolkit through the shell).
function(quorvel_layer target folder)
  cmake_parse_arguments(_arg "" "" "DEPENDS;USES;LIBRARIES" ${ARGN})
  add_library(${target} STATIC)
  quorvel_add_sources(${target} "${CMAKE_SOURCE_DIR}/${folder}")
  _quorvel_visible_folders(_visible ${_arg_DEPENDS})
  list(PREPEND _visible "${folder}")
  set_property(TARGET ${target} PROPERTY QUORVEL_VISIBLE "${_visible}")
  _quorvel_visible_folders(_used ${_arg_USES})
  list(APPEND _used ${_visible})
  list(REMOVE_DUPLICATES _used)
  _quorvel_include_tree(${target} ${_used})
  target_compile_options(${target} PRIVATE ${QUORVEL_WARNINGS})
  target_link_libraries(${target} PUBLIC ${_arg_DEPENDS} ${_arg_USES} ${_arg_LIBRARIES})
endfunction()

# A program (entry point, tool, test, benchmark) sees the layers it links and nothing else;
# extra folders (its own, for tests) may be named.
function(quorvel_program target)
  cmake_parse_arguments(_arg "" "" "LAYERS;FOLDERS" ${ARGN})
  _quorvel_visible_folders(_visible ${_arg_LAYERS})
  _quorvel_include_tree(${target} ${_visible})
  if(_arg_FOLDERS)
    target_include_directories(${target} PRIVATE ${_arg_FOLDERS})
  endif()
  target_compile_options(${target} PRIVATE ${QUORVEL_WARNINGS})
  target_link_libraries(${target} PRIVATE ${_arg_LAYERS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
endfunction()
