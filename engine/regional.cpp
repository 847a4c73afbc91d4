// The two regional characters, from the platform's UTF-8 strings.

#include "engine/regional.h"

namespace tallix {

namespace {

// The one character a UTF-8 string holds, or 0 when it holds none, more than
// one, or a malformed sequence (overlong forms, surrogates, beyond U+10FFFF).
char32_t seulCaractere(std::string_view s) {
  if (s.empty()) return 0;
  const auto octet = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char premier = octet(0);
  std::size_t longueur = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if (premier < 0x80) {
    longueur = 1, c = premier;
  } else if ((premier & 0xE0) == 0xC0) {
    longueur = 2, c = premier & 0x1Fu, minimum = 0x80;
  } else if ((premier & 0xF0) == 0xE0) {
    longueur = 3, c = premier & 0x0Fu, minimum = 0x800;
  } else if ((premier & 0xF8) == 0xF0) {
    longueur = 4, c = premier & 0x07u, minimum = 0x10000;
  } else {
    return 0;
  }
  if (s.size() != longueur) return 0;
  for (std::size_t i = 1; i < longueur; ++i) {
    if ((octet(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (octet(i) & 0x3Fu);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return c;
}

}  // namespace

Separateurs LireReglagesRegionaux(std::string_view decimalPoint, std::string_view thousandsSeparator) {
  Separateurs s;
  if (const char32_t d = seulCaractere(decimalPoint); d != 0) s.decimal = d;
  if (const char32_t m = seulCaractere(thousandsSeparator); m != 0) s.milliers = m;
  return s;
}

}  // namespace tallix
