# Cross-building for 64-bit ARM Linux (aarch64) on a Debian x86-64 host:
# crossbuild-essential-arm64 gives aarch64-linux-gnu-g++, and the libraries
# are the multiarch :arm64 development packages (dpkg --add-architecture
# arm64), found under /usr/lib/aarch64-linux-gnu. The programs built run
# under qemu-user (qemu-user-static), which is how ctest starts the tests.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Libraries and headers come from the target's folders only; programs (the
# build's host tools: moc, the help compiler) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# pkg-config (used by CMake's find modules) reads the target's .pc files.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Every test and every program the build runs goes through qemu, with the
# dynamic loader and the C library of Debian's libc6:arm64, the ones that
# every other :arm64 library was built against (-L / also overrides any
# QEMU_LD_PREFIX in the environment). The cross toolchain's own copy in
# /usr/aarch64-linux-gnu is only for linking: its loader, from another
# glibc build than libc6:arm64's libc.so.6, hangs in a Qt program's start-up.
find_program(TALLIX_QEMU_AARCH64 qemu-aarch64-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TALLIX_QEMU_AARCH64} -L /)

# Qt's build tools (moc, rcc, uic) are the host's own, from the amd64 Qt.
if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Where Qt's host tools are installed")
endif()
