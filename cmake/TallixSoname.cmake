# tallix_soname(<variable> <library>): the SONAME of <library> ("libjpeg.so.62"),
# the name the dynamic loader knows it by, for a library the program opens with
# dlopen: never one guessed from a header's version. Fails the configure step
# when the name cannot be read. Every SONAME read here is also kept in the
# global property TALLIX_OPENED_SONAMES (its folder in
# TALLIX_OPENED_FOLDERS), from which the build makes
# tallix_opened_libraries (app/), the package's record of what it opens.
function(tallix_soname variable library)
  get_filename_component(_real "${library}" REALPATH)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${_real}
                  OUTPUT_VARIABLE _headers RESULT_VARIABLE _status)
  string(REGEX MATCH "SONAME +([^\n ]+)" _line "${_headers}")
  if(NOT _status EQUAL 0 OR CMAKE_MATCH_1 STREQUAL "")
    message(FATAL_ERROR "Cannot read the SONAME of ${_real} with ${CMAKE_OBJDUMP}")
  endif()
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set_property(GLOBAL APPEND PROPERTY TALLIX_OPENED_SONAMES "${CMAKE_MATCH_1}")
  # Its folder, for the linker: a library given outside the linker's search
  # path (an unpacked package in a cross build) is found by its SONAME there.
  get_filename_component(_folder "${library}" DIRECTORY)
  set_property(GLOBAL APPEND PROPERTY TALLIX_OPENED_FOLDERS "${_folder}")
endfunction()
