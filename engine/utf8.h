#pragma once
// The characters of the calculator's texts, the one home of their UTF-8
// encoding and decoding: the display text is always valid UTF-8, whatever a
// paste brought in, a regional character is one decoded character, and a
// separator is written as its UTF-8 bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace tallix {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// True for the ten digits '0' to '9' and nothing else, the only digits a
// display text has: IsChiffre('7') is true, IsChiffre(',') false.
constexpr bool IsChiffre(char c) { return c >= '0' && c <= '9'; }

// Writes the UTF-8 bytes of `c` into `out` (room for 4) and returns how many;
// 0 for the null character, which stands for "no separator". Surrogates and
// values beyond U+10FFFF are written as U+FFFD. Inline: the conversions call
// it for every text they read or write.
// encodeUtf8(U'\u202f', out) == 3, out holding E2 80 AF.
[[gnu::always_inline]] inline int encodeUtf8(char32_t c, char* out) {
  if (c == 0) return 0;
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

// The same bytes as a string: utf8(U',') == ",", utf8(0) == "".
std::string utf8(char32_t c);

// Decodes the character at `pos` and advances `pos` past it. An ill-formed
// sequence yields U+FFFD and consumes its maximal valid prefix (at least one
// byte), so "\xE2\x82" followed by "A" decodes as U+FFFD, 'A'.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// The text with every ill-formed sequence replaced by U+FFFD (EF BF BD);
// a valid text comes back unchanged: "a\xFFb" -> "a\uFFFDb".
std::string validUtf8(std::string text);

// The one character a text holds, or 0 when it holds none, more than one,
// or a malformed sequence (overlong forms, surrogates, beyond U+10FFFF):
// singleCharacter("\u202f") == U'\u202f', singleCharacter(",.") == 0.
char32_t singleCharacter(std::string_view text);

// Byte offset where the last character of a valid UTF-8 text starts
// (0 for an empty text): lastCharacterStart("12é") == 2.
std::size_t lastCharacterStart(std::string_view text);

}  // namespace tallix
