# Adds the C++ sources of one folder (not its sub-folders) to a target. A file's name says
# which build it belongs to: "...Win32.cpp" only to the product; "...Linux.cpp",
# "...Simulated.cpp", "...Gtk.cpp", "...Cairo.cpp" and "...Headless.cpp" only to the
# Linux build; every other file to both.
function(quorvel_add_sources target dir)
  file(GLOB _files CONFIGURE_DEPENDS "${dir}/*.cpp")
  foreach(_file IN LISTS _files)
    get_filename_component(_name "${_file}" NAME_WE)
    if(_name MATCHES "Win32(Test)?$")
      if(NOT WIN32)
        continue()
      endif()
    elseif(_name MATCHES "(Linux|Simulated|Gtk|Cairo|Headless)(Test)?$")
      if(WIN32)
        continue()
      endif()
    endif()
    target_sources(${target} PRIVATE "${_file}")
  endforeach()
endfunction()
