# cmake -DCHM_COMPILER=... -DBUILD_SCRIPT=.../chm_build.cmake -DSOURCE_DIR=... -DWORK_DIR=... -P chm_reproducible.cmake
# Builds the help file from the same sources in two folders of different
# names and depths, a moment apart, and fails unless the two files are the
# same bytes. A third build with SOURCE_DATE_EPOCH one second after midnight
# must record that time (1000 ms, big-endian, in the file header) and nothing
# else of the clock.
foreach(var CHM_COMPILER BUILD_SCRIPT SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "chm_reproducible.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
function(build folder)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=SOURCE_DATE_EPOCH ${ARGN}
            ${CMAKE_COMMAND} -DCHM_COMPILER=${CHM_COMPILER} -DSOURCE_DIR=${SOURCE_DIR}
            -DWORK_DIR=${WORK_DIR}/${folder}/work -DPROJECT_FILE=Tallix.hhp
            -DOUTPUT=${WORK_DIR}/${folder}/Tallix.chm -P ${BUILD_SCRIPT}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the help build in ${folder} failed")
  endif()
endfunction()

build(a)
build(somewhere/much/deeper/b)
file(SHA256 ${WORK_DIR}/a/Tallix.chm first)
file(SHA256 ${WORK_DIR}/somewhere/much/deeper/b/Tallix.chm second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two builds of the same help sources differ")
endif()

build(dated SOURCE_DATE_EPOCH=86401)
file(READ ${WORK_DIR}/dated/Tallix.chm stamp OFFSET 16 LIMIT 4 HEX)
if(NOT stamp STREQUAL "000003e8")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH=86401 gave the header time ${stamp}, not 000003e8")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
