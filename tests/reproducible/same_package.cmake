# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DGENERATOR=... -DCXX=...
#       -DBUILD_TYPE=... -DCPACK=... -DDPKG_DEB=...
#       -P same_package.cmake
# Configures a second build folder of SOURCE_DIR, builds what the package
# holds, packs both build folders and requires the same package. On a
# difference it names the files that differ.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
set(second ${WORK_DIR}/another/build/folder)

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${second} -G ${GENERATOR}
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX} -DTALLIX_BUILD_TESTS=OFF
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the second build folder did not configure")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${second} -j 2 --target tallix tallix-keys tallix_help tallix_docs
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the second build folder did not build")
endif()

# Each package's files as "path sha256" lines, and the package's own hash.
function(pack build name)
  execute_process(COMMAND ${CPACK} -G DEB --config ${build}/CPackConfig.cmake -B ${WORK_DIR}/${name}
                  OUTPUT_QUIET RESULT_VARIABLE status)
  file(GLOB deb ${WORK_DIR}/${name}/*.deb)
  if(NOT status EQUAL 0 OR deb STREQUAL "")
    message(FATAL_ERROR "cpack failed in ${build}")
  endif()
  execute_process(COMMAND ${DPKG_DEB} -R ${deb} ${WORK_DIR}/${name}/tree RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
  endif()
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${WORK_DIR}/${name}/tree
       ${WORK_DIR}/${name}/tree/*)
  list(SORT files)
  set(lines)
  foreach(f IN LISTS files)
    if(IS_SYMLINK ${WORK_DIR}/${name}/tree/${f})
      file(READ_SYMLINK ${WORK_DIR}/${name}/tree/${f} target)
      list(APPEND lines "${f} -> ${target}")
    else()
      file(SHA256 ${WORK_DIR}/${name}/tree/${f} hash)
      list(APPEND lines "${f} ${hash}")
    endif()
  endforeach()
  file(SHA256 ${deb} whole)
  set(${name}_lines "${lines}" PARENT_SCOPE)
  set(${name}_deb "${whole}" PARENT_SCOPE)
endfunction()

pack(${BUILD_DIR} first)
pack(${second} second)
list(LENGTH first_lines count)
message(STATUS "${count} files in each package")

set(differing "")
foreach(line IN LISTS first_lines)
  if(NOT line IN_LIST second_lines)
    string(REGEX REPLACE " .*" "" path "${line}")
    list(APPEND differing ${path})
  endif()
endforeach()
foreach(line IN LISTS second_lines)
  string(REGEX REPLACE " .*" "" path "${line}")
  if(NOT line IN_LIST first_lines AND NOT path IN_LIST differing)
    list(APPEND differing ${path})
  endif()
endforeach()

list(SORT differing)
if("${differing}" STREQUAL "" AND first_deb STREQUAL second_deb)
  message(STATUS "the two packages are byte-identical (sha256 ${first_deb})")
  file(REMOVE_RECURSE ${WORK_DIR})
elseif("${differing}" STREQUAL "")
  message(FATAL_ERROR "same files, but the packages differ (dates or order); kept in ${WORK_DIR}")
else()
  string(REPLACE ";" "\n  " differing "${differing}")
  message(FATAL_ERROR "the packages of two build folders differ in:\n  ${differing}\n"
                      "kept in ${WORK_DIR}")
endif()
