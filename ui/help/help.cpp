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
// Without a window manager no window may be active: the program's shown
// window is taken then, so the viewer still opens beside it, never over it.
const QWidget* askingWindow(const QWidget* owner) {
  if (owner != nullptr) return owner->window();
  if (const QWidget* popup = QApplication::activePopupWidget(); popup != nullptr && popup->parentWidget())
    return popup->parentWidget()->window();
  if (const QWidget* active = QApplication::activeWindow(); active != nullptr) return active;
  for (const QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && qobject_cast<const HelpViewer*>(window) == nullptr) return window;
  return nullptr;
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
  // A closed viewer is only waiting for its deletion.
  if (viewer_ != nullptr && viewer_->isVisible()) {
    // The file is read afresh: it may have been replaced since.
    viewer_->open(chmPath, context);
    if (viewer_->parentWidget() != owner) {
      // A new owner hides the window: keep its place and show it again.
      const QPoint place = viewer_->pos();
      viewer_->setParent(owner, viewer_->windowFlags());
      viewer_->move(place);
    }
    viewer_->setWindowState(viewer_->windowState() & ~Qt::WindowMinimized);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    return;
  }
  viewer_ = new HelpViewer(owner);
  viewer_->setAttribute(Qt::WA_DeleteOnClose);
  viewer_->open(chmPath, context);
  placeBeside(viewer_, askingWindow(owner));
  viewer_->show();
}

}  // namespace tallix::ui
