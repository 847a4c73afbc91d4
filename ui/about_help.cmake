# The About window and the context help: their sources, chmlib, and the help
# file Tallix.chm compiled from assets/help/ and laid beside the program.

set(TALLIX_AUTHOR_URL "https://tallix.example.org/" CACHE STRING
    "The author's web site, shown and opened by the About window")
set(TALLIX_COPYRIGHT "© 2026 Les auteurs de Tallix" CACHE STRING
    "The one-line ownership notice of the About window")

find_path(CHM_INCLUDE_DIR chm_lib.h REQUIRED)
find_library(CHM_LIBRARY chm REQUIRED)
find_program(CHMCMD_EXECUTABLE chmcmd REQUIRED)

target_sources(tallix_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chm_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/machine_figures.cpp
)
target_include_directories(tallix_ui PRIVATE ${CHM_INCLUDE_DIR})
target_link_libraries(tallix_ui PRIVATE ${CHM_LIBRARY})
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  "TALLIX_AUTHOR_URL=\"${TALLIX_AUTHOR_URL}\"" "TALLIX_COPYRIGHT=\"${TALLIX_COPYRIGHT}\"")
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/assets/about/calculette.xpm
  ${PROJECT_SOURCE_DIR}/assets/about/porte.xpm
  ${PROJECT_SOURCE_DIR}/assets/about/porte_grisee.xpm)

# The help file. chmcmd reports success on a missing project and leaves an
# empty file behind on a broken one, so the script checks what came out.
set(TALLIX_HELP_SOURCES_DIR ${PROJECT_SOURCE_DIR}/assets/help)
set(TALLIX_HELP_FILE ${CMAKE_BINARY_DIR}/app/Tallix.chm)
file(GLOB TALLIX_HELP_SOURCES CONFIGURE_DEPENDS ${TALLIX_HELP_SOURCES_DIR}/*)
add_custom_command(
  OUTPUT ${TALLIX_HELP_FILE}
  COMMAND ${CMAKE_COMMAND}
          -DCHMCMD=${CHMCMD_EXECUTABLE}
          -DSOURCE_DIR=${TALLIX_HELP_SOURCES_DIR}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/help
          -DPROJECT_FILE=Tallix.hhp
          -DOUTPUT=${TALLIX_HELP_FILE}
          -P ${CMAKE_CURRENT_LIST_DIR}/chm_build.cmake
  DEPENDS ${TALLIX_HELP_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/chm_build.cmake
  COMMENT "Compiling the help file Tallix.chm"
  VERBATIM)
add_custom_target(tallix_help ALL DEPENDS ${TALLIX_HELP_FILE})
add_dependencies(tallix_ui tallix_help)
install(FILES ${TALLIX_HELP_FILE} DESTINATION lib/tallix)
