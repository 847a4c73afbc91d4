#pragma once
// Which boxes a window's caption carries, from the window's flags as the
// widget layer has settled them (QWindow::flags()): the same rule a window
// manager applies to the flags under X11, for the frame the program draws
// itself under Wayland.

#include <QFlags>
#include <Qt>

namespace tallix::app {

enum class CaptionButton { Minimize = 1, Maximize = 2, Close = 4 };
using CaptionButtons = QFlags<CaptionButton>;

// A close box with WindowCloseButtonHint, a minimise box with
// WindowMinimizeButtonHint, a maximise box with WindowMaximizeButtonHint on
// a window that can change its size. The calculator (CustomizeWindowHint,
// WindowTitleHint, WindowCloseButtonHint; fixed size) -> Close only; the
// About window (with WindowMinimizeButtonHint too) -> Minimize | Close.
inline CaptionButtons captionButtons(Qt::WindowFlags flags, bool fixedSize) {
  CaptionButtons buttons;
  if (flags.testFlag(Qt::WindowCloseButtonHint)) buttons |= CaptionButton::Close;
  if (flags.testFlag(Qt::WindowMinimizeButtonHint)) buttons |= CaptionButton::Minimize;
  if (flags.testFlag(Qt::WindowMaximizeButtonHint) && !fixedSize) buttons |= CaptionButton::Maximize;
  return buttons;
}

}  // namespace tallix::app
