#pragma once
// The Qt side of the host: modal message boxes and the system clipboard.

#include <string>
#include <string_view>

#include <QString>

#include "display/host.h"

namespace tallix::ui {

class QtHost : public Host {
 public:
  // A modal box with one "OK" button: warning or stop icon, modal for the
  // whole program, owned by the program's active window (none for a
  // task-modal message). "\r\n" in the text becomes a line break.
  void showMessage(const Message& message) override;
  // Throw CalcError::ofKind(ErrorKind::Exception) when there is no clipboard.
  std::string clipboardText() override;
  void setClipboardText(std::string_view text) override;

  // The text the box shows. A message of thousands of characters (a long
  // pasted text quoted by the conversion error) keeps its first and last
  // kBoxTextEnds characters around " … ": shown whole, the box would grow
  // taller than the screen with its button out of reach, and laying out
  // megabytes of text would freeze the program for many seconds. A run of
  // kBoxWordLength characters without a blank gets an invisible break
  // opportunity (U+200B) after it, so a long number wraps instead of running
  // out of the box.
  static constexpr qsizetype kBoxTextEnds = 800;
  static constexpr qsizetype kBoxWordLength = 60;
  static QString boxText(const std::string& utf8);
};

}  // namespace tallix::ui
