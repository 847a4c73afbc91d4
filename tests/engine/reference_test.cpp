// The extended arithmetic and the power tables against MPFR at 64-bit
// precision with the extended format's exponent range and gradual underflow,
// and the round trip of every formatted text. Inputs cross boundary
// exponents with significand patterns, plus seeded random values.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/arithmetic.h"
#include "engine/conversion.h"
#include "engine/error.h"

namespace tallix {
namespace {

bool memesBits(Extended a, Extended b) {
  const Fields x = arith::fieldsOf(a), y = arith::fieldsOf(b);
  return x.significand == y.significand && x.biasedExponent == y.biasedExponent && x.negative == y.negative;
}

// An MPFR number that rounds like the x87 unit with 64-bit precision:
// normal exponents up to 2^16383, denormals down to 2^-16445.
class Reference {
 public:
  Reference() {
    mpfr_set_emin(-16444);
    mpfr_set_emax(16384);
    mpfr_inits2(64, x_, y_, r_, static_cast<mpfr_ptr>(nullptr));
  }
  ~Reference() {
    mpfr_clears(x_, y_, r_, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
  }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;

  // The correctly rounded result, or the fault it meets.
  struct Issue {
    Extended valeur = 0;
    std::optional<ErrorKind> faute;
  };

  template <class F>
  Issue calculer(F f, Extended a, Extended b) {
    mpfr_set_ld(x_, static_cast<long double>(a), MPFR_RNDN);
    mpfr_set_ld(y_, static_cast<long double>(b), MPFR_RNDN);
    mpfr_clear_flags();
    int t = f(r_, x_, y_, MPFR_RNDN);
    t = mpfr_check_range(r_, t, MPFR_RNDN);
    mpfr_subnormalize(r_, t, MPFR_RNDN);
    Issue i;
    if (mpfr_nanflag_p()) i.faute = ErrorKind::EInvalidOp;
    else if (mpfr_overflow_p()) i.faute = ErrorKind::EOverflow;
    else i.valeur = mpfr_get_ld(r_, MPFR_RNDN);
    return i;
  }

  // 10^n rounded once to 64 bits.
  Extended puissanceDix(unsigned n) {
    mpfr_ui_pow_ui(r_, 10, n, MPFR_RNDN);
    return mpfr_get_ld(r_, MPFR_RNDN);
  }

 private:
  mpfr_t x_, y_, r_;
};

TEST(TablesDePuissances, EveryEntryIsTheNearestExtended) {
  Reference ref;
  for (unsigned n = 0; n < 32; ++n) EXPECT_TRUE(memesBits(Puissance10(1, static_cast<int>(n)), ref.puissanceDix(n))) << n;
  for (unsigned j = 1; j < 16; ++j) {
    EXPECT_TRUE(memesBits(Puissance10(1, static_cast<int>(32 * j)), ref.puissanceDix(32 * j))) << 32 * j;
  }
  for (unsigned j = 1; j < 10; ++j) {
    EXPECT_TRUE(memesBits(Puissance10(1, static_cast<int>(512 * j)), ref.puissanceDix(512 * j))) << 512 * j;
  }
}

TEST(TablesDePuissances, ShortTextsWithSmallExponentsReadCorrectlyRounded) {
  Reference ref;
  std::mt19937_64 gen(20240601);
  mpfr_t exact;
  mpfr_init2(exact, 64);
  for (int i = 0; i < 2000; ++i) {
    const std::uint64_t chiffres = gen() % 10000000000000000000ULL;
    const int e = static_cast<int>(gen() % 55) - 27;
    const std::string texte = std::to_string(chiffres) + "E" + std::to_string(e);
    mpfr_strtofr(exact, texte.c_str(), nullptr, 10, MPFR_RNDN);
    EXPECT_TRUE(memesBits(TexteEnNombre(texte, U','), mpfr_get_ld(exact, MPFR_RNDN))) << texte;
  }
  mpfr_clear(exact);
}

// Boundary exponents crossed with significand patterns, both signs.
std::vector<Extended> valeursLimites() {
  const int exposants[] = {-16445, -16440, -16383, -16382, -16381, -8200, -64, -1, 0, 1, 63, 8190, 16381, 16383};
  const std::uint64_t motifs[] = {0x8000000000000000ULL, 0xFFFFFFFFFFFFFFFFULL, 0x8000000000000001ULL,
                                  0xC000000000000000ULL, 0xAAAAAAAAAAAAAAAAULL, 0xFFFFFFFF00000000ULL};
  std::vector<Extended> v = {0.0L, -0.0L};
  for (int e : exposants) {
    for (std::uint64_t m : motifs) {
      // m * 2^(e - 63); ldexpl rounds a denormal result, which is fine: it stays a boundary value.
      const Extended x = ldexpl(static_cast<long double>(m), e - 63);
      v.push_back(x);
      v.push_back(-x);
    }
  }
  return v;
}

Extended auHasard(std::mt19937_64& gen) {
  const std::uint64_t m = gen() | 0x8000000000000000ULL;
  const int e = static_cast<int>(gen() % 32829) - 16445;  // up to 2^16383
  const Extended x = ldexpl(static_cast<long double>(m), e - 63);
  return (gen() & 1) ? -x : x;
}

using Operation = Extended (*)(Extended, Extended);

struct OperationDeReference {
  const char* nom;
  Operation op;
  int (*mpfr)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
};

int racine(mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr, mpfr_rnd_t m) { return mpfr_sqrt(r, x, m); }

const OperationDeReference kOperations[] = {
    {"Additionner", Additionner, mpfr_add},
    {"Soustraire", Soustraire, mpfr_sub},
    {"Multiplier", Multiplier, mpfr_mul},
    {"Diviser", Diviser, mpfr_div},
    {"RacineCarree", RacineCarree, racine},
};

void comparer(Reference& ref, const OperationDeReference& o, Extended a, Extended b, int& echecs) {
  Reference::Issue attendu;
  if (o.op == Diviser && (a == 0 || b == 0)) attendu.valeur = 0;  // the zero guard
  else attendu = ref.calculer(o.mpfr, a, b);
  try {
    const Extended r = o.op(a, b);
    if (attendu.faute || !memesBits(r, attendu.valeur)) {
      if (++echecs <= 10)
        ADD_FAILURE() << o.nom << "(" << static_cast<long double>(a) << ", " << static_cast<long double>(b)
                      << ")";
    }
  } catch (const CalcError& e) {
    if (attendu.faute != e.kind() && ++echecs <= 10) ADD_FAILURE() << o.nom << " faulted " << e.message();
    if (arith::raisedFaults() != 0 && ++echecs <= 10) ADD_FAILURE() << "flags left set";
  }
}

class Arithmetique : public ::testing::TestWithParam<OperationDeReference> {};

TEST_P(Arithmetique, BoundaryExponentsTimesPatterns) {
  Reference ref;
  const auto valeurs = valeursLimites();
  int echecs = 0;
  for (Extended a : valeurs)
    for (Extended b : valeurs) comparer(ref, GetParam(), a, b, echecs);
  EXPECT_EQ(echecs, 0);
}

TEST_P(Arithmetique, SeededRandomValues) {
  Reference ref;
  std::mt19937_64 gen(0x7A111C5);
  int echecs = 0;
  for (int i = 0; i < 30000; ++i) {
    const Extended a = auHasard(gen);
    // Half the pairs are close in magnitude so sums cancel and products stay in range.
    const Extended b = (i & 1) ? auHasard(gen)
                               : a * Extended(ldexpl(1.0L + static_cast<long double>(gen() % 1000) / 999,
                                                     static_cast<int>(gen() % 40) - 20));
    if (arith::isFinite(b)) comparer(ref, GetParam(), a, b, echecs);
  }
  EXPECT_EQ(echecs, 0);
}

INSTANTIATE_TEST_SUITE_P(Mpfr, Arithmetique, ::testing::ValuesIn(kOperations),
                         [](const auto& ligne) { return std::string(ligne.param.nom); });

// Every text the display writes (but INF, -INF, NAN) reads back, and the same
// value always gives the same text.
TEST(AllerRetour, EveryFormattedTextReadsBack) {
  std::mt19937_64 gen(42);
  std::vector<Extended> valeurs = valeursLimites();
  for (int i = 0; i < 20000; ++i) valeurs.push_back(auHasard(gen));
  for (int i = 0; i < 20000; ++i) {
    // Values a person meets: a few digits, modest exponents.
    valeurs.push_back(static_cast<Extended>(static_cast<std::int64_t>(gen() % 2000001) - 1000000) *
                      Puissance10(1, static_cast<int>(gen() % 41) - 20));
  }
  int echecs = 0;
  for (Extended v : valeurs) {
    for (DecimalMode mode : {DecimalMode::Toutes, DecimalMode::Deux, DecimalMode::Quatre}) {
      for (char32_t sep : {U',', U'.'}) {
        const std::string t = TexteResultat(v, mode, sep, sep);
        if (t != TexteResultat(v, mode, sep, sep) && ++echecs <= 10) ADD_FAILURE() << "not deterministic: " << t;
        try {
          TexteEnNombre(t, sep);
          TexteEnNombre(NombreEnTexteFixe(v, decimalsOf(mode), sep), sep);
        } catch (const CalcError& e) {
          if (++echecs <= 10) ADD_FAILURE() << e.message();
        }
      }
    }
  }
  EXPECT_EQ(echecs, 0);
}

TEST(AllerRetour, EighteenDigitTextsReadBackToTheSameText) {
  std::mt19937_64 gen(7);
  int echecs = 0;
  for (int i = 0; i < 20000; ++i) {
    const Extended v = ldexpl(static_cast<long double>(gen() | 1), static_cast<int>(gen() % 400) - 263);
    const std::string t = TexteResultat(v, DecimalMode::Toutes, U',', U',');
    const std::string relu = TexteResultat(TexteEnNombre(t, U','), DecimalMode::Toutes, U',', U',');
    if (relu != t && ++echecs <= 10) ADD_FAILURE() << t << " -> " << relu;
  }
  EXPECT_EQ(echecs, 0);
}

}  // namespace
}  // namespace tallix
