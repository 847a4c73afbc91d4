#pragma once
// Which boxes a window's caption carries, from the window's flags as the
// widget layer has settled them (QWindow::flags()): the same rule a window
// manager applies to the flags under X11, for the frame the program draws
// itself under Wayland.

#include <QFlags>
#include <QPointF>
#include <QRectF>
#include <Qt>

#include <optional>

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

// The frame's figures, in surface pixels: the border around the window, the
// caption's height, a box's side, the space between boxes and from the
// frame's right edge to the last box.
inline constexpr int kFrameBorder = 3;
inline constexpr int kCaptionHeight = 30;
inline constexpr int kCaptionBox = 18;
inline constexpr int kCaptionSpacing = 5;
inline constexpr int kCaptionRightMargin = 8;

// Where box `which` lies on a frame `frameWidth` wide that shows `shown`:
// right to left close, maximise, minimise, each only where shown, centred
// in the caption's height; empty when it is not shown. The calculator's
// close box on its 268-wide frame -> (242, 6, 18 x 18); the About window's
// (435 wide, minimise and close) -> close (409, 6), minimise (386, 6).
inline QRectF captionButtonRect(CaptionButtons shown, CaptionButton which, int frameWidth) {
  qreal right = frameWidth - kCaptionRightMargin;
  for (CaptionButton button : {CaptionButton::Close, CaptionButton::Maximize, CaptionButton::Minimize}) {
    if (!shown.testFlag(button)) continue;
    const QRectF box(right - kCaptionBox, (kCaptionHeight - kCaptionBox) / 2, kCaptionBox, kCaptionBox);
    if (button == which) return box;
    right -= kCaptionBox + kCaptionSpacing;
  }
  return {};
}

// The shown box under `point` (frame coordinates), if any: the calculator's
// caption (close box only) at (228, 15), where Qt's own frame has its
// maximise box -> none.
inline std::optional<CaptionButton> captionButtonAt(CaptionButtons shown, QPointF point, int frameWidth) {
  for (CaptionButton button : {CaptionButton::Close, CaptionButton::Maximize, CaptionButton::Minimize}) {
    if (shown.testFlag(button) && captionButtonRect(shown, button, frameWidth).contains(point)) return button;
  }
  return std::nullopt;
}

}  // namespace tallix::app
