#pragma once
// Services for the widget tests: message boxes recorded instead of shown
// (the clipboard stays the system's), help requests recorded, and the
// machine's figures of the test's choosing.

#include <exception>
#include <functional>
#include <vector>

#include <QString>

#include "ui/report/qt_host.h"
#include "ui/common/services.h"
#include "platform/machine_figures.h"

namespace tallix::ui::testing {

class RecordingQtHost final : public QtHost {
 public:
  void showMessage(const Message& message) override {
    messages.push_back(message);
    if (onMessage) onMessage(message);
  }
  std::vector<Message> messages;
  std::function<void(const Message&)> onMessage;  // runs after recording
};

class RecordingHelp final : public HelpOpener {
 public:
  struct Opened {
    QString path;
    int context;
    QWidget* owner;
  };
  QString helpFile(const QString& programFolder) const override {
    if (failure) std::rethrow_exception(failure);
    return HelpOpener::helpFile(programFolder);
  }
  void open(const QString& chmPath, int context, QWidget* owner) override {
    opened.push_back({chmPath, context, owner});
  }
  std::vector<Opened> opened;
  std::exception_ptr failure;  // thrown when a window asks for its help file
};

struct TestServices {
  RecordingQtHost host;
  RecordingHelp help;
  platform::LinuxMachineFigures machine;
  Services services() { return {host, help, machine}; }
};

}  // namespace tallix::ui::testing
