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
  // task-modal message) and centred over it. "\r\n" in the text becomes a
  // line break; a long text scrolls inside a box that fits the screen. When
  // the box closes, its owner is activated again and the focus goes back
  // where it was.
  void showMessage(const Message& message) override;
  // Throw CalcError::ofKind(ErrorKind::Exception) when there is no clipboard.
  std::string clipboardText() override;
  void setClipboardText(std::string_view text) override;

  // The text the box shows, "\r\n" made "\n". In a short box a run of
  // kBoxWordLength characters without a blank gets an invisible break
  // opportunity (U+200B) after it, so a long number wraps instead of running
  // out of the box; a long text (ReportBox::isLong) is kept as it is, for
  // the long box wraps it itself.
  static constexpr qsizetype kBoxWordLength = 60;
  static QString boxText(const std::string& utf8);
};

}  // namespace tallix::ui
