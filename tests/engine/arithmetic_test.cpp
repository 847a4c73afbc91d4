// The nine computations: results, the fault each input meets, and clear
// status flags after every fault.

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <optional>

#include "engine/arithmetic.h"
#include "engine/conversion.h"
#include "engine/error.h"

namespace tallix {
namespace {

using Operation = Extended (*)(Extended, Extended);

struct Calcul {
  const char* nom;
  Operation op;
  Extended a;
  Extended b;
  std::optional<Extended> resultat;  // empty when a fault is expected
  ErrorKind faute = ErrorKind::Exception;
};

void PrintTo(const Calcul& c, std::ostream* os) { *os << c.nom; }

Calcul ok(const char* nom, Operation op, Extended a, Extended b, Extended r) { return {nom, op, a, b, r}; }
Calcul ko(const char* nom, Operation op, Extended a, Extended b, ErrorKind k) { return {nom, op, a, b, {}, k}; }

constexpr auto kInvalide = ErrorKind::EInvalidOp;
constexpr auto kZero = ErrorKind::EZeroDivide;
constexpr auto kDebordement = ErrorKind::EOverflow;

const Calcul kCalculs[] = {
    ok("keep_b", NeRienCalculer, 3, 4, 4),
    ok("keep_a_when_b_is_zero", NeRienCalculer, 3, -0.0L, 3),
    ok("add", Additionner, 2, 3, 5),
    ko("add_beyond_range", Additionner, arith::kLargest, arith::kLargest, kDebordement),
    ok("subtract", Soustraire, 2, 3, -1),
    ko("subtract_beyond_range", Soustraire, -arith::kLargest, arith::kLargest, kDebordement),
    ok("multiply", Multiplier, 6, 7, 42),
    ok("multiply_underflows_silently", Multiplier, 1e-4000L, 1e-4000L, 0),
    ok("multiply_into_subnormal", Multiplier, 0x1p-10000L, 0x1p-6400L, 0x1p-16400L),
    ko("multiply_beyond_range", Multiplier, 1e3000L, 1e3000L, kDebordement),
    ok("divide", Diviser, 1, 4, 0.25L),
    ok("divide_by_zero_gives_zero", Diviser, 1, 0, 0),
    ok("divide_by_negative_zero_gives_zero", Diviser, 1, -0.0L, 0),
    ok("divide_zero", Diviser, 0, 5, 0),
    ko("divide_beyond_range", Diviser, 1e4000L, 1e-4000L, kDebordement),
    ok("percentage", PourcentageValeur, 200, 15, 30),
    ko("percentage_product_overflows", PourcentageValeur, 1e4932L, 50, kDebordement),
    ok("root", RacineCarree, 16, 99, 4),
    ok("root_of_zero", RacineCarree, 0, 0, 0),
    ko("root_of_negative", RacineCarree, -4, 0, kInvalide),
    ok("square", PuissanceCarree, -3, 99, 9),
    ko("square_beyond_range", PuissanceCarree, 1e2467L, 0, kDebordement),
    ok("power_zero_exponent", XPowerY, 5, 0, 1),
    ok("power_zero_to_zero", XPowerY, 0, 0, 1),
    ok("power_zero_base", XPowerY, 0, 5, 0),
    ok("power_two_ten", XPowerY, 2, 10, 1024),
    ok("power_negative_base_odd", XPowerY, -8, 3, -512),
    ok("power_negative_base_negative_exponent", XPowerY, -2, -3, -0.125L),
    ok("power_one_huge_integral_exponent", XPowerY, 1, 3e9L, 1),
    ok("power_largest_int_exponent", XPowerY, 1, 2147483647, 1),
    ok("power_ten_minus_5000_5_underflows", XPowerY, 10, -5000.5L, 0),
    ok("power_half_exponent_of_four", XPowerY, 4, 0.5L, 2),
    ok("power_underflow_to_zero_by_squares", XPowerY, 0.5L, 20000, 0),
    ko("power_zero_negative_integral", XPowerY, 0, -2, kZero),
    ko("power_zero_negative_fraction", XPowerY, 0, -0.5L, kZero),
    ko("power_negative_zero_negative_fraction", XPowerY, -0.0L, -0.5L, kZero),
    ko("power_reciprocal_of_underflow", XPowerY, 0.5L, -20000, kZero),
    ko("power_ten_minus_5000_overflows_first", XPowerY, 10, -5000, kDebordement),
    ko("power_beyond_range", XPowerY, 10, 5000, kDebordement),
    ko("power_log_branch_beyond_range", XPowerY, 10, 5000.5L, kDebordement),
    ko("power_exponent_product_beyond_range", XPowerY, 1e4000L, 1e4930L, kDebordement),
    ko("power_negative_base_fraction", XPowerY, -8, 0.5L, kInvalide),
    ko("power_negative_base_huge_integral", XPowerY, -2, 3e9L, kInvalide),
    ko("power_negative_base_int_min", XPowerY, -1, -2147483648.0L, kInvalide),
};

class Table : public ::testing::TestWithParam<Calcul> {};

TEST_P(Table, ResultOrFaultThenClearFlags) {
  const Calcul& c = GetParam();
  arith::clearFaults();
  if (c.resultat) {
    const Extended r = c.op(c.a, c.b);
    EXPECT_EQ(r, *c.resultat);
  } else {
    try {
      const Extended r = c.op(c.a, c.b);
      ADD_FAILURE() << "no fault, result " << static_cast<long double>(r);
    } catch (const CalcError& e) {
      EXPECT_EQ(e.kind(), c.faute) << e.message();
      EXPECT_EQ(arith::raisedFaults(), 0u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, Table, ::testing::ValuesIn(kCalculs),
                         [](const auto& ligne) { return std::string(ligne.param.nom); });

TEST(Puissance, SquareRootOfTwoWithinTheLastBits) {
  const Extended r = XPowerY(2, 0.5L);
  EXPECT_LE(arith::abs(r - Extended(sqrtl(2.0L))), Extended(0x1p-61L)) << "4 units of the last place";
}

TEST(Puissance, LogBranchIsCloseToTheLibrary) {
  for (const auto& [a, b] : {std::pair{2.0L, 0.3L}, {10.0L, -3.7L}, {0.5L, 100.25L}, {7.0L, 1234.5L}}) {
    const Extended r = XPowerY(a, b);
    EXPECT_LE(arith::abs(r / Extended(powl(a, b)) - 1), Extended(1e-15L))
        << static_cast<double>(a) << "^" << static_cast<double>(b);
  }
}

TEST(Puissance, IntegerBranchMultipliesOnlyWhatItNeeds) {
  // 10^4000 would overflow if a squaring followed the highest bit of 4000.
  EXPECT_LE(arith::abs(XPowerY(10, 4000) / TexteEnNombre("1E4000", U',') - 1), Extended(1e-16L));
  EXPECT_EQ(XPowerY(3, 40), 12157665459056928801.0L);
  EXPECT_EQ(XPowerY(-1, -2147483647), -1);
}

// Raises all three faults outside any computation, as a stray step would.
[[gnu::noipa]] void raiseStaleFaults(Extended zero, Extended largest) {
  arith::fence(zero / zero);
  arith::fence(largest / zero);
  arith::fence(largest * largest);
}

TEST(Drapeaux, StaleFlagsDoNotFaultAndFaultsLeaveNone) {
  raiseStaleFaults(0, arith::kLargest);
  EXPECT_EQ(arith::raisedFaults(), unsigned{kInvalid | kDivisionByZero | kOverflow});
  EXPECT_EQ(Additionner(1, 2), 3);
  EXPECT_THROW(RacineCarree(-1, 0), CalcError);
  EXPECT_EQ(arith::raisedFaults(), 0u);
  EXPECT_EQ(Multiplier(2, 3), 6) << "the next operation starts clean";
}

TEST(Drapeaux, TrapsStayMasked) {
  EXPECT_THROW(Multiplier(arith::kLargest, 2), CalcError);
#if !defined(__x86_64__) && !defined(__i386__)
  GTEST_SKIP() << "the x87 control word exists on x86 only";
#else
  std::fenv_t env;
  std::fegetenv(&env);
  EXPECT_EQ(env.__control_word & 0x3F, 0x3F) << "every x87 exception masked";
  EXPECT_EQ(env.__control_word & 0x0F00, 0x0300) << "64-bit precision, round to nearest";
#endif
}

}  // namespace
}  // namespace tallix
