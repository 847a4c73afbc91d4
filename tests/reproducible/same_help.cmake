# cmake -DCHMCMD=... [-DCHM_COMPILER=...] -DSOURCE_DIR=... -DPROJECT_FILE=...
#       -DBUILD_SCRIPT=.../chm_build.cmake -DWORK_DIR=... -DSOURCE_DATE_EPOCH=...
#       -P same_help.cmake
# Compiles the help project twice with the build's own script, in two
# folders of different depths and a second apart, and requires the same
# bytes. It says "SKIPPED:" (the test's skip mark) when the files differ
# and the compiler is chmcmd, which writes the clock's time and the compile
# folder into the file whatever it is told.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
set(folders ${WORK_DIR}/a ${WORK_DIR}/second/deeper/folder)
set(hashes)
foreach(folder IN LISTS folders)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH}
            ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DCHM_COMPILER=${CHM_COMPILER}
            -DSOURCE_DIR=${SOURCE_DIR} -DWORK_DIR=${folder}/work -DPROJECT_FILE=${PROJECT_FILE}
            -DOUTPUT=${folder}/Tallix.chm -P ${BUILD_SCRIPT}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the help file did not compile in ${folder}")
  endif()
  file(SHA256 ${folder}/Tallix.chm hash)
  file(SIZE ${folder}/Tallix.chm size)
  message(STATUS "${folder}/Tallix.chm: ${size} bytes, sha256 ${hash}")
  list(APPEND hashes ${hash})
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)  # the clock moves on
endforeach()

list(GET hashes 0 first)
list(GET hashes 1 second)
if(first STREQUAL second)
  message(STATUS "the two help files are byte-identical")
  file(REMOVE_RECURSE ${WORK_DIR})
elseif(CHM_COMPILER STREQUAL "")
  message("SKIPPED: the two help files differ: chmcmd records the time of the compile and the "
          "compile folder in the file; the check needs a help compiler that records "
          "SOURCE_DATE_EPOCH alone")
else()
  message(FATAL_ERROR "the help files compiled in two folders differ (kept in ${WORK_DIR})")
endif()
