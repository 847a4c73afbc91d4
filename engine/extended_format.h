#pragma once
// What both arithmetic backends share: the fields of the IEEE 754
// double-extended format and the three faults an arithmetic step may raise.

#include <cstdint>

namespace tallix {

// Sign bit, 15-bit exponent biased by 16383, 64-bit significand with an
// explicit integer bit: 10 as {0xA000000000000000, 16386, false}.
struct Fields {
  std::uint64_t significand;
  std::uint16_t biasedExponent;
  bool negative;
};

inline constexpr std::uint16_t kExponentBias = 16383;
inline constexpr std::uint16_t kInfiniteExponent = 0x7FFF;
inline constexpr std::uint64_t kIntegerBit = 0x8000000000000000ULL;

// The faults of a step, as a set of bits; underflow and inexact results are
// not among them. When several are raised, invalid comes first, then
// division by zero, then overflow. The values are the x87 status flags, so
// the x87 backend reads them as they are.
enum Fault : unsigned {
  kNoFault = 0,
  kInvalid = 0x01,
  kDivisionByZero = 0x04,
  kOverflow = 0x08,
};

}  // namespace tallix
