# The arithmetic backend: TALLIX_ARITHMETIC=x87 computes with the processor's
# x87 unit (long double must be its 80-bit format, on x86 or x86-64);
# TALLIX_ARITHMETIC=portable computes the same format in software with GNU
# MPFR, on any processor. The default is x87 wherever the unit exists.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
#include <cfloat>
static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384 && LDBL_MIN_EXP == -16381);
#if !defined(__x86_64__) && !defined(__i386__)
#error not x86
#endif
int main() { return 0; }
]=] TALLIX_HAVE_X87_LONG_DOUBLE)
if(TALLIX_HAVE_X87_LONG_DOUBLE)
  set(_tallix_default_arithmetic x87)
else()
  set(_tallix_default_arithmetic portable)
endif()
set(TALLIX_ARITHMETIC ${_tallix_default_arithmetic} CACHE STRING
    "How the 80-bit extended arithmetic is computed: x87 (the processor's unit) or portable (GNU MPFR)")
set_property(CACHE TALLIX_ARITHMETIC PROPERTY STRINGS x87 portable)
if(NOT TALLIX_ARITHMETIC MATCHES "^(x87|portable)$")
  message(FATAL_ERROR "TALLIX_ARITHMETIC must be x87 or portable, not '${TALLIX_ARITHMETIC}'")
endif()
if(TALLIX_ARITHMETIC STREQUAL "x87" AND NOT TALLIX_HAVE_X87_LONG_DOUBLE)
  message(FATAL_ERROR
    "TALLIX_ARITHMETIC=x87 needs long double to be the x87 80-bit extended format (64-bit "
    "significand) on x86 or x86-64, which this compiler or architecture (${CMAKE_SYSTEM_PROCESSOR}, "
    "${CMAKE_CXX_COMPILER_ID}) does not provide. Configure with -DTALLIX_ARITHMETIC=portable.")
endif()
message(STATUS "Tallix arithmetic: ${TALLIX_ARITHMETIC}")
