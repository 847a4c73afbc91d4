#pragma once
// The calculator's one number type, the 80-bit extended format, and the one
// place that chooses how it is computed: the build defines
// TALLIX_ARITHMETIC_X87 (the processor's x87 unit, engine/x87.h) or
// TALLIX_ARITHMETIC_PORTABLE (software on GNU MPFR, engine/portable.h).
// Both give the same bits; the engine reaches either through `arith`.

#if defined(TALLIX_ARITHMETIC_X87)
#include "engine/x87.h"
namespace tallix {
namespace arith = x87;
}
#elif defined(TALLIX_ARITHMETIC_PORTABLE)
#include "engine/portable.h"
namespace tallix {
namespace arith = portable;
}
#else
#error "the build chooses the arithmetic: define TALLIX_ARITHMETIC_X87 or TALLIX_ARITHMETIC_PORTABLE"
#endif

namespace tallix {

// Sign bit, 15-bit exponent biased by 16383, 64-bit significand with an
// explicit integer bit. Every operand, intermediate value and result.
using Extended = arith::Value;

// The three display modes of the decimal toggle group; the value is the
// number of decimals the fixed formatting writes (18 = all decimals).
enum class DecimalMode : int { Toutes = 18, Deux = 2, Quatre = 4 };

constexpr int decimalsOf(DecimalMode mode) { return static_cast<int>(mode); }

}  // namespace tallix
