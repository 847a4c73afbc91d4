# cmake -DCHM_COMPILER=... -DSOURCE_DIR=... -DWORK_DIR=... -DPROJECT_FILE=... -DOUTPUT=... -P chm_build.cmake
# Compiles a help project in a scratch copy of its folder with chm_compiler
# and copies the result to OUTPUT, failing unless it produced a non-empty
# file. The file does not depend on the build folder; SOURCE_DATE_EPOCH, when
# set, is the only time it records.
foreach(var CHM_COMPILER SOURCE_DIR WORK_DIR PROJECT_FILE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "chm_build.cmake: ${var} is not set")
  endif()
endforeach()

if(NOT EXISTS ${SOURCE_DIR}/${PROJECT_FILE})
  message(FATAL_ERROR "Help project ${SOURCE_DIR}/${PROJECT_FILE} is missing")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR})
file(STRINGS ${SOURCE_DIR}/${PROJECT_FILE} compiled REGEX "^Compiled file=")
string(REGEX REPLACE "^Compiled file=" "" compiled "${compiled}")
string(STRIP "${compiled}" compiled)
if(compiled STREQUAL "")
  message(FATAL_ERROR "${PROJECT_FILE} names no compiled file")
endif()

execute_process(
  COMMAND ${CHM_COMPILER} ${PROJECT_FILE} ${compiled}
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out)

set(result ${WORK_DIR}/${compiled})
set(size 0)
if(EXISTS ${result})
  file(SIZE ${result} size)
endif()
if(NOT status EQUAL 0 OR size EQUAL 0)
  message(FATAL_ERROR "chm_compiler failed (exit ${status}, ${size} bytes) on ${PROJECT_FILE}:\n${out}")
endif()

get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${result} ${OUTPUT})
