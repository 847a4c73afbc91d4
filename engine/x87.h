#pragma once
// Small x87 helpers shared by the arithmetic and the conversions: the bit
// fields of an extended value, rounding to an integer in the current mode, and
// a fence that keeps the compiler from moving a floating-point step across a
// test of the status flags.

#include <cstdint>
#include <cstring>

#include "engine/extended.h"

namespace tallix::x87 {

// The 15-bit biased exponent, sign and 64-bit significand of an extended value.
struct Fields {
  std::uint64_t significand;
  std::uint16_t biasedExponent;
  bool negative;
};

inline Fields fieldsOf(Extended v) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &v, sizeof v);
  Fields c{};
  std::memcpy(&c.significand, bytes, 8);
  std::uint16_t high = 0;
  std::memcpy(&high, bytes + 8, 2);
  c.biasedExponent = static_cast<std::uint16_t>(high & 0x7FFF);
  c.negative = (high & 0x8000) != 0;
  return c;
}

// Rounds to an integer in the current rounding mode (nearest, ties to even):
// roundToInteger(2.5L) == 2, roundToInteger(3.5L) == 4.
inline Extended roundToInteger(Extended v) {
  asm("frndint" : "+t"(v));
  return v;
}

// Pins a value in a register at this point of the program: the compiler may
// not compute it later, nor compute what uses it earlier, and the "memory"
// clobber orders it against calls such as fetestexcept.
inline Extended fence(Extended v) {
  asm volatile("" : "+t"(v) : : "memory");
  return v;
}

}  // namespace tallix::x87
