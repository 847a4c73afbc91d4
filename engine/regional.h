#pragma once
// The two regional characters every number conversion depends on.

#include <string_view>

namespace tallix {

struct Separateurs {
  char32_t decimal = U'.';   // SeparateurDecimal: written and accepted by every conversion
  char32_t milliers = U',';  // SeparateurMilliers: only the About window's memory figure
  bool operator==(const Separateurs&) const = default;
};

// Applies the one-character rule to the platform's strings (UTF-8): a value
// that is not exactly one character falls back to "." and "," respectively.
// LireReglagesRegionaux(",", "\u202f") -> {',', U+202F}; ("", "") -> {'.', ','}.
Separateurs LireReglagesRegionaux(std::string_view decimalPoint, std::string_view thousandsSeparator);

}  // namespace tallix
