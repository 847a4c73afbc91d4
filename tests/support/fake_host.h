#pragma once
// The host of every test, fuzz target and benchmark that runs without a
// window: message boxes are recorded and counted instead of shown, display
// and decimal-mode changes are recorded, and the clipboard is a string that
// can be made to fail as a clipboard held by another program does.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "display/host.h"
#include "display/report.h"
#include "engine/error.h"

namespace tallix::testing {

class FakeHost : public Host {
 public:
  void showMessage(const Message& message) override {
    ++messageCount;
    if (message.caption == kApplicationTitle) ++errorReports;
    if (message.taskModal) ++fatalReports;
    if (keepMessages) messages.push_back(message);
  }

  std::string clipboardText() override {
    if (clipboardFails) throw CalcError::ofKind(ErrorKind::Exception);
    return clipboard;
  }
  void setClipboardText(std::string_view text) override {
    if (clipboardFails) throw CalcError::ofKind(ErrorKind::Exception);
    clipboard.assign(text);
  }

  void displayChanged(std::string_view text) override {
    ++displayChanges;
    if (recordDisplays) displays.emplace_back(text);
  }
  void decimalModeChanged(DecimalMode mode) override { modes.push_back(mode); }

  // Off for long sessions and huge texts: the counts stay, copies go.
  bool keepMessages = true;
  bool recordDisplays = true;

  std::vector<Message> messages;
  std::size_t messageCount = 0;
  std::size_t errorReports = 0;  // application error reports (caption "Tallix Standart")
  std::size_t fatalReports = 0;
  std::vector<std::string> displays;
  std::size_t displayChanges = 0;
  std::vector<DecimalMode> modes;
  std::string clipboard;
  bool clipboardFails = false;
};

}  // namespace tallix::testing
