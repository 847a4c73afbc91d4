// UTF-8 encoding, and decoding with the maximal-subpart replacement of
// ill-formed input.
#include "engine/utf8.h"

namespace tallix {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string utf8(char32_t c) {
  char bytes[4];
  return std::string(bytes, static_cast<std::size_t>(encodeUtf8(c, bytes)));
}

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
  auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byteAt(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  // Length and the allowed range of the second byte, which excludes the
  // overlong forms, the surrogates and everything above U+10FFFF.
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  std::size_t i = pos + 1;
  for (std::size_t k = 1; k < length; ++k, ++i) {
    if (i >= text.size()) break;
    unsigned char byte = byteAt(i);
    bool ok = k == 1 ? (byte >= low && byte <= high) : isContinuation(byte);
    if (!ok) break;
    value = (value << 6) | (byte & 0x3Fu);
  }
  if (i - pos != length) {
    pos = i;  // the maximal prefix that could have started a character
    return kReplacementCharacter;
  }
  pos = i;
  return value;
}

std::string validUtf8(std::string text) {
  // Fast path: most pastes are plain ASCII or already valid.
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t before = pos;
    char32_t c = decodeUtf8(text, pos);
    if (c == kReplacementCharacter &&
        std::string_view(text).substr(before, pos - before) != "\xEF\xBF\xBD") {
      pos = before;
      break;
    }
  }
  if (pos == text.size()) return text;

  std::string out(text, 0, pos);
  out.reserve(text.size() + 16);
  while (pos < text.size()) {
    std::size_t before = pos;
    char32_t c = decodeUtf8(text, pos);
    if (c == kReplacementCharacter) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(text, before, pos - before);
    }
  }
  return out;
}

std::size_t lastCharacterStart(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t pos = text.size() - 1;
  while (pos > 0 && isContinuation(static_cast<unsigned char>(text[pos]))) --pos;
  return pos;
}

char32_t singleCharacter(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t end = 0;
  const char32_t c = decodeUtf8(text, end);
  if (end != text.size()) return 0;
  // A malformed sequence decodes as U+FFFD too; only the real one counts.
  if (c == kReplacementCharacter && text != "\xEF\xBF\xBD") return 0;
  return c;
}

}  // namespace tallix
