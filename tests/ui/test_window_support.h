#pragma once
// Helpers of the window tests: recording message boxes instead of showing
// them, and a watchdog that fails a test instead of hanging on a box.

#include <vector>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "display/host.h"
#include "ui/common/qt_host.h"

namespace tallix::ui::testing {

// Every box shown while it lives is recorded, none reaches the screen.
class MessageRecorder {
 public:
  MessageRecorder() {
    previous_ = QtHost::setMessageInterceptor([this](const Message& m) { messages.push_back(m); });
  }
  ~MessageRecorder() { QtHost::setMessageInterceptor(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  std::vector<Message> messages;

 private:
  QtHost::Interceptor previous_;
};

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
