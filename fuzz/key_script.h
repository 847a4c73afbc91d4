#pragma once
// The byte language in which the key-sequence fuzz target, its seeds and the
// press benchmark describe a session with the calculator. Each byte is one
// action:
//   - a character of the key table ('0'..'9', '+', '-', '*', '/', '%', '=',
//     ',', '.', 'X', space, '\b', '\r') and any byte with no other meaning
//     below is typed, as the window types it (most letters are then ignored);
//   - 0x80 + i, i < 28, clicks control i of tallix::Control: the buttons that
//     have no key (square root, square, power, sign, pi, phi, the three
//     decimal-mode toggles) are reached this way;
//   - 'P' n: pastes the next n bytes (n is the byte after 'P'); 'V' pastes
//     the clipboard as it is (what the last copy put there);
//   - 'C': copies the display; 'B': makes the clipboard busy, or free again;
//   - 'S' k: the regional separators change to pair k % 8 of a fixed table.
// So "2+3*4\r" is a script, and so is every key line of the golden files.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "display/keypad_session.h"
#include "display/controls.h"
#include "engine/regional.h"
#include "fake_host.h"

namespace tallix::keyscript {

inline constexpr std::uint8_t kClickBase = 0x80;
inline constexpr std::uint8_t kPaste = 'P';
inline constexpr std::uint8_t kPasteClipboard = 'V';
inline constexpr std::uint8_t kCopy = 'C';
inline constexpr std::uint8_t kBusy = 'B';
inline constexpr std::uint8_t kSeparators = 'S';

inline constexpr Separateurs kSeparatorTable[] = {
    {U'.', U','},           {U',', U' '},   {U',', U'.'},      {U'.', U'\u202F'},
    {U'\u066B', U'\u066C'}, {U'\'', U'\''}, {U'\u00B7', U' '}, {U'.', U' '},
};
inline constexpr int kSeparatorPairs = static_cast<int>(std::size(kSeparatorTable));

inline Separateurs separatorPair(std::uint8_t k) { return kSeparatorTable[k % kSeparatorPairs]; }

// Runs one action starting at script[i] and returns the index of the next.
inline std::size_t step(KeypadSession& calc, testing::FakeHost& host, std::span<const std::uint8_t> script,
                        std::size_t i) {
  const std::uint8_t b = script[i++];
  if (b >= kClickBase && b < kClickBase + kControlCount) {
    calc.press(static_cast<Control>(b - kClickBase));
  } else if (b == kPaste) {
    const std::size_t n = i < script.size() ? script[i++] : 0;
    const std::size_t take = n < script.size() - i ? n : script.size() - i;
    const bool busy = host.clipboardFails;
    host.clipboardFails = false;
    host.clipboard.assign(reinterpret_cast<const char*>(script.data() + i), take);
    host.clipboardFails = busy;
    i += take;
    calc.paste();
  } else if (b == kPasteClipboard) {
    calc.paste();
  } else if (b == kCopy) {
    calc.copy();
  } else if (b == kBusy) {
    host.clipboardFails = !host.clipboardFails;
  } else if (b == kSeparators) {
    calc.changeRegionalSettings(separatorPair(i < script.size() ? script[i++] : 0));
  } else {
    calc.typeKey(static_cast<char32_t>(b));
  }
  return i;
}

}  // namespace tallix::keyscript
