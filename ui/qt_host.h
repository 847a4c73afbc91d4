#pragma once
// The Qt side of the host: modal message boxes and the system clipboard.

#include <functional>
#include <string>
#include <string_view>

#include "engine/host.h"

namespace tallix::ui {

class QtHost : public Host {
 public:
  void showMessage(const Message& message) override { showMessageBox(message); }
  std::string clipboardText() override;
  void setClipboardText(std::string_view text) override;

  // A modal box with one "OK" button: warning or stop icon, modal for the
  // whole program, owned by the program's active window (none for a
  // task-modal message). "\r\n" in the text becomes a line break. An
  // application error report (stop icon, not task-modal) first releases a
  // button held down with the mouse, without a click.
  static void showMessageBox(const Message& message);

  // Test hook: while set, every box goes to the interceptor instead of the
  // screen. Returns the previous interceptor.
  using Interceptor = std::function<void(const Message&)>;
  static Interceptor setMessageInterceptor(Interceptor interceptor);
};

}  // namespace tallix::ui
