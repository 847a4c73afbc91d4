#pragma once
// A host for tests: records every message box, every display change and
// every decimal-mode change; its clipboard is a string that can be told to
// fail as a clipboard held by another program does.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error.h"
#include "display/host.h"

namespace tallix::testing {

class RecordingHost : public Host {
 public:
  void showMessage(const Message& message) override { messages.push_back(message); }

  std::string clipboardText() override {
    if (clipboardFails) throw busyClipboard();
    return clipboard;
  }
  void setClipboardText(std::string_view text) override {
    if (clipboardFails) throw busyClipboard();
    clipboard = text;
  }

  void displayChanged(std::string_view text) override {
    ++displayChanges;
    if (recordDisplays) displays.emplace_back(text);
  }
  void decimalModeChanged(DecimalMode mode) override { modes.push_back(mode); }

  std::vector<Message> messages;
  std::vector<std::string> displays;
  std::vector<DecimalMode> modes;
  std::size_t displayChanges = 0;
  bool recordDisplays = true;  // off for huge texts: counting stays linear
  std::string clipboard;
  bool clipboardFails = false;

 private:
  static CalcError busyClipboard() {
    return CalcError(ErrorKind::Exception, "Impossible d'ouvrir le Presse-papiers");
  }
};

}  // namespace tallix::testing
