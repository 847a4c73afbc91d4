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
struct Champs {
  std::uint64_t significande;
  std::uint16_t exposantBiaise;
  bool negatif;
};

inline Champs champs(Extended v) {
  unsigned char octets[sizeof(Extended)];
  std::memcpy(octets, &v, sizeof v);
  Champs c{};
  std::memcpy(&c.significande, octets, 8);
  std::uint16_t haut = 0;
  std::memcpy(&haut, octets + 8, 2);
  c.exposantBiaise = static_cast<std::uint16_t>(haut & 0x7FFF);
  c.negatif = (haut & 0x8000) != 0;
  return c;
}

// Rounds to an integer in the current rounding mode (nearest, ties to even):
// arrondir(2.5L) == 2, arrondir(3.5L) == 4.
inline Extended arrondir(Extended v) {
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
