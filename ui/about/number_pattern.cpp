// The About window's number texts: a display pattern such as #,###" KB",
// and the disk figure.
#include "ui/about/number_pattern.h"

#include <charconv>

#include "engine/conversion.h"

namespace tallix::ui {

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
Pattern readPattern(std::string_view motif) {
  Pattern m;
  bool digitSeen = false;
  for (std::size_t i = 0; i < motif.size(); ++i) {
    const char c = motif[i];
    std::string& literal = digitSeen ? m.suffix : m.prefix;
    if (c == '"' || c == '\'') {
      const std::size_t fin = motif.find(c, i + 1);
      const std::size_t stop = fin == std::string_view::npos ? motif.size() : fin;
      literal.append(motif.substr(i + 1, stop - i - 1));
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

std::string FormaterMotif(std::string_view motif, Extended v, char32_t milliers) {
  const Pattern m = readPattern(motif);
  const FormeDecimale f = VersFormeDecimale(v, 18, m.maxDecimals);
  std::string texte = m.prefix;
  if (f.special == FormeDecimale::Special::Infini) return texte + (f.Negatif ? "-INF" : "INF") + m.suffix;
  if (f.special == FormeDecimale::Special::NonNombre) return texte + "NAN" + m.suffix;
  if (f.Negatif) texte.push_back('-');

  // Integer digits: those of the decimal form, "0" once they run out, padded
  // on the left to the '0' placeholders. A value that rounds to 0 under a
  // pattern of '#' only writes no digit at all.
  std::string entiers;
  const int n = f.nombreChiffres;
  for (int i = 0; i < f.Exposant; ++i) entiers.push_back(i < n ? f.Chiffres[i] : '0');
  if (static_cast<int>(entiers.size()) < m.minIntegerDigits) {
    entiers.insert(0, static_cast<std::size_t>(m.minIntegerDigits) - entiers.size(), '0');
  }
  const std::string sep = m.grouping ? utf8(milliers) : std::string();
  for (std::size_t i = 0; i < entiers.size(); ++i) {
    texte.push_back(entiers[i]);
    const std::size_t restants = entiers.size() - i - 1;
    if (restants > 0 && restants % 3 == 0) texte += sep;
  }

  std::string decimales;
  for (int i = 0; i < m.maxDecimals; ++i) {
    const int indice = f.Exposant + i;  // position in Chiffres of the i-th decimal
    decimales.push_back(indice >= 0 && indice < n ? f.Chiffres[indice] : '0');
  }
  while (static_cast<int>(decimales.size()) > m.minDecimals && !decimales.empty() &&
         decimales.back() == '0') {
    decimales.pop_back();
  }
  if (!decimales.empty()) texte += "." + decimales;
  return texte + m.suffix;
}

std::string formatMegabytes(std::int64_t megabytes) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, megabytes);
  (void)error;
  std::string text(buffer, end);
  text += " MB";
  return text;
}

}  // namespace tallix::ui
