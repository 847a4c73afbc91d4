#pragma once
// The calculator's one number type: the x87 80-bit extended format.

#include <cfloat>

namespace tallix {

// Sign bit, 15-bit exponent biased by 16383, 64-bit significand with an
// explicit integer bit. Every operand, intermediate value and result.
using Extended = long double;

static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "Tallix needs long double to be the x87 80-bit extended format");

// The three display modes of the decimal toggle group; the value is the
// number of decimals the fixed formatting writes (18 = all decimals).
enum class DecimalMode : int { Toutes = 18, Deux = 2, Quatre = 4 };

constexpr int decimalsOf(DecimalMode mode) { return static_cast<int>(mode); }

}  // namespace tallix
