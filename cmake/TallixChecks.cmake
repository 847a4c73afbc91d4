# The calculator computes in the x87 80-bit extended format: 64-bit significand,
# 15-bit exponent. A toolchain whose long double is anything else (AArch64's
# binary128, MSVC's double) would silently change every last digit, so stop here.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
#include <cfloat>
static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384 && LDBL_MIN_EXP == -16381);
#if !defined(__x86_64__) && !defined(__i386__)
#error not x86
#endif
int main() { return 0; }
]=] TALLIX_HAVE_X87_LONG_DOUBLE)
if(NOT TALLIX_HAVE_X87_LONG_DOUBLE)
  message(FATAL_ERROR
    "Tallix needs long double to be the x87 80-bit extended format (64-bit significand) "
    "on x86 or x86-64. This compiler or architecture (${CMAKE_SYSTEM_PROCESSOR}, "
    "${CMAKE_CXX_COMPILER_ID}) does not provide it.")
endif()
