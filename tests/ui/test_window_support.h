#pragma once
// Helper of the window tests: a watchdog that fails a test instead of
// hanging on a box.

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace tallix::ui::testing {

// Closes any dialog that opens while it lives and counts them: a test that
// expects none checks `opened == 0` instead of waiting forever.
class ModalWatchdog {
 public:
  ModalWatchdog() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qobject_cast<QDialog*>(w) != nullptr) {
          ++opened;
          w->close();
        }
      }
    });
    timer_.start();
  }
  int opened = 0;

 private:
  QTimer timer_;
};

}  // namespace tallix::ui::testing
