// Any finite extended value, formatted in the all-decimals mode, reads back:
//   - TexteResultat succeeds and gives the same text when called twice;
//   - TexteEnNombre of that text succeeds (no conversion error, no overflow,
//     not even for the largest finite value) and gives a finite value;
//   - the value read is the one shown: within one unit of the 18th
//     significant digit of v, or within 10^-18 for values that print with
//     fewer digits (|v| < 1), and zero prints for |v| < 5e-19;
//   - the 2- and 4-decimal texts read back as well.
// The input is ten bytes in memory order (significand, then sign and
// exponent) and one byte choosing the separators.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/conversion.h"
#include "engine/error.h"

namespace {

using tallix::DecimalMode;
using tallix::Extended;

[[noreturn]] void fail(const char* what, Extended v, const std::string& text) {
  std::fprintf(stderr, "fuzz_aller_retour: %s: %.21Lg -> '%s'\n", what, static_cast<long double>(v),
               text.c_str());
  std::abort();
}

// Ten bytes as a valid extended value: the explicit integer bit is made to
// agree with the exponent field (pseudo-denormals and unnormals are not
// numbers the hardware produces). Infinities and NaNs are refused.
bool toExtended(const std::uint8_t* bytes, Extended& v) {
  std::uint64_t significand;
  std::uint16_t signExponent;
  std::memcpy(&significand, bytes, 8);
  std::memcpy(&signExponent, bytes + 8, 2);
  const unsigned exponent = signExponent & 0x7FFFu;
  if (exponent == 0x7FFF) return false;
  const std::uint64_t integerBit = std::uint64_t{1} << 63;
  significand = exponent == 0 ? (significand & ~integerBit) : (significand | integerBit);
  v = tallix::arith::fromFields(significand, static_cast<std::uint16_t>(exponent),
                                (signExponent & 0x8000u) != 0);
  return tallix::arith::isFinite(v);
}

Extended readBack(const std::string& text, char32_t separator, Extended v) {
  try {
    const Extended r = tallix::TexteEnNombre(text, separator);
    if (!tallix::arith::isFinite(r)) fail("read back to a value that is not finite", v, text);
    return r;
  } catch (const tallix::CalcError&) {
    fail("the formatted text does not read back", v, text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  Extended v;
  if (!toExtended(data, v)) return 0;
  const bool comma = size > 10 && (data[10] & 1) != 0;
  const char32_t sep = comma ? U',' : U'.';

  const std::string text = tallix::TexteResultat(v, DecimalMode::Toutes, sep, sep);
  if (text.empty()) fail("empty text", v, text);
  if (tallix::TexteResultat(v, DecimalMode::Toutes, sep, sep) != text) fail("formatting is not stable", v, text);
  const Extended r = readBack(text, sep, v);

  const Extended a = tallix::arith::abs(v);
  const Extended tolerance = a < 1 ? 1.05e-18L : a * 1.0e-17L;
  if (tallix::arith::abs(r - v) > tolerance) fail("the value read is not the value shown", v, text);
  if (a < 4.9999e-19L && r != 0) fail("a value below the last decimal must show 0", v, text);

  for (DecimalMode mode : {DecimalMode::Deux, DecimalMode::Quatre}) {
    const std::string fixed = tallix::TexteResultat(v, mode, sep, sep);
    if (fixed.empty()) fail("empty fixed text", v, fixed);
    readBack(fixed, sep, v);
  }
  return 0;
}
