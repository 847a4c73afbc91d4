// The portable backend on GNU MPFR. Each step loads its operands into MPFR
// numbers of 64-bit precision, computes with round to nearest in the
// extended format's exponent range, rounds a tiny result once more to its
// subnormal precision (mpfr_subnormalize), and stores the ten bytes back.
// MPFR's exponent range and flags are per thread: a step sets the range it
// needs and gives the caller's back, and reads MPFR's flags into this
// thread's own fault set. The numbers are reused, never allocated per step.

#include "engine/portable.h"

#include <mpfr.h>

#include <cfloat>
#include <climits>
#include <cstring>

namespace tallix::portable {

namespace {

// 0.1b x 2^e in MPFR's terms: the largest finite value is just below 2^16384,
// the smallest subnormal 2^-16445 is 0.1 x 2^-16444.
constexpr mpfr_exp_t kEmin = -16444;
constexpr mpfr_exp_t kEmax = 16384;
constexpr mpfr_exp_t kNormalEmin = -16381;  // 2^-16382, the smallest normal value

// The constants the x87 unit loads with fldln2 and fldl2e, rounded to nearest.
constexpr Value kLn2 = fromFields(0xB17217F7D1CF79ACULL, 0x3FFE);
constexpr Value kLog2e = fromFields(0xB8AA3B295C17F0BCULL, 0x3FFF);

static_assert(GMP_NUMB_BITS == 64 || GMP_NUMB_BITS == 32, "a 64-bit significand is one or two limbs");

thread_local unsigned faults = 0;

struct Scratch {
  mpfr_t x, y, r, wide;
  Scratch() {
    mpfr_inits2(64, x, y, r, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(wide, 128);
  }
  ~Scratch() { mpfr_clears(x, y, r, wide, static_cast<mpfr_ptr>(nullptr)); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
};

Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

// The extended format's exponent range and clear MPFR flags for one step;
// the caller's range comes back afterwards.
class Step {
 public:
  Step() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
    mpfr_set_emin(kEmin);
    mpfr_set_emax(kEmax);
    mpfr_clear_flags();
  }
  ~Step() {
    mpfr_set_emin(emin_);
    mpfr_set_emax(emax_);
  }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;

 private:
  mpfr_exp_t emin_, emax_;
};

void load(mpfr_ptr m, Value v) {
  const Fields f = fieldsOf(v);
  const int sign = f.negative ? -1 : 1;
  if (f.biasedExponent == kInfiniteExponent) {
    if (f.significand == kIntegerBit)
      mpfr_set_inf(m, sign);
    else
      mpfr_set_nan(m);  // NaNs, pseudo-infinities: an invalid operand
    return;
  }
  std::uint64_t significand = f.significand;
  mpfr_exp_t e = static_cast<mpfr_exp_t>(f.biasedExponent) - (kExponentBias - 1);
  if (f.biasedExponent == 0) {
    if (significand == 0) {
      mpfr_set_zero(m, sign);
      return;
    }
    // Subnormal (or pseudo-denormal): significand x 2^-16445.
    const int zeros = std::countl_zero(significand);
    significand <<= zeros;
    e = kNormalEmin - zeros;
  } else if ((significand & kIntegerBit) == 0) {
    mpfr_set_nan(m);  // an unnormal, which the x87 unit refuses as invalid
    return;
  }
  // Make m a regular number, then write its significand and exponent.
  mpfr_set_ui(m, 1, MPFR_RNDN);
  mp_limb_t* limbs = static_cast<mp_limb_t*>(mpfr_custom_get_significand(m));
  if constexpr (GMP_NUMB_BITS == 64) {
    limbs[0] = static_cast<mp_limb_t>(significand);
  } else {
    limbs[0] = static_cast<mp_limb_t>(significand & 0xFFFFFFFFu);
    limbs[1] = static_cast<mp_limb_t>(significand >> 32);
  }
  mpfr_set_exp(m, e);
  if (f.negative) mpfr_neg(m, m, MPFR_RNDN);
}

// The rounded result of a step (its ternary value t) as ten bytes, the
// step's MPFR flags added to this thread's faults.
Value store(mpfr_ptr m, int t) {
  mpfr_subnormalize(m, t, MPFR_RNDN);
  if (mpfr_nanflag_p()) faults |= kInvalid;
  if (mpfr_divby0_p()) faults |= kDivisionByZero;
  if (mpfr_overflow_p()) faults |= kOverflow;
  const bool negative = mpfr_signbit(m) != 0;
  if (mpfr_nan_p(m))
    return fromFields(0xC000000000000000ULL, kInfiniteExponent, true);  // the x87 default NaN
  if (mpfr_inf_p(m)) return fromFields(kIntegerBit, kInfiniteExponent, negative);
  if (mpfr_zero_p(m)) return fromFields(0, 0, negative);
  const mp_limb_t* limbs = static_cast<const mp_limb_t*>(mpfr_custom_get_significand(m));
  std::uint64_t significand = limbs[0];
  if constexpr (GMP_NUMB_BITS == 32) significand = (std::uint64_t{limbs[1]} << 32) | limbs[0];
  const mpfr_exp_t e = mpfr_get_exp(m);
  if (e >= kNormalEmin) {
    return fromFields(significand, static_cast<std::uint16_t>(e + (kExponentBias - 1)), negative);
  }
  return fromFields(significand >> (kNormalEmin - e), 0, negative);
}

template <int (*Op)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t)>
Value binary(Value a, Value b) {
  Scratch& s = scratch();
  Step step;
  load(s.x, a);
  load(s.y, b);
  return store(s.r, Op(s.r, s.x, s.y, MPFR_RNDN));
}

template <int (*Op)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)>
Value unary(Value a) {
  Scratch& s = scratch();
  Step step;
  load(s.x, a);
  return store(s.r, Op(s.r, s.x, MPFR_RNDN));
}

int roundNearest(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t) { return mpfr_rint(r, x, MPFR_RNDN); }
int roundTowardZero(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t) { return mpfr_rint(r, x, MPFR_RNDZ); }

}  // namespace

Value operator+(Value a, Value b) { return binary<mpfr_add>(a, b); }
Value operator-(Value a, Value b) { return binary<mpfr_sub>(a, b); }
Value operator*(Value a, Value b) { return binary<mpfr_mul>(a, b); }
Value operator/(Value a, Value b) { return binary<mpfr_div>(a, b); }

std::partial_ordering operator<=>(Value a, Value b) {
  const Fields x = a.fields();
  const Fields y = b.fields();
  const auto isNan = [](const Fields& f) {
    return f.biasedExponent == kInfiniteExponent
               ? f.significand != kIntegerBit
               : f.biasedExponent != 0 && (f.significand & kIntegerBit) == 0;
  };
  if (isNan(x) || isNan(y)) return std::partial_ordering::unordered;
  const bool xZero = x.biasedExponent == 0 && x.significand == 0;
  const bool yZero = y.biasedExponent == 0 && y.significand == 0;
  if (xZero && yZero) return std::partial_ordering::equivalent;
  const bool xNegative = x.negative && !xZero;
  const bool yNegative = y.negative && !yZero;
  if (xNegative != yNegative) return xNegative ? std::partial_ordering::less : std::partial_ordering::greater;
  // Same sign: the magnitudes order as (exponent, significand).
  std::strong_ordering magnitude = x.biasedExponent <=> y.biasedExponent;
  if (magnitude == 0) magnitude = x.significand <=> y.significand;
  if (magnitude == 0) return std::partial_ordering::equivalent;
  const bool xBigger = magnitude > 0;
  return xBigger != xNegative ? std::partial_ordering::greater : std::partial_ordering::less;
}

Value::Value(long double v) {
  if constexpr (LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384) {
    // The x87 format itself: the significand, then sign and exponent.
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    *this = fromFields(significand, static_cast<std::uint16_t>(signAndExponent & 0x7FFF),
                       (signAndExponent & 0x8000) != 0);
  } else {
    Scratch& s = scratch();
    Step step;
    const unsigned before = faults;  // a conversion is no step of the calculator
    *this = store(s.r, mpfr_set_ld(s.r, v, MPFR_RNDN));
    faults = before;
  }
}

Value::operator long double() const {
  Scratch& s = scratch();
  mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
  mpfr_set_emin(mpfr_get_emin_min());
  mpfr_set_emax(mpfr_get_emax_max());
  load(s.x, *this);
  const long double r = mpfr_get_ld(s.x, MPFR_RNDN);
  mpfr_set_emin(emin);
  mpfr_set_emax(emax);
  return r;
}

Value squareRoot(Value a) { return unary<mpfr_sqrt>(a); }
Value roundToInteger(Value v) { return unary<roundNearest>(v); }
Value truncated(Value v) { return unary<roundTowardZero>(v); }

Value naturalLog(Value a) {
  // log2 a to 128 bits, then one rounding of its product by the 64-bit ln 2,
  // as fyl2x forms ln 2 * log2 a (correctly rounded but for ties closer than
  // 2^-128, which no extended value meets in practice).
  Scratch& s = scratch();
  Step step;
  load(s.x, a);
  load(s.y, kLn2);
  mpfr_log2(s.wide, s.x, MPFR_RNDN);
  return store(s.r, mpfr_mul(s.r, s.wide, s.y, MPFR_RNDN));
}

Value timesLog2e(Value t) { return binary<mpfr_mul>(t, kLog2e); }

Value twoToTheMinusOne(Value f) { return unary<mpfr_exp2m1>(f); }

Value scaleByPowerOfTwo(Value p, Value k) {
  Scratch& s = scratch();
  Step step;
  load(s.x, p);
  load(s.y, k);
  if (!mpfr_number_p(s.y)) {
    // Not reached by x^y (k is a rounded finite t); fscale's own answers.
    mpfr_set_nan(s.r);
    mpfr_set_nanflag();
    return store(s.r, 0);
  }
  // Beyond +-2^20 the result overflows or vanishes whatever p is.
  long n = mpfr_get_si(s.y, MPFR_RNDZ);
  if (n > (1L << 20)) n = 1L << 20;
  if (n < -(1L << 20)) n = -(1L << 20);
  return store(s.r, mpfr_mul_2si(s.r, s.x, n, MPFR_RNDN));
}

void clearFaults() { faults = 0; }
unsigned raisedFaults() { return faults; }

}  // namespace tallix::portable
