# Builds the resource package (a zip of resources/ plus the driver payload) and the
# object that carries it inside the program.
set(QUORVEL_PACKAGE_ZIP "${CMAKE_BINARY_DIR}/package/package.zip")
file(GLOB_RECURSE _resource_files CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/*")
set(_pack_args --resources "${CMAKE_SOURCE_DIR}/resources" --out "${QUORVEL_PACKAGE_ZIP}")
if(QUORVEL_DRIVER_TREE)
  list(APPEND _pack_args --driver-tree "${QUORVEL_DRIVER_TREE}")
endif()
add_custom_command(
  OUTPUT "${QUORVEL_PACKAGE_ZIP}"
  COMMAND ${Python3_EXECUTABLE} "${CMAKE_SOURCE_DIR}/scripts/make-package.py" ${_pack_args}
  DEPENDS "${CMAKE_SOURCE_DIR}/scripts/make-package.py" ${_resource_files}
  COMMENT "Packing the resource package"
  VERBATIM)
add_custom_target(quorvel_package DEPENDS "${QUORVEL_PACKAGE_ZIP}")

if(WIN32)
  # Resource type "ZIPRES", name 129, language 2052, plus the manifest and version block.
  set(_rc "${CMAKE_BINARY_DIR}/package/package.rc")
  file(WRITE "${_rc}" "LANGUAGE 4, 2\n129 ZIPRES \"${QUORVEL_PACKAGE_ZIP}\"\n")
  set_source_files_properties("${_rc}" PROPERTIES OBJECT_DEPENDS "${QUORVEL_PACKAGE_ZIP}")
  set(QUORVEL_PACKAGE_SOURCES "${_rc}")
else()
  # The zip bytes are linked into the program as a read-only data block.
  enable_language(ASM)
  set(_asm "${CMAKE_BINARY_DIR}/package/package_blob.S")
  file(WRITE "${_asm}"
    ".section .rodata\n"
    ".global quorvel_package_begin\n.global quorvel_package_end\n"
    ".balign 16\nquorvel_package_begin:\n.incbin \"${QUORVEL_PACKAGE_ZIP}\"\nquorvel_package_end:\n"
    ".section .note.GNU-stack,\"\",@progbits\n")
  set_source_files_properties("${_asm}" PROPERTIES OBJECT_DEPENDS "${QUORVEL_PACKAGE_ZIP}" LANGUAGE ASM)
  set(QUORVEL_PACKAGE_SOURCES "${_asm}")
endif()
# An object library, so every program that links the package (the wizard, the tests, the
# benchmarks) gets its own copy of the same bytes.
add_library(quorvel_package_blob OBJECT ${QUORVEL_PACKAGE_SOURCES})
add_dependencies(quorvel_package_blob quorvel_package)
