// The nine computations of the operator codes. Every floating-point step
// runs between a clear of the status flags and a test of them; the three
// faults (invalid operation, division by zero, overflow) throw their error
// kind with the flags cleared again, underflow and inexact pass silently. The
// traps stay masked: the flags are read, never trapped on.

#include "engine/arithmetic.h"

#include <cfenv>
#include <climits>
#include <cstdint>

#include "engine/error.h"
#include "engine/x87.h"

namespace tallix {

namespace {

using x87::fence;

void clearFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

// Throws the fault raised by the last step, if any, in the order the unit
// would report them when several are set (invalid first).
void throwRaisedFault() {
  const int drapeaux = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if (drapeaux == 0) return;
  clearFlags();
  if (drapeaux & FE_INVALID) throw CalcError::ofKind(ErrorKind::EInvalidOp);
  if (drapeaux & FE_DIVBYZERO) throw CalcError::ofKind(ErrorKind::EZeroDivide);
  throw CalcError::ofKind(ErrorKind::EOverflow);
}

// One checked step: the operands are fenced after the flags are cleared so
// the operation cannot be hoisted above the clear, and the result is fenced
// before the test so it cannot sink below it.
template <class Op>
Extended checkedStep(Op op, Extended a, Extended b) {
  clearFlags();
  a = fence(a);
  b = fence(b);
  const Extended r = fence(op(a, b));
  throwRaisedFault();
  return r;
}

Extended sum(Extended a, Extended b) { return a + b; }
Extended difference(Extended a, Extended b) { return a - b; }
Extended product(Extended a, Extended b) { return a * b; }
Extended quotient(Extended a, Extended b) { return a / b; }

Extended squareRoot(Extended a, Extended) {
  asm("fsqrt" : "+t"(a));
  return a;
}

// ln a = ln 2 * log2 a by fyl2x: invalid for a < 0, division by zero for 0.
Extended naturalLog(Extended a, Extended) {
  Extended r;
  asm("fldln2\n\tfxch %%st(1)\n\tfyl2x" : "=t"(r) : "0"(a));
  return r;
}

Extended log2e(Extended t, Extended) {
  asm("fldl2e\n\tfmulp" : "+t"(t));
  return t;
}

Extended roundStep(Extended t, Extended) { return x87::roundToInteger(t); }

// (2^f - 1) by f2xm1, valid for |f| <= 1.
Extended twoToTheMinusOne(Extended f, Extended) {
  asm("f2xm1" : "+t"(f));
  return f;
}

// p * 2^k by fscale: overflow beyond the largest value, silent 0 below the
// smallest denormal.
Extended scaleByPowerOfTwo(Extended p, Extended k) {
  Extended r;
  asm("fscale" : "=t"(r) : "0"(p), "u"(k));
  return r;
}

// a^n by square-and-multiply from the lowest bit, with no squaring after the
// highest bit; the reciprocal of a negative power comes last, so 10^-5000
// overflows on 10^5000 and a power that underflowed to 0 divides by zero.
Extended integerPower(Extended a, std::int32_t n) {
  if (n == 0) return 1.0L;
  Extended r = 1.0L;
  Extended p = a;
  std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  for (;;) {
    const bool bit = (m & 1u) != 0;
    m >>= 1;
    if (bit) {
      r = checkedStep(product, r, p);
      if (m == 0) break;
    }
    p = checkedStep(product, p, p);
  }
  if (n < 0) r = checkedStep(quotient, 1.0L, r);
  return r;
}

// e^(b ln a) as 2^t, t = b ln a log2 e = k + f with k = round(t), |f| <= 0.5.
Extended expOfLog(Extended a, Extended b) {
  const Extended ln = checkedStep(naturalLog, a, 0.0L);
  const Extended x = checkedStep(product, b, ln);
  const Extended t = checkedStep(log2e, x, 0.0L);
  const Extended k = checkedStep(roundStep, t, 0.0L);
  const Extended f = checkedStep(difference, t, k);
  const Extended p = checkedStep(sum, checkedStep(twoToTheMinusOne, f, 0.0L), 1.0L);
  return checkedStep(scaleByPowerOfTwo, p, k);
}

// Truncation toward zero with the rounding control set to chop for that one
// step; the flags it may raise (inexact) are of no interest.
Extended truncated(Extended b) {
  std::uint16_t ancien = 0;
  asm volatile("fnstcw %0" : "=m"(ancien));
  const std::uint16_t coupe = static_cast<std::uint16_t>(ancien | 0x0C00);
  asm volatile("fldcw %0" : : "m"(coupe));
  asm volatile("frndint" : "+t"(b));
  asm volatile("fldcw %0" : : "m"(ancien));
  return b;
}

}  // namespace

Extended NeRienCalculer(Extended a, Extended b) { return b != 0.0L ? b : a; }

Extended Additionner(Extended a, Extended b) { return checkedStep(sum, a, b); }

Extended Soustraire(Extended a, Extended b) { return checkedStep(difference, a, b); }

Extended Multiplier(Extended a, Extended b) { return checkedStep(product, a, b); }

Extended Diviser(Extended a, Extended b) {
  if (a == 0.0L) return 0.0L;
  if (b == 0.0L) return 0.0L;
  return checkedStep(quotient, a, b);
}

Extended PourcentageValeur(Extended a, Extended b) {
  const Extended produit = checkedStep(product, a, b);
  constexpr float cent = 100.0f;
  return checkedStep(quotient, produit, static_cast<Extended>(cent));
}

Extended RacineCarree(Extended a, Extended) { return checkedStep(squareRoot, a, 0.0L); }

Extended PuissanceCarree(Extended a, Extended) { return checkedStep(product, a, a); }

Extended XPowerY(Extended a, Extended b) {
  if (b == 0.0L) return 1.0L;
  if (a == 0.0L && b > 0.0L) return 0.0L;
  clearFlags();
  const Extended tronque = fence(truncated(fence(b)));
  clearFlags();
  if (b - tronque == 0.0L && tronque >= -2147483647.0L && tronque <= 2147483647.0L) {
    return integerPower(a, static_cast<std::int32_t>(tronque));
  }
  return expOfLog(a, b);
}

}  // namespace tallix
