// Number text conversion: reading a display text, the decimal form of an
// extended value, the fixed and exponent texts, the About window's figures.
// The hot paths (TexteEnNombre, NombreEnTexteFixe) work in fixed stack
// buffers: no locale, no stream, one allocation for the returned string.

#include "engine/conversion.h"

#include <charconv>
#include <cstring>

#include "engine/error.h"
#include "engine/pow10_tables.h"
#include "engine/utf8.h"

namespace tallix {

namespace {

// Whether [p, fin) starts with the `n` bytes of `octets` (n > 0).
bool startsWith(const char* p, const char* fin, const char* octets, int n) {
  if (n == 0 || fin - p < n) return false;
  for (int i = 0; i < n; ++i) {
    if (p[i] != octets[i]) return false;
  }
  return true;
}

// Writes the decimal digits of a non-negative exponent, zero-padded to at
// least `largeur` digits; returns the new end.
char* writeInteger(char* p, int valeur, int largeur) {
  char tampon[12];
  int n = 0;
  do {
    tampon[n++] = static_cast<char>('0' + valeur % 10);
    valeur /= 10;
  } while (valeur != 0);
  while (n < largeur) tampon[n++] = '0';
  while (n > 0) *p++ = tampon[--n];
  return p;
}

// The digit accumulator of a reading: acc = acc * 10 + digit, each step
// rounded to extended. While the integer fits 64 bits every step is exact, so
// that part runs in an unsigned integer with the same result (any 19 digits
// fit). An accumulator that overflows fails the text whatever follows, so the
// reading stops there instead of walking the rest of a huge pasted text.
class Accumulateur {
 public:
  explicit Accumulateur(std::string_view texte) : texte_(texte) {}

  // Reads a run of digits from p; returns how many.
  [[gnu::always_inline]] long long lire(const char*& p, const char* fin) {
    const char* const debut = p;
    std::uint64_t entier = entier_;
    int exacts = exacts_;
    for (; p < fin && exacts < 19 && IsChiffre(*p); ++p, ++exacts) {
      entier = entier * 10 + static_cast<unsigned>(*p - '0');
    }
    entier_ = entier;
    exacts_ = exacts;
    for (; p < fin && IsChiffre(*p); ++p) lent(static_cast<unsigned>(*p - '0'));
    return p - debut;
  }

  Extended valeur() const { return enEntier_ ? arith::fromUint64(entier_) : acc_; }

 private:
  void lent(unsigned chiffre) {
    if (enEntier_) {
      if (entier_ <= (UINT64_MAX - chiffre) / 10) {
        entier_ = entier_ * 10 + chiffre;
        return;
      }
      enEntier_ = false;
      acc_ = arith::fromUint64(entier_);
    }
    acc_ = acc_ * Extended(10);
    acc_ = acc_ + arith::fromUint64(chiffre);
    if (acc_ > arith::kLargest) throw CalcError::conversion(texte_);
  }

  std::string_view texte_;
  std::uint64_t entier_ = 0;
  int exacts_ = 0;
  bool enEntier_ = true;
  Extended acc_ = Extended(0);
};

// Puissance10, inlined into the hot paths.
[[gnu::always_inline]] inline Extended puissance10(Extended v, int n) {
  if (n == 0) return v;
  if (n >= 5120) return arith::kInfinity;
  if (n <= -5120) return Extended(0);
  const unsigned m = static_cast<unsigned>(n < 0 ? -n : n);
  const Extended petite = pow10::kPetites[m % 32];
  const unsigned moyenne = (m / 32) % 16;
  const unsigned grande = m / 512;
  if (n > 0) {
    v *= petite;
    if (moyenne != 0) v *= pow10::kMoyennes[moyenne];
    if (grande != 0) v *= pow10::kGrandes[grande];
  } else {
    v /= petite;
    if (moyenne != 0) v /= pow10::kMoyennes[moyenne];
    if (grande != 0) v /= pow10::kGrandes[grande];
  }
  return v;
}

}  // namespace

Extended Puissance10(Extended v, int n) { return puissance10(v, n); }

Extended TexteEnNombre(std::string_view text, char32_t separateur) {
  char sep[4];
  const int sepLongueur = encodeUtf8(separateur, sep);
  const char* p = text.data();
  const char* const fin = p + text.size();

  while (p < fin && *p == ' ') ++p;
  bool negatif = false;
  if (p < fin && (*p == '+' || *p == '-')) {
    negatif = *p == '-';
    ++p;
  }
  const char* const apresSigne = p;

  Accumulateur acc{text};
  acc.lire(p, fin);
  long long fraction = 0;
  if (startsWith(p, fin, sep, sepLongueur)) {
    p += sepLongueur;
    fraction = acc.lire(p, fin);
  }
  if (p == apresSigne) throw CalcError::conversion(text);

  int exposant = 0;
  if (p < fin && (*p == 'E' || *p == 'e')) {
    ++p;
    bool exposantNegatif = false;
    if (p < fin && (*p == '+' || *p == '-')) {
      exposantNegatif = *p == '-';
      ++p;
    }
    // Stops right after the digit that brings the exponent to 500 or more.
    while (p < fin && IsChiffre(*p) && exposant < 500) exposant = exposant * 10 + (*p++ - '0');
    if (exposantNegatif) exposant = -exposant;
  }
  while (p < fin && *p == ' ') ++p;
  if (p != fin) throw CalcError::conversion(text);

  // A net exponent beyond +-5120 saturates in Puissance10 anyway; clamping
  // keeps a text of millions of fraction digits from wrapping the int.
  long long net = static_cast<long long>(exposant) - fraction;
  if (net < -6000) net = -6000;
  Extended valeur = puissance10(acc.valeur(), static_cast<int>(net));
  if (negatif) valeur = -valeur;
  // Overflow in the scaling leaves an infinity behind (multiplications and
  // divisions by finite powers never turn it back into a finite value).
  if (!arith::isFinite(valeur)) throw CalcError::conversion(text);
  return valeur;
}

FormeDecimale VersFormeDecimale(Extended v, int precision, int decimals) {
  FormeDecimale forme;
  const Fields c = arith::fieldsOf(v);
  if (c.biasedExponent == 0) return forme;  // zeros and subnormal numbers
  if (c.biasedExponent == 0x7FFF) {
    if (c.significand == 0x8000000000000000ULL) {
      forme.special = FormeDecimale::Special::Infini;
      forme.Negatif = c.negative;
    } else {
      forme.special = FormeDecimale::Special::NonNombre;
    }
    return forme;
  }

  // 19728 / 65536 stands for log10 2; >> 16 on a negative product rounds
  // toward minus infinity.
  int e = ((static_cast<int>(c.biasedExponent) - 16383) * 19728 >> 16) + 1;
  Extended y = arith::roundToInteger(puissance10(arith::abs(v), 18 - e));
  if (y >= pow10::kPetites[18]) {
    y = y / Extended(10);
    ++e;
  }
  y = arith::roundToInteger(y);
  if (!arith::isFinite(y) || y < Extended(0)) {
    // Only a malformed encoding (an unnormal) can get here.
    forme.special = FormeDecimale::Special::NonNombre;
    return forme;
  }
  std::uint64_t entier = arith::toUint64(y);
  char chiffres[18];
  for (int i = 17; i >= 0; --i) {
    chiffres[i] = static_cast<char>('0' + entier % 10);
    entier /= 10;
  }

  int k = e + decimals;
  if (k < 0) return forme;
  if (k > precision) k = precision;
  if (k < 18) {
    if (chiffres[k] >= '5') {
      // Half away from zero on the 18-digit string, carrying through nines.
      int i = k - 1;
      while (i >= 0 && chiffres[i] == '9') --i;
      if (i < 0) {
        chiffres[0] = '1';
        k = 1;
        ++e;
      } else {
        ++chiffres[i];
        k = i + 1;  // the carried nines became zeros, dropped below
      }
    }
  } else {
    k = 18;
  }
  while (k > 0 && chiffres[k - 1] == '0') --k;
  if (k == 0) return forme;

  forme.Exposant = static_cast<std::int16_t>(e);
  forme.Negatif = c.negative;
  forme.nombreChiffres = static_cast<std::uint8_t>(k);
  std::memcpy(forme.Chiffres, chiffres, static_cast<std::size_t>(k));
  return forme;
}

std::string NombreEnTexteFixe(Extended v, int decimals, char32_t separateur) {
  const FormeDecimale f = VersFormeDecimale(v, 18, decimals);
  if (f.special == FormeDecimale::Special::Infini) return f.Negatif ? "-INF" : "INF";
  if (f.special == FormeDecimale::Special::NonNombre) return "NAN";

  char sep[4];
  const int sepLongueur = encodeUtf8(separateur, sep);
  // Fixed: sign, 18 integer digits, separator, 18 decimals at most.
  // Exponent: sign, 18 digits, separator, "E", sign, 5 digits at most.
  char tampon[64];
  char* p = tampon;
  if (f.Negatif) *p++ = '-';
  const int n = f.nombreChiffres;

  if (f.Exposant > 18) {
    *p++ = f.Chiffres[0];
    if (n > 1) {
      std::memcpy(p, sep, static_cast<std::size_t>(sepLongueur));
      p += sepLongueur;
      std::memcpy(p, f.Chiffres + 1, static_cast<std::size_t>(n - 1));
      p += n - 1;
    }
    *p++ = 'E';
    int x = f.Exposant - 1;
    if (x < 0) {
      *p++ = '-';
      x = -x;
    }
    p = writeInteger(p, x, decimals <= 4 ? decimals : 0);
    return std::string(tampon, static_cast<std::size_t>(p - tampon));
  }

  int d = 0;  // next digit of Chiffres to write
  if (f.Exposant <= 0) {
    *p++ = '0';
  } else {
    for (int i = 0; i < f.Exposant; ++i) *p++ = d < n ? f.Chiffres[d++] : '0';
  }
  std::memcpy(p, sep, static_cast<std::size_t>(sepLongueur));
  p += sepLongueur;
  int reste = decimals;
  if (f.Exposant < 0) {
    for (int i = 0; i < -f.Exposant && reste > 0; ++i, --reste) *p++ = '0';
  }
  for (; reste > 0; --reste) *p++ = d < n ? f.Chiffres[d++] : '0';
  return std::string(tampon, static_cast<std::size_t>(p - tampon));
}

std::string TexteResultat(Extended v, DecimalMode mode, char32_t separateur, char32_t fSeparateur) {
  const int decimals = decimalsOf(mode);
  std::string t = NombreEnTexteFixe(v, decimals, separateur);
  if (mode != DecimalMode::Toutes) return t;
  if (t.find('E') != std::string::npos || t == "INF" || t == "-INF" || t == "NAN") return t;
  // Trailing zeros go one at a time, but never into the integer part: the
  // fixed text ends in exactly `decimals` fraction digits, so at most that
  // many are removed even when the separator is written as nothing.
  std::size_t garde = t.size() - static_cast<std::size_t>(decimals);
  std::size_t longueur = t.size();
  while (longueur > garde && t[longueur - 1] == '0') --longueur;
  t.resize(longueur);
  char fsep[4];
  const int fsepLongueur = encodeUtf8(fSeparateur, fsep);
  if (fsepLongueur > 0 && t.size() >= static_cast<std::size_t>(fsepLongueur) &&
      std::memcmp(t.data() + t.size() - fsepLongueur, fsep, static_cast<std::size_t>(fsepLongueur)) == 0) {
    t.erase(t.size() - static_cast<std::size_t>(fsepLongueur));
  }
  return t;
}

}  // namespace tallix
