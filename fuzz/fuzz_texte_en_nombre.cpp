// Any bytes given to TexteEnNombre either read to a finite value or fail with
// the conversion error quoting the whole text. The first byte picks the
// decimal separator, the rest is the text.
//
// Where the reading is exact by construction (at most 19 digits, a net power
// of ten between -27 and 27: one correctly rounded multiplication or
// division), the value must also equal glibc's strtold of the same text.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/conversion.h"
#include "engine/error.h"
#include "engine/utf8.h"

namespace {

using tallix::Extended;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_texte_en_nombre: %s\n", what);
  std::abort();
}

char32_t separatorFor(std::uint8_t selector) {
  switch (selector % 4) {
    case 0: return U'.';
    case 1: return U',';
    case 2: return U'\u066B';  // Arabic decimal separator: two UTF-8 bytes
    default: return U'\'';
  }
}

// The same text in strtold's grammar, when the text is in the exactly read
// range; empty otherwise.
std::string exactReference(std::string_view text, const std::string& sep) {
  std::size_t i = 0;
  auto skipBlanks = [&] { while (i < text.size() && text[i] == ' ') ++i; };
  auto isDigit = [&](std::size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
  std::string out;
  skipBlanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
  int digits = 0, fraction = 0;
  while (isDigit(i)) { out += text[i++]; ++digits; }
  out += '.';
  if (text.substr(i, sep.size()) == sep) {
    i += sep.size();
    while (isDigit(i)) { out += text[i++]; ++digits; ++fraction; }
  }
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    while (isDigit(i) && exponent < 1000) exponent = exponent * 10 + (text[i++] - '0');
    if (negative) exponent = -exponent;
  }
  const long net = exponent - fraction;
  if (digits == 0 || digits > 19 || net < -27 || net > 27) return {};
  out += 'e';
  out += std::to_string(exponent);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char32_t separator = separatorFor(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  Extended value;
  try {
    value = tallix::TexteEnNombre(text, separator);
  } catch (const tallix::CalcError& error) {
    if (error.kind() != tallix::ErrorKind::EConvertError) fail("wrong error kind");
    if (error.message() != tallix::CalcError::conversion(text).message()) fail("message does not quote the text");
    return 0;
  }
  if (!tallix::arith::isFinite(value)) fail("a text read to a value that is not finite");

  const std::string reference = exactReference(text, tallix::utf8(separator));
  if (!reference.empty()) {
    const Extended expected = std::strtold(reference.c_str(), nullptr);
    const tallix::Fields e = tallix::arith::fieldsOf(expected), v = tallix::arith::fieldsOf(value);
    if (e.significand != v.significand || e.biasedExponent != v.biasedExponent || e.negative != v.negative) {
      fail("not the correctly rounded value");
    }
  }
  return 0;
}
