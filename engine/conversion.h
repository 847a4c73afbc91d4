#pragma once
// Every conversion between an extended value and text. Texts are UTF-8; a
// separator is one Unicode character, written as its UTF-8 bytes
// (engine/utf8.h).

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/extended.h"

namespace tallix {

// v scaled by 10^n through the three correctly rounded power tables,
// smallest factor first; n >= 5120 gives +inf, n <= -5120 gives 0, no fault.
// Puissance10(1.5L, 2) == 150.0L.
Extended Puissance10(Extended v, int n);

// Reads a display text, left to right, with `separateur` as the only decimal
// separator. Throws CalcError::conversion(text) for anything that is not a
// number (including overflow); underflow reads as 0.
// TexteEnNombre(" 12 ", ',') == 12; TexteEnNombre("1,2E4932", ',') throws.
Extended TexteEnNombre(std::string_view text, char32_t separateur);

// Decimal form 0.c1c2..cn x 10^Exposant of a value, at most `precision`
// significant digits and `decimals` decimals, rounded half away from zero on
// the 18-digit string.
struct FormeDecimale {
  enum class Special : std::uint8_t { None, Infini, NonNombre };
  std::int16_t Exposant = 0;
  bool Negatif = false;
  Special special = Special::None;
  std::uint8_t nombreChiffres = 0;  // 0 means the value is zero
  char Chiffres[18] = {};           // ASCII digits, never ending in '0'
};
FormeDecimale VersFormeDecimale(Extended v, int precision, int decimals);

// Fixed text with exactly `decimals` fraction digits, or exponent text from
// 10^18 on: NombreEnTexteFixe(0.125L, 2, ',') == "0,13";
// NombreEnTexteFixe(1.5e19L, 4, ',') == "1,5E0019".
std::string NombreEnTexteFixe(Extended v, int decimals, char32_t separateur);

// The text a result shows in a decimal mode: in the all-decimals mode the
// fixed text loses its trailing zeros, then a trailing `fSeparateur`.
// TexteResultat(12.5L, DecimalMode::Toutes, ',', ',') == "12,5".
std::string TexteResultat(Extended v, DecimalMode mode, char32_t separateur, char32_t fSeparateur);

}  // namespace tallix
