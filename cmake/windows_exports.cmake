# Every Windows export goes through a .def file so that names stay undecorated in both
# builds: in i686 a WINAPI function is DS_Entry@20 inside the object, and the .def maps the
# plain export name onto it. Each export is given as Name/ArgumentBytes.
function(kv_write_def out_file library)
  set(text "LIBRARY \"${library}\"\nEXPORTS\n")
  foreach(entry IN LISTS ARGN)
    string(REPLACE "/" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
      string(APPEND text "    ${name} = ${name}@${bytes}\n")
    else()
      string(APPEND text "    ${name}\n")
    endif()
  endforeach()
  file(GENERATE OUTPUT "${out_file}" CONTENT "${text}")
endfunction()
