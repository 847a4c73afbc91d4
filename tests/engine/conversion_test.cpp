// Reading and writing numbers: exact texts at the rounding edges, the
// reading rules, the About window's figures and the regional characters.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/conversion.h"
#include "engine/error.h"
#include "engine/regional.h"
#include "engine/utf8.h"

namespace tallix {
namespace {

bool memesBits(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

// The format's largest finite value. LDBL_MAX is it only where long double is
// the x87 format; AArch64's long double goes higher.
const Extended kLargest = arith::fromFields(0xFFFF'FFFF'FFFF'FFFFULL, 0x7FFE, false);

// Replaces ',' by the given separator so one table serves every separator.
std::string avec(std::string texte, char32_t sep) {
  const std::string s = utf8(sep);
  std::string r;
  for (char c : texte) {
    if (c == ',') r += s;
    else r.push_back(c);
  }
  return r;
}

struct Lecture {
  const char* texte;
  Extended attendu;
  bool negatif;
};

class LectureValide : public ::testing::TestWithParam<std::tuple<Lecture, char32_t>> {};

TEST_P(LectureValide, ReadsTheValue) {
  const auto& [cas, sep] = GetParam();
  const std::string texte = avec(cas.texte, sep);
  const Extended v = TexteEnNombre(texte, sep);
  EXPECT_EQ(v, cas.attendu) << texte;
  EXPECT_EQ(arith::fieldsOf(v).negative, cas.negatif) << texte;
}

const Lecture kLectures[] = {
    {" 12 ", 12, false},        {"+5", 5, false},          {"-0", 0, true},
    {",", 0, false},            {"-,", 0, true},           {",5", 0.5L, false},
    {"5,", 5, false},           {"1E5", 1e5L, false},      {"1e5", 1e5L, false},
    {"1E+5", 1e5L, false},      {"1E0005", 1e5L, false},   {"5E", 5, false},
    {"5E-", 5, false},          {"1E500", 1e500L, false},  {"1E-4999", 0, false},
    {"1,1E4932", 1.1e4932L, false}, {"-2,5E-3", -2.5e-3L, true},
    {"12345678901234567890123", 12345678901234567890123.0L, false},
    {"0,1", 0.1L, false},       {"1E0020", 1e20L, false},  {"   -7   ", -7, true},
};

INSTANTIATE_TEST_SUITE_P(Table, LectureValide,
                         ::testing::Combine(::testing::ValuesIn(kLectures), ::testing::Values(U',', U'.')));

class LectureInvalide : public ::testing::TestWithParam<const char*> {};

TEST_P(LectureInvalide, FailsQuotingTheWholeText) {
  const std::string texte = GetParam();
  try {
    TexteEnNombre(texte, U',');
    FAIL() << "read: " << texte;
  } catch (const CalcError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::EConvertError);
    EXPECT_EQ(e.message(), "'" + texte + "' n'est pas une valeur en virgule flottante correcte");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LectureInvalide,
                         ::testing::Values("", " ", "-", "E5", "--5", "- 5", "1 000", "1.5", "1,5,", "INF", "NAN",
                                           "1E5000", "1E-5000", "1,2E4932", "1E4933", "\t5", "5\t", "+-5", "1E5,",
                                           "0x10", "5E+-1", "1,5E2E3"));

TEST(Lecture, SeparatorIsMatchedByItsUtf8Bytes) {
  EXPECT_EQ(TexteEnNombre("1\u202f5", U'\u202f'), 1.5L);
  EXPECT_EQ(TexteEnNombre("1\u066b25", U'\u066b'), 1.25L);
  EXPECT_THROW(TexteEnNombre("1\xe2\x80", U'\u202f'), CalcError);  // a cut sequence
  EXPECT_THROW(TexteEnNombre("1,5", U'\u202f'), CalcError);
  EXPECT_THROW(TexteEnNombre("1,5", 0), CalcError);  // no separator at all
}

TEST(Lecture, NineteenDigitsWithSmallExponentAreCorrectlyRounded) {
  EXPECT_TRUE(memesBits(TexteEnNombre("18446744073709551615", U','), 0x1.fffffffffffffffep+63L)) << "2^64 - 1 is exact";
  EXPECT_TRUE(memesBits(TexteEnNombre("0,1", U','), 0x1.999999999999999999ap-4L));
  EXPECT_TRUE(memesBits(TexteEnNombre("1844674407370955161,5", U','), 1844674407370955161.5L));
}

TEST(Lecture, DigitsBeyondNineteenRoundAtEachStep) {
  // 2^64 + 1 and 2^64 + 3 need 65 bits: the last add rounds, ties to even
  // (to 2^64 and to 2^64 + 4).
  EXPECT_TRUE(memesBits(TexteEnNombre("18446744073709551617", U','), 0x1p64L));
  EXPECT_TRUE(memesBits(TexteEnNombre("18446744073709551619", U','), 18446744073709551620.0L));
  // 21 digits: formed as 18446744073709551615 * 10 + 0, the product rounded
  // to 64 bits (a multiple of 16).
  EXPECT_TRUE(memesBits(TexteEnNombre("184467440737095516150", U','), 184467440737095516144.0L));
}

TEST(Lecture, EndlessDigitStringsOverflowOrUnderflow) {
  const std::string longue(6000, '9');
  EXPECT_THROW(TexteEnNombre(longue, U','), CalcError) << "the accumulation overflows";
  EXPECT_THROW(TexteEnNombre("," + longue, U','), CalcError) << "overflow in the accumulation fails even when scaled back";
  EXPECT_EQ(TexteEnNombre("," + std::string(6000, '0') + "1", U','), 0) << "underflow reads as 0";
}

TEST(Lecture, TenMegabytesEndingInALetterFail) {
  std::string texte(10 * 1024 * 1024, '7');
  texte.back() = 'x';
  EXPECT_THROW(TexteEnNombre(texte, U','), CalcError);
}

// One row of the display table: all decimals, 2 decimals, 4 decimals.
struct Affichage {
  const char* nom;
  Extended v;
  const char* toutes;
  const char* deux;
  const char* quatre;
};

void PrintTo(const Affichage& a, std::ostream* os) { *os << a.nom; }

class TableAffichage : public ::testing::TestWithParam<std::tuple<Affichage, char32_t>> {};

TEST_P(TableAffichage, WritesEachMode) {
  const auto& [cas, sep] = GetParam();
  EXPECT_EQ(TexteResultat(cas.v, DecimalMode::Toutes, sep, sep), avec(cas.toutes, sep));
  EXPECT_EQ(TexteResultat(cas.v, DecimalMode::Deux, sep, sep), avec(cas.deux, sep));
  EXPECT_EQ(TexteResultat(cas.v, DecimalMode::Quatre, sep, sep), avec(cas.quatre, sep));
}

Extended lu(const char* texte) { return TexteEnNombre(texte, U','); }

const Affichage kAffichages[] = {
    {"zero", 0.0L, "0", "0,00", "0,0000"},
    {"negative_zero", -0.0L, "0", "0,00", "0,0000"},
    {"thousand", 1000, "1000", "1000,00", "1000,0000"},
    {"hundred_twenty", 120, "120", "120,00", "120,0000"},
    {"minus_five", -5, "-5", "-5,00", "-5,0000"},
    {"twelve_and_a_half", 12.5L, "12,5", "12,50", "12,5000"},
    {"one_tenth", lu("0,1"), "0,1", "0,10", "0,1000"},
    {"one_eighth", 0.125L, "0,125", "0,13", "0,1250"},
    {"minus_one_eighth", -0.125L, "-0,125", "-0,13", "-0,1250"},
    // One unit in the last place below 0.125 is 0.125 on 18 digits, then a tie.
    {"one_ulp_below_one_eighth", 0x1.fffffffffffffffep-4L, "0,125", "0,13", "0,1250"},
    {"just_below_one_eighth", 0x1.ffffffffffffffp-4L, "0,124999999999999999", "0,12", "0,1250"},
    {"two_675", lu("2,675"), "2,675", "2,68", "2,6750"},
    {"minus_0_004", lu("-0,004"), "-0,004", "0,00", "-0,0040"},
    {"five_e_minus_5", lu("0,00005"), "0,00005", "0,00", "0,0001"},
    {"99_995", lu("99,995"), "99,995", "100,00", "99,9950"},
    {"one_third", 1.0L / 3, "0,333333333333333333", "0,33", "0,3333"},
    {"two_thirds", 2.0L / 3, "0,666666666666666667", "0,67", "0,6667"},
    {"ten_thirds", 10.0L / 3, "3,33333333333333333", "3,33", "3,3333"},
    {"hundred_sevenths", 100.0L / 7, "14,2857142857142857", "14,29", "14,2857"},
    {"eighteen_digits", 123456789012345678.0L, "123456789012345678", "123456789012345678,00",
     "123456789012345678,0000"},
    {"eighteen_digits_and_9_tenths", lu("123456789012345678,9"), "123456789012345679",
     "123456789012345679,00", "123456789012345679,0000"},
    {"eighteen_nines_and_9_tenths", lu("999999999999999999,9"), "1E18", "1E18", "1E0018"},
    {"one_and_a_half_e19", 1.5e19L, "1,5E19", "1,5E19", "1,5E0019"},
    {"minus_one_and_a_half_e19", -1.5e19L, "-1,5E19", "-1,5E19", "-1,5E0019"},
    {"e20", 1e20L, "1E20", "1E20", "1E0020"},
    {"e100", lu("1E100"), "1E100", "1E100", "1E0100"},
    {"twenty_three_digits", lu("12345678901234567890123"), "1,23456789012345679E22", "1,23456789012345679E22",
     "1,23456789012345679E0022"},
    {"five_e_minus_19", lu("5E-19"), "0,000000000000000001", "0,00", "0,0000"},
    {"e_minus_19", lu("1E-19"), "0", "0,00", "0,0000"},
    {"1_23_e_minus_10", lu("1,23E-10"), "0,000000000123", "0,00", "0,0000"},
    {"largest", kLargest, "1,18973149535723176E4932", "1,18973149535723176E4932", "1,18973149535723176E4932"},
    {"smallest_normal", LDBL_MIN, "0", "0,00", "0,0000"},
    {"subnormal", 0x1p-16400L, "0", "0,00", "0,0000"},
    {"negative_subnormal", -0x1p-16445L, "0", "0,00", "0,0000"},
    {"infinity", HUGE_VALL, "INF", "INF", "INF"},
    {"minus_infinity", -HUGE_VALL, "-INF", "-INF", "-INF"},
    {"not_a_number", -NAN, "NAN", "NAN", "NAN"},
};

INSTANTIATE_TEST_SUITE_P(Table, TableAffichage,
                         ::testing::Combine(::testing::ValuesIn(kAffichages), ::testing::Values(U',', U'.', U'\u066b')),
                         [](const auto& ligne) {
                           const char32_t sep = std::get<1>(ligne.param);
                           return std::string(std::get<0>(ligne.param).nom) +
                                  (sep == U',' ? "_comma" : sep == U'.' ? "_point" : "_arabic");
                         });

TEST(Affichage, RoundingEdgesOfTheEighteenDigitString) {
  // 0.125 exactly is a tie on the 3rd decimal: half away from zero.
  EXPECT_EQ(NombreEnTexteFixe(0x1p-3L, 2, U','), "0,13");
  EXPECT_EQ(NombreEnTexteFixe(-0x1p-3L, 2, U','), "-0,13");
  // A carry through every kept nine adds a digit in front.
  EXPECT_EQ(NombreEnTexteFixe(9.9999L, 2, U','), "10,00");
  EXPECT_EQ(NombreEnTexteFixe(0.9999L, 2, U','), "1,00");
  EXPECT_EQ(NombreEnTexteFixe(0.995L, 2, U','), "1,00");
  EXPECT_EQ(NombreEnTexteFixe(0.005L, 2, U','), "0,01");
  EXPECT_EQ(NombreEnTexteFixe(0.0049L, 2, U','), "0,00");
  // k = 0: the first digit decides alone.
  EXPECT_EQ(NombreEnTexteFixe(0.006L, 2, U','), "0,01");
  EXPECT_EQ(NombreEnTexteFixe(0.0006L, 2, U','), "0,00");
  // Exponent text: no padding in the all-decimals mode, 2 or 4 digits otherwise.
  EXPECT_EQ(NombreEnTexteFixe(1e4000L, 18, U','), "1E4000");
  EXPECT_EQ(NombreEnTexteFixe(1e4000L, 2, U','), "1E4000");
  EXPECT_EQ(NombreEnTexteFixe(2e18L, 2, U','), "2E18");
  EXPECT_EQ(NombreEnTexteFixe(1e18L, 4, U','), "1E0018");
}

TEST(Affichage, DecimalFormOfTheLargestValue) {
  const FormeDecimale f = VersFormeDecimale(kLargest, 18, 18);
  EXPECT_EQ(f.Exposant, 4933);
  EXPECT_EQ(std::string(f.Chiffres, f.nombreChiffres), "118973149535723176");
  EXPECT_LT(TexteEnNombre("1,18973149535723176E4932", U','), kLargest) << "reads back below the top";
}

TEST(Affichage, TrimmingFollowsTheWindowsSeparator) {
  // After a regional change the conversions write '.', the window still trims ','.
  EXPECT_EQ(TexteResultat(12, DecimalMode::Toutes, U'.', U','), "12.");
  EXPECT_EQ(TexteResultat(12.5L, DecimalMode::Toutes, U'.', U','), "12.5");
  // Written without a separator, the trimming still stops at the integer part.
  EXPECT_EQ(TexteResultat(1000, DecimalMode::Toutes, 0, 0), "1000");
  EXPECT_EQ(TexteResultat(12.5L, DecimalMode::Toutes, 0, 0), "125");
}

TEST(Puissance10, SaturatesAndScalesSmallestFactorFirst) {
  EXPECT_EQ(Puissance10(1.5L, 2), 150.0L);
  EXPECT_EQ(Puissance10(3, 0), 3);
  EXPECT_EQ(Puissance10(1, 5120), HUGE_VALL);
  EXPECT_EQ(Puissance10(1, -5120), 0);
  EXPECT_EQ(Puissance10(7, -27), 7 / 1e27L);
}

TEST(Regional, OneCharacterRuleOnUtf8) {
  EXPECT_EQ(LireReglagesRegionaux(",", "\u202f"), (Separateurs{U',', U'\u202f'}));
  EXPECT_EQ(LireReglagesRegionaux("", ""), (Separateurs{U'.', U','}));
  EXPECT_EQ(LireReglagesRegionaux(",.", "  "), (Separateurs{U'.', U','}));
  EXPECT_EQ(LireReglagesRegionaux("\u066b", "\u066c"), (Separateurs{U'\u066b', U'\u066c'}));
  EXPECT_EQ(LireReglagesRegionaux("\xe2\x80", "\xc0\xa0"), (Separateurs{U'.', U','})) << "cut or overlong";
  EXPECT_EQ(LireReglagesRegionaux("\xed\xa0\x80", "\xf4\x90\x80\x80"), (Separateurs{U'.', U','}))
      << "surrogate, beyond U+10FFFF";
}

TEST(Utf8, EncodesEachLength) {
  EXPECT_EQ(utf8(U','), ",");
  EXPECT_EQ(utf8(U'\u00a0'), "\xc2\xa0");
  EXPECT_EQ(utf8(U'\u202f'), "\xe2\x80\xaf");
  EXPECT_EQ(utf8(U'\U0001F600'), "\xf0\x9f\x98\x80");
  EXPECT_EQ(utf8(0), "");
  EXPECT_EQ(utf8(0xD800), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace tallix
