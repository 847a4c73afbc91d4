#pragma once
// The few UTF-8 operations the calculator needs: the display text is always
// valid UTF-8, whatever a paste brought in, and a regional character is one
// decoded character.

#include <cstddef>
#include <string>
#include <string_view>

namespace tallix {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

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
