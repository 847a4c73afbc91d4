# The hardening a distribution gives its programs, for an optimised build
# whose caller set no flags of its own (the README's release build, a plain
# cmake -DCMAKE_BUILD_TYPE=Release): position-independent executables, the
# stack protector, fortified libc calls (_FORTIFY_SOURCE needs optimising, so
# never in a Debug build), and full RELRO with immediate binding. A caller who
# passes CXXFLAGS or LDFLAGS (dpkg-buildflags in debian/rules, the fuzz
# preset) keeps exactly the flags given.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

string(STRIP "${CMAKE_CXX_FLAGS}${CMAKE_EXE_LINKER_FLAGS}${CMAKE_SHARED_LINKER_FLAGS}" _given)
if(_given STREQUAL "" AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT TALLIX_SANITIZE)
  add_compile_options(-fstack-protector-strong -fstack-clash-protection -D_FORTIFY_SOURCE=2
                      -Wformat -Werror=format-security)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
    add_compile_options(-fcf-protection)
  endif()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  message(STATUS "Hardened release build: PIE, stack protector, _FORTIFY_SOURCE=2, RELRO, BIND_NOW")
endif()
