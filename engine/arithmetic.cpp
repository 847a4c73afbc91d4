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

void effacerDrapeaux() { std::feclearexcept(FE_ALL_EXCEPT); }

// Throws the fault raised by the last step, if any, in the order the unit
// would report them when several are set (invalid first).
void verifier() {
  const int drapeaux = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if (drapeaux == 0) return;
  effacerDrapeaux();
  if (drapeaux & FE_INVALID) throw CalcError::ofKind(ErrorKind::EInvalidOp);
  if (drapeaux & FE_DIVBYZERO) throw CalcError::ofKind(ErrorKind::EZeroDivide);
  throw CalcError::ofKind(ErrorKind::EOverflow);
}

// One checked step: the operands are fenced after the flags are cleared so
// the operation cannot be hoisted above the clear, and the result is fenced
// before the test so it cannot sink below it.
template <class Op>
Extended etape(Op op, Extended a, Extended b) {
  effacerDrapeaux();
  a = fence(a);
  b = fence(b);
  const Extended r = fence(op(a, b));
  verifier();
  return r;
}

Extended plus(Extended a, Extended b) { return a + b; }
Extended moins(Extended a, Extended b) { return a - b; }
Extended fois(Extended a, Extended b) { return a * b; }
Extended divise(Extended a, Extended b) { return a / b; }

Extended racine(Extended a, Extended) {
  asm("fsqrt" : "+t"(a));
  return a;
}

// ln a = ln 2 * log2 a by fyl2x: invalid for a < 0, division by zero for 0.
Extended logarithme(Extended a, Extended) {
  Extended r;
  asm("fldln2\n\tfxch %%st(1)\n\tfyl2x" : "=t"(r) : "0"(a));
  return r;
}

Extended log2e(Extended t, Extended) {
  asm("fldl2e\n\tfmulp" : "+t"(t));
  return t;
}

Extended arrondi(Extended t, Extended) { return x87::arrondir(t); }

// (2^f - 1) by f2xm1, valid for |f| <= 1.
Extended deuxPuissanceMoinsUn(Extended f, Extended) {
  asm("f2xm1" : "+t"(f));
  return f;
}

// p * 2^k by fscale: overflow beyond the largest value, silent 0 below the
// smallest denormal.
Extended echelle(Extended p, Extended k) {
  Extended r;
  asm("fscale" : "=t"(r) : "0"(p), "u"(k));
  return r;
}

// a^n by square-and-multiply from the lowest bit, with no squaring after the
// highest bit; the reciprocal of a negative power comes last, so 10^-5000
// overflows on 10^5000 and a power that underflowed to 0 divides by zero.
Extended puissanceEntiere(Extended a, std::int32_t n) {
  if (n == 0) return 1.0L;
  Extended r = 1.0L;
  Extended p = a;
  std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  for (;;) {
    const bool bit = (m & 1u) != 0;
    m >>= 1;
    if (bit) {
      r = etape(fois, r, p);
      if (m == 0) break;
    }
    p = etape(fois, p, p);
  }
  if (n < 0) r = etape(divise, 1.0L, r);
  return r;
}

// e^(b ln a) as 2^t, t = b ln a log2 e = k + f with k = round(t), |f| <= 0.5.
Extended exponentielleDuLog(Extended a, Extended b) {
  const Extended ln = etape(logarithme, a, 0.0L);
  const Extended x = etape(fois, b, ln);
  const Extended t = etape(log2e, x, 0.0L);
  const Extended k = etape(arrondi, t, 0.0L);
  const Extended f = etape(moins, t, k);
  const Extended p = etape(plus, etape(deuxPuissanceMoinsUn, f, 0.0L), 1.0L);
  return etape(echelle, p, k);
}

// Truncation toward zero with the rounding control set to chop for that one
// step; the flags it may raise (inexact) are of no interest.
Extended tronquer(Extended b) {
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

Extended Additionner(Extended a, Extended b) { return etape(plus, a, b); }

Extended Soustraire(Extended a, Extended b) { return etape(moins, a, b); }

Extended Multiplier(Extended a, Extended b) { return etape(fois, a, b); }

Extended Diviser(Extended a, Extended b) {
  if (a == 0.0L) return 0.0L;
  if (b == 0.0L) return 0.0L;
  return etape(divise, a, b);
}

Extended PourcentageValeur(Extended a, Extended b) {
  const Extended produit = etape(fois, a, b);
  constexpr float cent = 100.0f;
  return etape(divise, produit, static_cast<Extended>(cent));
}

Extended RacineCarree(Extended a, Extended) { return etape(racine, a, 0.0L); }

Extended PuissanceCarree(Extended a, Extended) { return etape(fois, a, a); }

Extended XPowerY(Extended a, Extended b) {
  if (b == 0.0L) return 1.0L;
  if (a == 0.0L && b > 0.0L) return 0.0L;
  effacerDrapeaux();
  const Extended tronque = fence(tronquer(fence(b)));
  effacerDrapeaux();
  if (b - tronque == 0.0L && tronque >= -2147483647.0L && tronque <= 2147483647.0L) {
    return puissanceEntiere(a, static_cast<std::int32_t>(tronque));
  }
  return exponentielleDuLog(a, b);
}

}  // namespace tallix
