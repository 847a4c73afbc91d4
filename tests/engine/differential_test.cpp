// The portable backend against the x87 unit, in one program: boundary
// exponents (subnormal, smallest normal, near overflow, 16383) crossed with
// significand patterns (all ones, single bits, alternating), then seeded
// random operands, for every step of the arithmetic interface. Every
// correctly rounded step must give the same ten bytes and the same faults.
// The two x87 steps that are not correctly rounded (fyl2x, f2xm1) and the
// logarithm branch of x^y built on them are held to a bound in units of the
// last place instead; the counts and the largest distances are printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/portable.h"
#include "engine/x87.h"

namespace tallix {
namespace {

namespace x = x87;
namespace p = portable;

// A million random operand sets per step; the sanitizer build, which runs
// every step many times slower, checks a tenth of them (TALLIX_SANITIZE).
#ifdef TALLIX_DIFFERENTIAL_PAIRS
constexpr int kRandomPairs = TALLIX_DIFFERENTIAL_PAIRS;
#else
constexpr int kRandomPairs = 1'000'000;
#endif

struct Outcome {
  Fields bits;
  unsigned faults;
};

bool sameBits(const Fields& a, const Fields& b) {
  return a.significand == b.significand && a.biasedExponent == b.biasedExponent && a.negative == b.negative;
}

std::string describe(const Fields& f) {
  char text[64];
  std::snprintf(text, sizeof text, "%c%04X:%016llX", f.negative ? '-' : '+', f.biasedExponent,
                static_cast<unsigned long long>(f.significand));
  return text;
}

// One step on each backend, from clear faults; the x87 operands are fenced
// after the clear and the result before the test.
template <class X, class P>
std::pair<Outcome, Outcome> both(X onX87, P onPortable) {
  x::clearFaults();
  const x::Value rx = x::fence(onX87());
  const unsigned fx = x::raisedFaults();
  p::clearFaults();
  const p::Value rp = onPortable();
  return {{x::fieldsOf(rx), fx}, {p::fieldsOf(rp), p::raisedFaults()}};
}

// Position of a finite value on the line of extended values, so that two
// neighbours are one apart: subnormals run into the normals without a gap.
__extension__ typedef __int128 Wide;

Wide ordinal(const Fields& f) {
  const Wide magnitude =
      (static_cast<Wide>(f.biasedExponent) << 63) + static_cast<Wide>(f.significand & ~kIntegerBit);
  return f.negative ? -magnitude : magnitude;
}

// Units in the last place between two results (both finite).
double ulpsBetween(const Fields& a, const Fields& b) {
  const Wide d = ordinal(a) - ordinal(b);
  return static_cast<double>(d < 0 ? -d : d);
}

// ---- operands --------------------------------------------------------------

std::vector<Fields> boundaryValues() {
  const int exponents[] = {0, 1, 2, 64, 8191, 16318, 16382, 16383, 16384, 16446, 24574, 32702, 32765, 32766};
  const std::uint64_t patterns[] = {0x8000000000000000ULL, 0xFFFFFFFFFFFFFFFFULL, 0x8000000000000001ULL,
                                    0xC000000000000000ULL, 0xAAAAAAAAAAAAAAAAULL, 0xFFFFFFFF00000000ULL,
                                    0x80000000FFFFFFFFULL, 0xFFFFFFFFFFFFFFFEULL};
  std::vector<Fields> v;
  for (bool negative : {false, true}) {
    v.push_back({0, 0, negative});
    v.push_back({kIntegerBit, kInfiniteExponent, negative});
    for (int e : exponents) {
      for (std::uint64_t m : patterns) {
        // Biased exponent 0 holds the subnormals: no integer bit.
        const std::uint64_t s = e == 0 ? (m & ~kIntegerBit) | 1 : m;
        v.push_back({s, static_cast<std::uint16_t>(e), negative});
      }
    }
    for (int bit = 0; bit < 63; bit += 7) v.push_back({std::uint64_t{1} << bit, 0, negative});
  }
  return v;
}

class Operands {
 public:
  explicit Operands(std::uint64_t seed) : gen_(seed) {}

  // TestFloat's kinds of significand: random, runs of ones or zeros at the
  // bottom, a single bit, all ones.
  std::uint64_t significand() {
    const std::uint64_t r = gen_();
    switch (gen_() % 6) {
      case 0: return kIntegerBit | (~std::uint64_t{0} >> (1 + gen_() % 63));
      case 1: return kIntegerBit | (r & (~std::uint64_t{0} << (gen_() % 64)));
      case 2: return kIntegerBit | (std::uint64_t{1} << (gen_() % 63));
      case 3: return ~std::uint64_t{0};
      default: return kIntegerBit | r;
    }
  }

  // Any finite value, with a fair share of subnormals and of both ends.
  Fields any() {
    const bool negative = (gen_() & 1) != 0;
    switch (gen_() % 8) {
      case 0: return {significand() >> (1 + gen_() % 63), 0, negative};
      case 1: return {significand(), static_cast<std::uint16_t>(1 + gen_() % 80), negative};
      case 2: return {significand(), static_cast<std::uint16_t>(32766 - gen_() % 80), negative};
      case 3: return {significand(), static_cast<std::uint16_t>(16383 - 70 + gen_() % 140), negative};
      default: return {significand(), static_cast<std::uint16_t>(1 + gen_() % 32766), negative};
    }
  }

  // A second operand for a: of any size, close to a (sums that cancel), or
  // sized so that a product or a quotient lands near overflow or underflow.
  Fields partner(const Fields& a) {
    Fields b = any();
    const int e = a.biasedExponent == 0 ? 1 : a.biasedExponent;
    switch (gen_() % 4) {
      case 0: return b;
      case 1: b.biasedExponent = clamp(e + static_cast<int>(gen_() % 130) - 65); return b;
      case 2:
        b.biasedExponent = clamp(2 * 16383 + 16383 - e + static_cast<int>(gen_() % 9) - 4 - 16383);
        return b;
      default: b.biasedExponent = clamp(e - 16383 + 1 + static_cast<int>(gen_() % 130) - 65); return b;
    }
  }

  std::uint64_t raw() { return gen_(); }

 private:
  static std::uint16_t clamp(int e) { return static_cast<std::uint16_t>(std::clamp(e, 1, 32766)); }
  std::mt19937_64 gen_;
};

x::Value onX87(const Fields& f) { return x::fromFields(f.significand, f.biasedExponent, f.negative); }
p::Value onPortable(const Fields& f) { return p::fromFields(f.significand, f.biasedExponent, f.negative); }

// ---- exact steps -------------------------------------------------------------

// Counts and the first few differences of one operation.
struct Tally {
  const char* name;
  long long pairs = 0;
  long long differences = 0;

  // `operands` names the operands, called only for a difference.
  template <class Describe>
  void check(const std::pair<Outcome, Outcome>& r, Describe operands) {
    ++pairs;
    const auto& [ox, op] = r;
    // A fault stops the calculator's step: its value is never used.
    const bool same = ox.faults == op.faults && (ox.faults != 0 || sameBits(ox.bits, op.bits));
    if (same) return;
    if (++differences <= 10) {
      ADD_FAILURE() << name << "(" << operands() << "): x87 " << describe(ox.bits) << " faults " << ox.faults
                    << ", portable " << describe(op.bits) << " faults " << op.faults;
    }
  }
  ~Tally() { std::printf("%-18s %9lld operand sets, %lld differences\n", name, pairs, differences); }
};

using BinaryX = std::function<x::Value(x::Value, x::Value)>;
using BinaryP = std::function<p::Value(p::Value, p::Value)>;

void binaryOperation(const char* name, const BinaryX& fx, const BinaryP& fp, std::uint64_t seed) {
  Tally tally{name};
  const auto check = [&](const Fields& a, const Fields& b) {
    tally.check(both([&] { return fx(x::fence(onX87(a)), x::fence(onX87(b))); },
                     [&] { return fp(onPortable(a), onPortable(b)); }),
                [&] { return describe(a) + ", " + describe(b); });
  };
  const auto limits = boundaryValues();
  for (const Fields& a : limits)
    for (const Fields& b : limits) check(a, b);
  Operands gen(seed);
  for (int i = 0; i < kRandomPairs; ++i) {
    const Fields a = gen.any();
    check(a, gen.partner(a));
  }
  EXPECT_EQ(tally.differences, 0);
}

TEST(Differential, Addition) { binaryOperation("add", std::plus<>{}, std::plus<>{}, 1); }
TEST(Differential, Subtraction) { binaryOperation("subtract", std::minus<>{}, std::minus<>{}, 2); }
TEST(Differential, Multiplication) {
  binaryOperation("multiply", std::multiplies<>{}, std::multiplies<>{}, 3);
}
TEST(Differential, Division) { binaryOperation("divide", std::divides<>{}, std::divides<>{}, 4); }

using UnaryX = x::Value (*)(x::Value);
using UnaryP = p::Value (*)(p::Value);

void unaryOperation(const char* name, UnaryX fx, UnaryP fp, std::uint64_t seed) {
  Tally tally{name};
  const auto check = [&](const Fields& a) {
    tally.check(both([&] { return fx(x::fence(onX87(a))); }, [&] { return fp(onPortable(a)); }),
                [&] { return describe(a); });
  };
  for (const Fields& a : boundaryValues()) check(a);
  Operands gen(seed);
  for (int i = 0; i < kRandomPairs; ++i) check(gen.any());
  EXPECT_EQ(tally.differences, 0);
}

TEST(Differential, SquareRoot) { unaryOperation("square root", x::squareRoot, p::squareRoot, 5); }
TEST(Differential, RoundToInteger) {
  unaryOperation("round to integer", x::roundToInteger, p::roundToInteger, 6);
}
TEST(Differential, Truncation) { unaryOperation("truncate", x::truncated, p::truncated, 7); }
TEST(Differential, TimesLog2e) { unaryOperation("times log2 e", x::timesLog2e, p::timesLog2e, 8); }

TEST(Differential, ScaleByPowerOfTwo) {
  Tally tally{"scale by 2^k"};
  Operands gen(9);
  const auto limits = boundaryValues();
  for (int i = 0; i < kRandomPairs + static_cast<int>(limits.size()); ++i) {
    const Fields a = i < static_cast<int>(limits.size()) ? limits[static_cast<std::size_t>(i)] : gen.any();
    // k as x^y forms it: an integer, mostly within the format's reach.
    const auto k = static_cast<std::int64_t>(gen.raw() % 70000) - 35000;
    tally.check(both([&] { return x::scaleByPowerOfTwo(x::fence(onX87(a)), x::fromInt64(k)); },
                     [&] { return p::scaleByPowerOfTwo(onPortable(a), p::fromInt64(k)); }),
                [&] { return describe(a) + ", " + std::to_string(k); });
  }
  EXPECT_EQ(tally.differences, 0);
}

TEST(Differential, ComparisonsAndIntegers) {
  Operands gen(10);
  long long differences = 0;
  const auto limits = boundaryValues();
  for (int i = 0; i < kRandomPairs; ++i) {
    const Fields a = i < static_cast<int>(limits.size()) ? limits[static_cast<std::size_t>(i)] : gen.any();
    const Fields b = (i & 3) == 0   ? a
                     : (i & 3) == 1 ? Fields{a.significand, a.biasedExponent, !a.negative}
                                    : gen.partner(a);
    const x::Value ax = onX87(a), bx = onX87(b);
    const p::Value ap = onPortable(a), bp = onPortable(b);
    const bool same = (ax < bx) == (ap < bp) && (ax == bx) == (ap == bp) && (ax > bx) == (ap > bp) &&
                      (ax <= bx) == (ap <= bp) && x::isFinite(ax) == p::isFinite(ap) &&
                      sameBits(x::fieldsOf(x::abs(ax)), p::fieldsOf(p::abs(ap))) &&
                      sameBits(x::fieldsOf(-ax), p::fieldsOf(-ap));
    // Integers to values and back, as the digit accumulator and the 18
    // digits of a decimal form use them.
    const std::uint64_t n = gen.raw() >> (gen.raw() % 64);
    const auto m = static_cast<std::int64_t>(gen.raw()) >> (gen.raw() % 64);
    const bool sameIntegers = sameBits(x::fieldsOf(x::fromUint64(n)), p::fieldsOf(p::fromUint64(n))) &&
                              sameBits(x::fieldsOf(x::fromInt64(m)), p::fieldsOf(p::fromInt64(m))) &&
                              p::toUint64(p::fromUint64(n)) == n && p::toInt64(p::fromInt64(m)) == m;
    if ((!same || !sameIntegers) && ++differences <= 10) {
      ADD_FAILURE() << describe(a) << " vs " << describe(b) << ", integers " << n << " " << m;
    }
  }
  std::printf("%-18s %9d operand sets, %lld differences\n", "compare, integers", kRandomPairs, differences);
  EXPECT_EQ(differences, 0);
}

// ---- the logarithm branch ----------------------------------------------------

// The largest distance seen, against the bound.
struct Spread {
  const char* name;
  long long sets = 0;
  long long faulted = 0;  // the same fault on both
  long long differing = 0;
  double worst = 0;        // ulps
  double worstScaled = 0;  // ulps / (1 + |t|), for the branch

  void add(double ulps, double scaled) {
    ++sets;
    if (ulps > 0) ++differing;
    worst = std::max(worst, ulps);
    worstScaled = std::max(worstScaled, scaled);
  }
  ~Spread() {
    std::printf(
        "%-18s %9lld operand sets (%lld the same fault), %lld differ in the last bits, at most %.0f ulps"
        " (%.2f ulps per 1+|t|)\n",
        name, sets, faulted, differing, worst, worstScaled);
  }
};

// fyl2x and f2xm1 against their correctly rounded forms: within one unit.
TEST(Differential, LogarithmStepsWithinOneUnit) {
  Operands gen(11);
  Spread ln{"ln (fyl2x)"};
  Spread exp{"2^f - 1 (f2xm1)"};
  long long faultDifferences = 0;
  for (int i = 0; i < kRandomPairs; ++i) {
    Fields a = gen.any();
    if (i % 10 != 0) a.negative = false;  // a tenth are negative: invalid on both
    auto [ox, op] =
        both([&] { return x::naturalLog(x::fence(onX87(a))); }, [&] { return p::naturalLog(onPortable(a)); });
    if (ox.faults != op.faults)
      ++faultDifferences;
    else if (ox.faults == 0)
      ln.add(ulpsBetween(ox.bits, op.bits), 0);
    else
      ++ln.sets, ++ln.faulted;

    // f as x^y forms it: |f| <= 1/2, down to the subnormals.
    Fields f = gen.any();
    f.biasedExponent = static_cast<std::uint16_t>(f.biasedExponent % 16382);
    if (f.biasedExponent == 0) f.significand &= ~kIntegerBit;
    auto [ex, ep] = both([&] { return x::twoToTheMinusOne(x::fence(onX87(f))); },
                         [&] { return p::twoToTheMinusOne(onPortable(f)); });
    if (ex.faults != ep.faults)
      ++faultDifferences;
    else
      exp.add(ulpsBetween(ex.bits, ep.bits), 0);
  }
  EXPECT_EQ(faultDifferences, 0);
  EXPECT_LE(ln.worst, 1);
  EXPECT_LE(exp.worst, 1);
}

// e^(b ln a) by the calculator's steps, stopping at the first fault: ln a,
// x = b ln a, t = x log2 e, k = round(t), f = t - k, (2^f - 1) + 1, scaled
// by 2^k. Same code for both backends.
template <class V, class Ops>
Outcome logBranch(V a, V b, double& t) {
  Ops::clear();
  unsigned faults = 0;
  const auto step = [&](V v) {
    v = Ops::fence(v);
    faults = Ops::faults();
    return v;
  };
  const V ln = step(Ops::ln(Ops::fence(a)));
  if (faults) return {{}, faults};
  const V xv = step(Ops::fence(b) * ln);
  if (faults) return {{}, faults};
  const V tv = step(Ops::log2e(xv));
  if (faults) return {{}, faults};
  t = static_cast<double>(static_cast<long double>(tv));
  const V k = step(Ops::round(tv));
  const V f = step(tv - k);
  const V p1 = step(Ops::exp2m1(f) + V(1));
  if (faults) return {{}, faults};
  const V r = step(Ops::scale(p1, k));
  return {Ops::fields(r), faults};
}

struct X87Ops {
  static void clear() { x::clearFaults(); }
  static unsigned faults() { return x::raisedFaults(); }
  static x::Value fence(x::Value v) { return x::fence(v); }
  static x::Value ln(x::Value v) { return x::naturalLog(v); }
  static x::Value log2e(x::Value v) { return x::timesLog2e(v); }
  static x::Value round(x::Value v) { return x::roundToInteger(v); }
  static x::Value exp2m1(x::Value v) { return x::twoToTheMinusOne(v); }
  static x::Value scale(x::Value v, x::Value k) { return x::scaleByPowerOfTwo(v, k); }
  static Fields fields(x::Value v) { return x::fieldsOf(v); }
};

struct PortableOps {
  static void clear() { p::clearFaults(); }
  static unsigned faults() { return p::raisedFaults(); }
  static p::Value fence(p::Value v) { return v; }
  static p::Value ln(p::Value v) { return p::naturalLog(v); }
  static p::Value log2e(p::Value v) { return p::timesLog2e(v); }
  static p::Value round(p::Value v) { return p::roundToInteger(v); }
  static p::Value exp2m1(p::Value v) { return p::twoToTheMinusOne(v); }
  static p::Value scale(p::Value v, p::Value k) { return p::scaleByPowerOfTwo(v, k); }
  static Fields fields(p::Value v) { return p::fieldsOf(v); }
};

// The branch's result moves with its exponent t = b log2 a: fyl2x's unit in
// the last place of ln a moves x = b ln a and t by up to three units of their
// own last place (with the two roundings after it), that is by 3 |t| 2^-63,
// and the result by ln 2 times as much relatively, up to 2 units of its last
// place each; f2xm1's unit and the last roundings add a few more. So the two
// backends agree within 5 (1 + |t|) units in the last place: 10 units for a
// result near 1, 2^16.3 units (the last 17 bits) at the edge of the range,
// where the x87 steps themselves are as far from the exact power.
double logBranchBound(double t) { return 5 * (1 + std::abs(t)); }

TEST(Differential, LogarithmBranchWithinTheBound) {
  Operands gen(12);
  Spread spread{"x^y log branch"};
  long long outside = 0;
  while (spread.sets < kRandomPairs) {
    // A positive base of any size, and an exponent that puts t anywhere from
    // tiny to beyond the format's range (those overflow or vanish on both).
    Fields af = gen.any();
    af.negative = false;
    const long double a = static_cast<long double>(onX87(af));
    const long double log2a = std::log2(a);
    if (log2a == 0) continue;
    const long double scale = std::ldexp(1.0L, static_cast<int>(gen.raw() % 30) - 16);
    const long double target =
        (static_cast<long double>(gen.raw() % 2000001) - 1000000) / 1000000 * scale * 1024;
    const long double b = target / log2a;
    if (!std::isfinite(b) || b == 0) continue;
    const Fields bf = x::fieldsOf(b);
    double tx = 0, tp = 0;
    const Outcome ox = logBranch<x::Value, X87Ops>(onX87(af), onX87(bf), tx);
    const Outcome op = logBranch<p::Value, PortableOps>(onPortable(af), onPortable(bf), tp);
    if (ox.faults != op.faults || ox.faults != 0) {
      ++spread.sets, ++spread.faulted;
      // Only a result at the very edge of the range may overflow on one side.
      if (ox.faults != op.faults && ++outside <= 10) {  // none seen
        ADD_FAILURE() << "faults " << ox.faults << " vs " << op.faults << " for " << describe(af) << " ^ "
                      << describe(bf);
      }
      continue;
    }
    const double ulps = ulpsBetween(ox.bits, op.bits);
    spread.add(ulps, ulps / (1 + std::abs(tx)));
    if (ulps > logBranchBound(tx) && ++outside <= 10) {
      ADD_FAILURE() << ulps << " ulps for t = " << tx << ": " << describe(af) << " ^ " << describe(bf);
    }
  }
  EXPECT_EQ(outside, 0);
}

}  // namespace
}  // namespace tallix
