// The two regional characters, from the platform's UTF-8 strings.

#include "engine/regional.h"

#include "engine/utf8.h"

namespace tallix {

Separateurs LireReglagesRegionaux(std::string_view decimalPoint, std::string_view thousandsSeparator) {
  Separateurs s;
  if (const char32_t d = singleCharacter(decimalPoint); d != 0) s.decimal = d;
  if (const char32_t m = singleCharacter(thousandsSeparator); m != 0) s.milliers = m;
  return s;
}

}  // namespace tallix
