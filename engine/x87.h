#pragma once
// The x87 backend of the arithmetic: the processor's 80-bit long double and
// its status flags. Every step is one instruction in full extended precision
// (the unit runs with 64-bit precision control, round to nearest); faults are
// read from the status flags, never trapped on. The portable backend
// (engine/portable.h) offers the same functions on the same bits.

#include <bit>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/extended_format.h"

namespace tallix::x87 {

static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "the x87 backend needs long double to be the x87 80-bit extended format");

inline constexpr const char* kName = "x87";

using Value = long double;

namespace detail {
struct Bits {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  std::uint16_t padding[3];
};
static_assert(sizeof(Bits) == sizeof(Value));
}  // namespace detail

// The value with these fields, as a constant: fromFields(0xA000000000000000, 16386) == 10.
constexpr Value fromFields(std::uint64_t significand, std::uint16_t biasedExponent, bool negative = false) {
  const auto se = static_cast<std::uint16_t>(biasedExponent | (negative ? 0x8000 : 0));
  return std::bit_cast<Value>(detail::Bits{significand, se, {0, 0, 0}});
}

inline Fields fieldsOf(Value v) {
  unsigned char bytes[sizeof(Value)];
  std::memcpy(bytes, &v, sizeof v);
  Fields f{};
  std::memcpy(&f.significand, bytes, 8);
  std::uint16_t high = 0;
  std::memcpy(&high, bytes + 8, 2);
  f.biasedExponent = static_cast<std::uint16_t>(high & 0x7FFF);
  f.negative = (high & 0x8000) != 0;
  return f;
}

inline constexpr Value kLargest = LDBL_MAX;
inline constexpr Value kInfinity = HUGE_VALL;

// Exact: every 64-bit integer has an extended value.
inline Value fromUint64(std::uint64_t n) { return static_cast<Value>(n); }
inline Value fromInt64(std::int64_t n) { return static_cast<Value>(n); }
// Truncated toward zero, for 0 <= v < 2^64: toUint64(1e18) == 1000000000000000000.
inline std::uint64_t toUint64(Value v) { return static_cast<std::uint64_t>(v); }
// Truncated toward zero, for |v| < 2^63: toInt64(-3.7) == -3.
inline std::int64_t toInt64(Value v) { return static_cast<std::int64_t>(v); }

inline Value abs(Value v) { return std::fabs(v); }
inline bool isFinite(Value v) { return std::isfinite(v); }

// The correctly rounded square root; invalid below zero.
inline Value squareRoot(Value a) {
  asm("fsqrt" : "+t"(a));
  return a;
}

// Rounds to an integer in the current rounding mode (nearest, ties to even):
// roundToInteger(2.5) == 2, roundToInteger(3.5) == 4.
inline Value roundToInteger(Value v) {
  asm("frndint" : "+t"(v));
  return v;
}

// Truncation toward zero, with the rounding control set to chop for that
// one step: truncated(-2.7) == -2.
inline Value truncated(Value b) {
  std::uint16_t ancien = 0;
  asm volatile("fnstcw %0" : "=m"(ancien));
  const std::uint16_t coupe = static_cast<std::uint16_t>(ancien | 0x0C00);
  asm volatile("fldcw %0" : : "m"(coupe));
  asm volatile("frndint" : "+t"(b));
  asm volatile("fldcw %0" : : "m"(ancien));
  return b;
}

// The steps of the logarithm branch of x^y.
// ln a = ln 2 * log2 a by fyl2x: invalid for a < 0, division by zero for 0.
inline Value naturalLog(Value a) {
  Value r;
  asm("fldln2\n\tfxch %%st(1)\n\tfyl2x" : "=t"(r) : "0"(a));
  return r;
}

// t * log2 e, the constant rounded to 64 bits by fldl2e.
inline Value timesLog2e(Value t) {
  asm("fldl2e\n\tfmulp" : "+t"(t));
  return t;
}

// 2^f - 1 by f2xm1, for |f| <= 1.
inline Value twoToTheMinusOne(Value f) {
  asm("f2xm1" : "+t"(f));
  return f;
}

// p * 2^k by fscale (k integral): overflow beyond the largest value, a
// silent 0 below the smallest subnormal.
inline Value scaleByPowerOfTwo(Value p, Value k) {
  Value r;
  asm("fscale" : "=t"(r) : "0"(p), "u"(k));
  return r;
}

// The status flags: every step since the last clear that raised a fault.
inline void clearFaults() { std::feclearexcept(FE_ALL_EXCEPT); }
static_assert(FE_INVALID == kInvalid && FE_DIVBYZERO == kDivisionByZero && FE_OVERFLOW == kOverflow);
inline unsigned raisedFaults() {
  return static_cast<unsigned>(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW));
}

// Pins a value in a register at this point of the program: the compiler may
// not compute it later, nor compute what uses it earlier, and the "memory"
// clobber orders it against calls such as fetestexcept.
inline Value fence(Value v) {
  asm volatile("" : "+t"(v) : : "memory");
  return v;
}

}  // namespace tallix::x87
