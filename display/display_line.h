#pragma once
// The display line model: a text, a caret, and a change notification that
// runs synchronously, only on an actual change, and may itself replace the
// text (nested notification).

#include <cstddef>
#include <functional>
#include <string>

namespace tallix {

class DisplayLine {
 public:
  const std::string& text() const { return text_; }
  // An equal text does nothing at all; a different one is stored and the
  // change handler runs before replace() returns.
  void replace(std::string text);
  // Byte offset of the caret, always on a character boundary.
  std::size_t caret() const { return caret_; }
  void setCaret(std::size_t position);
  void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

 private:
  std::string text_;
  std::size_t caret_ = 0;
  std::function<void()> onChange_;
};

}  // namespace tallix
