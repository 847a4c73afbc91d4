#pragma once
// The portable backend of the arithmetic: the IEEE 754 double-extended
// format (64-bit significand, 15-bit exponent, subnormals, round to nearest
// with ties to even) computed in software with GNU MPFR, on any processor.
// A Value holds the ten bytes of the format itself; every step is correctly
// rounded to them, and the faults are kept per thread like the x87 unit's
// status flags. Same functions, same bits as the x87 backend (engine/x87.h),
// but for the logarithm branch of x^y, whose x87 steps are not correctly
// rounded.

#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>

#include "engine/extended_format.h"

namespace tallix::portable {

inline constexpr const char* kName = "portable";

class Value {
 public:
  constexpr Value() = default;  // +0
  // Exact from any integer of up to 64 bits: Value(10) == fromFields(0xA000000000000000, 16386).
  template <std::integral T>
  constexpr Value(T n) {  // NOLINT: implicit, like the built-in type
    const bool negative = n < 0;
    const auto magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    if (magnitude == 0) {
      signAndExponent_ = negative ? 0x8000 : 0;
      return;
    }
    const int zeros = std::countl_zero(magnitude);
    significand_ = magnitude << zeros;
    signAndExponent_ = static_cast<std::uint16_t>((kExponentBias + 63 - zeros) | (negative ? 0x8000 : 0));
  }
  // The host's long double, rounded to the format (exact where long double
  // is the x87 format or binary128 holds it). For the code around the
  // engine: tests, benchmarks, the About window's figures. The engine itself
  // never uses long double here.
  Value(long double v);  // NOLINT: implicit, so literals such as 0.1L read as they do on x87
  explicit operator long double() const;

  static constexpr Value fromFields(std::uint64_t significand, std::uint16_t biasedExponent, bool negative) {
    Value v;
    v.significand_ = significand;
    v.signAndExponent_ = static_cast<std::uint16_t>(biasedExponent | (negative ? 0x8000 : 0));
    return v;
  }
  constexpr Fields fields() const {
    return {significand_, static_cast<std::uint16_t>(signAndExponent_ & 0x7FFF),
            (signAndExponent_ & 0x8000) != 0};
  }

  constexpr Value operator-() const {
    return fromFields(significand_, fields().biasedExponent, !fields().negative);
  }
  constexpr Value operator+() const { return *this; }

  friend Value operator+(Value a, Value b);
  friend Value operator-(Value a, Value b);
  friend Value operator*(Value a, Value b);
  friend Value operator/(Value a, Value b);
  Value& operator+=(Value b) { return *this = *this + b; }
  Value& operator-=(Value b) { return *this = *this - b; }
  Value& operator*=(Value b) { return *this = *this * b; }
  Value& operator/=(Value b) { return *this = *this / b; }

  // IEEE comparison: -0 == +0, a NaN is unordered. Never a fault.
  friend std::partial_ordering operator<=>(Value a, Value b);
  friend bool operator==(Value a, Value b) { return (a <=> b) == 0; }

 private:
  std::uint64_t significand_ = 0;
  std::uint16_t signAndExponent_ = 0;
};

constexpr Value fromFields(std::uint64_t significand, std::uint16_t biasedExponent, bool negative = false) {
  return Value::fromFields(significand, biasedExponent, negative);
}
constexpr Fields fieldsOf(Value v) { return v.fields(); }

inline constexpr Value kLargest = fromFields(0xFFFFFFFFFFFFFFFFULL, 0x7FFE);
inline constexpr Value kInfinity = fromFields(kIntegerBit, kInfiniteExponent);

inline Value fromUint64(std::uint64_t n) { return Value(n); }
inline Value fromInt64(std::int64_t n) { return Value(n); }
// Truncated toward zero, for 0 <= v < 2^64: toUint64(1e18) == 1000000000000000000.
constexpr std::uint64_t toUint64(Value v) {
  const Fields f = v.fields();
  if (f.biasedExponent < kExponentBias) return 0;
  const int shift = f.biasedExponent - kExponentBias;
  return shift > 63 ? ~std::uint64_t{0} : f.significand >> (63 - shift);
}

// Truncated toward zero, for |v| < 2^63: toInt64(-3.7) == -3.
constexpr std::int64_t toInt64(Value v) {
  const auto magnitude = static_cast<std::int64_t>(toUint64(v.fields().negative ? -v : v));
  return v.fields().negative ? -magnitude : magnitude;
}

constexpr Value abs(Value v) { return fieldsOf(v).negative ? -v : v; }
constexpr bool isFinite(Value v) { return fieldsOf(v).biasedExponent != kInfiniteExponent; }

Value squareRoot(Value a);
Value roundToInteger(Value v);  // nearest, ties to even: 2.5 -> 2, 3.5 -> 4
Value truncated(Value v);       // toward zero: -2.7 -> -2

// The steps of the logarithm branch of x^y, each correctly rounded where the
// x87 unit's are not (fyl2x, f2xm1): same decomposition, last bits may differ.
Value naturalLog(Value a);                  // ln 2 (rounded to 64 bits) * log2 a
Value timesLog2e(Value t);                  // t * log2 e (rounded to 64 bits)
Value twoToTheMinusOne(Value f);            // 2^f - 1
Value scaleByPowerOfTwo(Value p, Value k);  // p * 2^k, k integral

// The faults raised on this thread since the last clear.
void clearFaults();
unsigned raisedFaults();

// The x87 backend's compiler fence; nothing to pin here.
constexpr Value fence(Value v) { return v; }

}  // namespace tallix::portable
