#pragma once
// The display line model: a text, a caret, and a change notification that
// runs synchronously, only on an actual change, and may itself replace the
// text (nested notification).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tallix {

class DisplayLine {
 public:
  // The whole text. After dropFront() the first call compacts the buffer
  // once (linear); view() never copies.
  const std::string& text() const;
  std::string_view view() const { return std::string_view(text_).substr(start_); }

  // An equal text does nothing at all; a different one is stored and the
  // change handler runs before replace() returns. The caret stays where it
  // was, moved back onto the text if the text got shorter; the handler
  // places it.
  void replace(std::string text);

  // Removes the first `bytes` bytes in constant time, without running the
  // change handler: for the handler itself, which then carries on as the
  // nested run of that change would. "0005" -> dropFront(1) -> "005".
  void dropFront(std::size_t bytes);

  // Byte offset of the caret in view(), always on a character boundary.
  std::size_t caret() const { return caret_; }
  // Places the caret at `position` with an empty selection; a position past
  // the end means the end, one inside a character means that character's start.
  void setCaret(std::size_t position);
  void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

 private:
  mutable std::string text_;
  mutable std::size_t start_ = 0;  // bytes of text_ already dropped from the front
  std::size_t caret_ = 0;
  std::function<void()> onChange_;
};

}  // namespace tallix
