#pragma once
// A host with no window: the clipboard is a string that can be made busy,
// and message boxes are counted and kept instead of shown. The fuzz targets,
// the benchmarks and the robustness tests drive KeypadSession through it.

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/error.h"
#include "display/host.h"
#include "display/report.h"

namespace tallix {

class MemoryHost final : public Host {
 public:
  void showMessage(const Message& message) override {
    ++messages;
    if (message.caption == kApplicationTitle) ++errorReports;
    if (message.taskModal) ++fatalReports;
    if (keepMessages) last = message;
  }
  std::string clipboardText() override {
    if (clipboardBusy) throw busy();
    return clipboard;
  }
  void setClipboardText(std::string_view text) override {
    if (clipboardBusy) throw busy();
    clipboard.assign(text);
  }
  void displayChanged(std::string_view /*text*/) override { ++displayChanges; }

  std::string clipboard;
  bool clipboardBusy = false;
  bool keepMessages = true;  // the benchmarks turn it off: copying a message is not a press
  std::size_t messages = 0;
  std::size_t errorReports = 0;  // application error reports (caption "Tallix Standart")
  std::size_t fatalReports = 0;
  std::size_t displayChanges = 0;
  Message last;

 private:
  static CalcError busy() {
    return CalcError(ErrorKind::Exception, "Impossible d'ouvrir le Presse-papiers");
  }
};

}  // namespace tallix
