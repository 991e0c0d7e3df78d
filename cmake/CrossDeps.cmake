# Third-party code for the Windows build, compiled from Debian's source packages
# (fetched by scripts/setup) and from the sources that Debian's googletest installs.
file(GLOB _pugixml_dir LIST_DIRECTORIES true "${QUORVEL_DEPS_DIR}/src/pugixml-*")
file(GLOB _zlib_dir LIST_DIRECTORIES true "${QUORVEL_DEPS_DIR}/src/zlib-*")
if(NOT _pugixml_dir OR NOT _zlib_dir)
  message(FATAL_ERROR "pugixml and zlib sources are missing under ${QUORVEL_DEPS_DIR}/src: run scripts/setup")
endif()
list(GET _pugixml_dir 0 _pugixml_dir)
list(GET _zlib_dir 0 _zlib_dir)

add_library(quorvel_xml STATIC "${_pugixml_dir}/src/pugixml.cpp")
target_include_directories(quorvel_xml SYSTEM PUBLIC "${_pugixml_dir}/src")
target_compile_options(quorvel_xml PRIVATE -w)

find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
set(_minizip "${_zlib_dir}/contrib/minizip")
add_library(quorvel_zip STATIC "${_minizip}/unzip.c" "${_minizip}/ioapi.c")
# Our code includes <minizip/unzip.h> as on Linux; point a folder named minizip at the sources.
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/include")
file(CREATE_LINK "${_minizip}" "${CMAKE_BINARY_DIR}/include/minizip" SYMBOLIC)
target_include_directories(quorvel_zip SYSTEM PUBLIC "${CMAKE_BINARY_DIR}/include" "${_minizip}")
target_compile_options(quorvel_zip PRIVATE -w)
target_link_libraries(quorvel_zip PUBLIC ${ZLIB_STATIC})

set(_gtest /usr/src/googletest/googletest)
add_library(quorvel_gtest STATIC "${_gtest}/src/gtest-all.cc")
target_include_directories(quorvel_gtest SYSTEM PUBLIC "${_gtest}/include" PRIVATE "${_gtest}")
target_compile_options(quorvel_gtest PRIVATE -w)
add_library(GTest::gtest ALIAS quorvel_gtest)
