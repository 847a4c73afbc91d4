// The display line model.
#include "display/display_line.h"

#include <utility>

namespace tallix {

const std::string& DisplayLine::text() const {
  if (start_ != 0) {
    text_.erase(0, start_);
    start_ = 0;
  }
  return text_;
}

void DisplayLine::replace(std::string text) {
  if (view() == text) return;
  // A swap, not a move: moving a short text into a long one's buffer would
  // keep its whole capacity, so the memory of a 10 MB paste would stay taken
  // after the display went back to "0". The old buffer goes with `text`.
  text_.swap(text);
  start_ = 0;
  setCaret(caret_);
  if (onChange_) onChange_();
}

void DisplayLine::dropFront(std::size_t bytes) {
  std::size_t size = text_.size() - start_;
  start_ += bytes < size ? bytes : size;
  // The caret keeps its place relative to the characters after the cut.
  caret_ = caret_ > bytes ? caret_ - bytes : 0;
  setCaret(caret_);
}

void DisplayLine::setCaret(std::size_t position) {
  std::string_view v = view();
  if (position > v.size()) position = v.size();
  while (position > 0 && position < v.size() &&
         (static_cast<unsigned char>(v[position]) & 0xC0) == 0x80) {
    --position;
  }
  caret_ = position;
}

}  // namespace tallix
