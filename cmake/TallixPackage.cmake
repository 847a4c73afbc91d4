# The Debian package (cpack -G DEB in the build folder):
# tallix_<version>-1_amd64.deb (_arm64 in the arm64 cross build), with the
# manual pages, the Debian changelog and the machine-readable copyright file
# that Debian's checks ask for. Its file dates are TALLIX_SOURCE_DATE_EPOCH,
# so two builds of one commit give the same package.
include(GNUInstallDirs)

# Manual pages and the changelog are compressed with gzip -9n: no file name
# and no time stamp in the header, so the bytes depend on the text alone.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(_doc_out ${CMAKE_BINARY_DIR}/doc)
set(_compressed)
foreach(entry "doc/tallix.1;man/tallix.1.gz" "doc/tallix-keys.1;man/tallix-keys.1.gz"
              "packaging/changelog;changelog.Debian.gz")
  list(GET entry 0 source)
  list(GET entry 1 target)
  add_custom_command(
    OUTPUT ${_doc_out}/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_doc_out}/man
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${_doc_out}/${target}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${target}")
  list(APPEND _compressed ${_doc_out}/${target})
endforeach()
add_custom_target(tallix_docs ALL DEPENDS ${_compressed})

install(FILES ${_doc_out}/man/tallix.1.gz ${_doc_out}/man/tallix-keys.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_doc_out}/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallix)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tallix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallix)
set(CPACK_PACKAGE_VENDOR "Tallix")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tallix Developers <developers@tallix.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pocket calculator with a French interface, exact in 80-bit precision")
# The extended description, below the summary; cpack indents its lines and
# turns the empty one into the control file's " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tallix is a small desktop calculator with a French interface. It adds,
subtracts, multiplies and divides, takes percentages, square roots, squares
and powers, strictly from left to right, in 80-bit extended precision, and
shows results with all their decimals or rounded to 2 or 4 decimals. The
display can be copied and pasted, and a French help file comes with it.

The package also holds tallix-keys, which drives the same calculator logic
from standard input without a window, for scripts and tests.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALLIX_AUTHOR_URL}")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps. Qt's platform plugins,
# libjpeg and chmlib are loaded at run time, so no linker sees them: name
# them. The X11 plugin is in qt6-qpa-plugins, the native Wayland one in
# qt6-wayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libjpeg62-turbo, libchm1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-wine, qt6-translations-l10n")
# A cross build packages for the toolchain's architecture (arm64 for
# aarch64-linux-gnu), not the machine's; dpkg-shlibdeps then looks the
# libraries up among that architecture's packages (DEB_HOST_ARCH).
set(TALLIX_DEBIAN_ARCHITECTURE "")
if(CMAKE_CROSSCOMPILING)
  find_program(DPKG_ARCHITECTURE_EXECUTABLE dpkg-architecture REQUIRED)
  execute_process(COMMAND ${DPKG_ARCHITECTURE_EXECUTABLE} -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE TALLIX_DEBIAN_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0 OR TALLIX_DEBIAN_ARCHITECTURE STREQUAL "")
    message(FATAL_ERROR "dpkg-architecture knows no Debian architecture for ${CMAKE_LIBRARY_ARCHITECTURE}")
  endif()
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TALLIX_DEBIAN_ARCHITECTURE})
endif()
# cpack reads SOURCE_DATE_EPOCH for the dates of the files it packs; the
# project's date stands in when the caller sets none.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/TallixCPackOptions.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} CONTENT [=[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} OR "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} @TALLIX_SOURCE_DATE_EPOCH@)
endif()
if(NOT "@TALLIX_DEBIAN_ARCHITECTURE@" STREQUAL "")
  set(ENV{DEB_HOST_ARCH} @TALLIX_DEBIAN_ARCHITECTURE@)
endif()
]=] @ONLY)
include(CPack)
