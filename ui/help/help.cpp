#include "ui/help/help.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "ui/help/help_viewer.h"

namespace tallix::ui {

namespace {

constexpr int kReadableWidth = 360;  // narrower than this, the viewer may overlap

// The program window the help is asked from: the owner, else the active
// window (the one under an open popup menu when F1 comes from the menu).
const QWidget* askingWindow(const QWidget* owner) {
  if (owner != nullptr) return owner->window();
  if (const QWidget* popup = QApplication::activePopupWidget(); popup != nullptr && popup->parentWidget())
    return popup->parentWidget()->window();
  return QApplication::activeWindow();
}

// Puts the viewer beside `beside`, on the side of the screen with more room,
// as wide as that room allows, top edges level, all of it on the screen; so
// neither window hides the other. Where no side leaves a readable width the
// viewer keeps its size and lies against that side's screen edge.
void placeBeside(QWidget* viewer, const QWidget* beside) {
  if (beside == nullptr || beside->screen() == nullptr) return;
  const QRect screen = beside->screen()->availableGeometry();
  const QRect calc = beside->frameGeometry();
  // A window not shown yet has no frame: count the calculator's.
  const QMargins frame(beside->geometry().left() - calc.left(), beside->geometry().top() - calc.top(),
                       calc.right() - beside->geometry().right(), calc.bottom() - beside->geometry().bottom());
  const int leftRoom = calc.left() - screen.left();
  const int rightRoom = screen.right() - calc.right();
  const bool right = rightRoom >= leftRoom;
  const int room = (right ? rightRoom : leftRoom) - frame.left() - frame.right();
  const int width = std::clamp(room, std::min(kReadableWidth, viewer->width()), viewer->width());
  const int height = std::min(viewer->height(), screen.height() - frame.top() - frame.bottom());
  viewer->resize(width, height);
  const int outer = width + frame.left() + frame.right();
  const int x = right ? std::min(calc.right() + 1, screen.right() + 1 - outer) : std::max(calc.left() - outer, screen.left());
  const int y = std::clamp(calc.top(), screen.top(), screen.bottom() + 1 - (height + frame.top() + frame.bottom()));
  viewer->move(x, y);
}

}  // namespace

void ViewerHelpOpener::open(const QString& chmPath, int context, QWidget* owner) {
  auto* viewer = new HelpViewer(owner);
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  viewer->open(chmPath, context);
  placeBeside(viewer, askingWindow(owner));
  viewer->show();
}

}  // namespace tallix::ui
