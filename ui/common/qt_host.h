#pragma once
// The Qt side of the host: modal message boxes and the system clipboard.

#include <functional>
#include <string>
#include <string_view>

#include <QString>

#include "display/host.h"

namespace tallix::ui {

class QtHost : public Host {
 public:
  void showMessage(const Message& message) override { showMessageBox(message); }
  std::string clipboardText() override;
  void setClipboardText(std::string_view text) override;

  // A modal box with one "OK" button: warning or stop icon, modal for the
  // whole program, owned by the program's active window (none for a
  // task-modal message). "\r\n" in the text becomes a line break. An
  // application error report (stop icon, not task-modal) first releases a
  // button held down with the mouse, without a click.
  static void showMessageBox(const Message& message);

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

  // Test hook: while set, every box goes to the interceptor instead of the
  // screen. Returns the previous interceptor.
  using Interceptor = std::function<void(const Message&)>;
  static Interceptor setMessageInterceptor(Interceptor interceptor);
};

}  // namespace tallix::ui
