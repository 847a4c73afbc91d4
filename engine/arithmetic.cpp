// The nine computations of the operator codes. Every floating-point step
// runs between a clear of the status flags and a test of them; the three
// faults (invalid operation, division by zero, overflow) throw their error
// kind with the flags cleared again, underflow and inexact pass silently. The
// traps stay masked: the flags are read, never trapped on.

#include "engine/arithmetic.h"

#include <climits>
#include <cstdint>

#include "engine/error.h"

namespace tallix {

namespace {

using arith::fence;

void clearFlags() { arith::clearFaults(); }

// Throws the fault raised by the last step, if any, in the order the unit
// would report them when several are set (invalid first).
void throwRaisedFault() {
  const unsigned drapeaux = arith::raisedFaults();
  if (drapeaux == 0) return;
  clearFlags();
  if (drapeaux & kInvalid) throw CalcError::ofKind(ErrorKind::EInvalidOp);
  if (drapeaux & kDivisionByZero) throw CalcError::ofKind(ErrorKind::EZeroDivide);
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

Extended squareRoot(Extended a, Extended) { return arith::squareRoot(a); }

// ln a = ln 2 * log2 a: invalid for a < 0, division by zero for 0.
Extended naturalLog(Extended a, Extended) { return arith::naturalLog(a); }

Extended log2e(Extended t, Extended) { return arith::timesLog2e(t); }

Extended roundStep(Extended t, Extended) { return arith::roundToInteger(t); }

// (2^f - 1), valid for |f| <= 1.
Extended twoToTheMinusOne(Extended f, Extended) { return arith::twoToTheMinusOne(f); }

// p * 2^k: overflow beyond the largest value, silent 0 below the smallest
// denormal.
Extended scaleByPowerOfTwo(Extended p, Extended k) { return arith::scaleByPowerOfTwo(p, k); }

// a^n by square-and-multiply from the lowest bit, with no squaring after the
// highest bit; the reciprocal of a negative power comes last, so 10^-5000
// overflows on 10^5000 and a power that underflowed to 0 divides by zero.
Extended integerPower(Extended a, std::int32_t n) {
  if (n == 0) return Extended(1);
  Extended r = Extended(1);
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
  if (n < 0) r = checkedStep(quotient, Extended(1), r);
  return r;
}

// e^(b ln a) as 2^t, t = b ln a log2 e = k + f with k = round(t), |f| <= 0.5.
Extended expOfLog(Extended a, Extended b) {
  const Extended ln = checkedStep(naturalLog, a, Extended(0));
  const Extended x = checkedStep(product, b, ln);
  const Extended t = checkedStep(log2e, x, Extended(0));
  const Extended k = checkedStep(roundStep, t, Extended(0));
  const Extended f = checkedStep(difference, t, k);
  const Extended p = checkedStep(sum, checkedStep(twoToTheMinusOne, f, Extended(0)), Extended(1));
  return checkedStep(scaleByPowerOfTwo, p, k);
}

}  // namespace

Extended NeRienCalculer(Extended a, Extended b) { return b != Extended(0) ? b : a; }

Extended Additionner(Extended a, Extended b) { return checkedStep(sum, a, b); }

Extended Soustraire(Extended a, Extended b) { return checkedStep(difference, a, b); }

Extended Multiplier(Extended a, Extended b) { return checkedStep(product, a, b); }

Extended Diviser(Extended a, Extended b) {
  if (a == Extended(0)) return Extended(0);
  if (b == Extended(0)) return Extended(0);
  return checkedStep(quotient, a, b);
}

Extended PourcentageValeur(Extended a, Extended b) {
  const Extended produit = checkedStep(product, a, b);
  // 100, a single-precision constant, exact in the extended format.
  return checkedStep(quotient, produit, Extended(100));
}

Extended RacineCarree(Extended a, Extended) { return checkedStep(squareRoot, a, Extended(0)); }

Extended PuissanceCarree(Extended a, Extended) { return checkedStep(product, a, a); }

Extended XPowerY(Extended a, Extended b) {
  if (b == Extended(0)) return Extended(1);
  if (a == Extended(0) && b > Extended(0)) return Extended(0);
  clearFlags();
  const Extended tronque = fence(arith::truncated(fence(b)));
  clearFlags();
  if (b - tronque == Extended(0) && tronque >= Extended(-2147483647) && tronque <= Extended(2147483647)) {
    return integerPower(a, static_cast<std::int32_t>(arith::toInt64(tronque)));
  }
  return expOfLog(a, b);
}

}  // namespace tallix
