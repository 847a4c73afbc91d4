// The About window's number texts: a display pattern such as #,###" KB",
// and the disk figure.
#include "platform/number_pattern.h"

#include <charconv>

#include "engine/conversion.h"
#include "engine/utf8.h"

namespace tallix::platform {

namespace {

// What a pattern section asks for: literals around the number, the digit
// placeholders before and after the decimal point, and grouping.
struct Pattern {
  std::string prefix;
  std::string suffix;
  int minIntegerDigits = 0;  // '0' placeholders before the point
  int minDecimals = 0;       // '0' placeholders after the point
  int maxDecimals = 0;       // all placeholders after the point
  bool grouping = false;     // a ',' among the integer placeholders
  bool point = false;
};

// Reads the first section (up to an unquoted ';'). Text in double or single
// quotes is literal; any other character that is not a placeholder is a
// literal too, placed before the number when it precedes the first
// placeholder and after it otherwise.
Pattern readPattern(std::string_view pattern) {
  Pattern m;
  bool digitSeen = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    std::string& literal = digitSeen ? m.suffix : m.prefix;
    if (c == '"' || c == '\'') {
      const std::size_t close = pattern.find(c, i + 1);
      const std::size_t stop = close == std::string_view::npos ? pattern.size() : close;
      literal.append(pattern.substr(i + 1, stop - i - 1));
      i = stop;
    } else if (c == ';') {
      break;
    } else if (c == '#' || c == '0') {
      digitSeen = true;
      if (m.point) {
        ++m.maxDecimals;
        if (c == '0') m.minDecimals = m.maxDecimals;
      } else if (c == '0') {
        ++m.minIntegerDigits;
      }
    } else if (c == ',' && !m.point) {
      m.grouping = true;
    } else if (c == '.' && !m.point) {
      m.point = true;
      digitSeen = true;
    } else {
      literal.push_back(c);
    }
  }
  return m;
}

}  // namespace

std::string FormaterMotif(std::string_view pattern, Extended v, char32_t milliers) {
  const Pattern m = readPattern(pattern);
  const FormeDecimale f = VersFormeDecimale(v, 18, m.maxDecimals);
  std::string text = m.prefix;
  if (f.special == FormeDecimale::Special::Infini) return text + (f.Negatif ? "-INF" : "INF") + m.suffix;
  if (f.special == FormeDecimale::Special::NonNombre) return text + "NAN" + m.suffix;
  if (f.Negatif) text.push_back('-');

  // Integer digits: those of the decimal form, "0" once they run out, padded
  // on the left to the '0' placeholders. A value that rounds to 0 under a
  // pattern of '#' only writes no digit at all.
  std::string integerDigits;
  const int n = f.nombreChiffres;
  for (int i = 0; i < f.Exposant; ++i) integerDigits.push_back(i < n ? f.Chiffres[i] : '0');
  if (static_cast<int>(integerDigits.size()) < m.minIntegerDigits) {
    integerDigits.insert(0, static_cast<std::size_t>(m.minIntegerDigits) - integerDigits.size(), '0');
  }
  const std::string separator = m.grouping ? utf8(milliers) : std::string();
  for (std::size_t i = 0; i < integerDigits.size(); ++i) {
    text.push_back(integerDigits[i]);
    const std::size_t remaining = integerDigits.size() - i - 1;
    if (remaining > 0 && remaining % 3 == 0) text += separator;
  }

  std::string decimalDigits;
  for (int i = 0; i < m.maxDecimals; ++i) {
    const int index = f.Exposant + i;  // position in Chiffres of the i-th decimal
    decimalDigits.push_back(index >= 0 && index < n ? f.Chiffres[index] : '0');
  }
  while (static_cast<int>(decimalDigits.size()) > m.minDecimals && !decimalDigits.empty() &&
         decimalDigits.back() == '0') {
    decimalDigits.pop_back();
  }
  if (!decimalDigits.empty()) text += "." + decimalDigits;
  return text + m.suffix;
}

std::string formatMegabytes(std::int64_t megabytes) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, megabytes);
  (void)error;
  std::string text(buffer, end);
  text += " MB";
  return text;
}

}  // namespace tallix::platform
