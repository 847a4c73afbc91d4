#pragma once
// Loads the system's font configuration on a second thread while the
// application object connects to the display. Reading fontconfig's files is
// the largest single piece of start-up (about 27 million instructions, a
// third of the work before the first paint), and nothing needs a font until
// the application object exists; the display connection meanwhile mostly
// waits for the server.

#include <thread>

namespace tallix::app {

// Whether the toolkit leaves the environment alone while it connects to the
// display. Qt's X11 and Wayland clients remove DESKTOP_STARTUP_ID,
// XDG_ACTIVATION_TOKEN and WAYLAND_SOCKET once they have read them, and
// fontconfig reads the environment (HOME, XDG_CONFIG_HOME, ...) with getenv,
// which is not safe against a concurrent unsetenv: with one of them set, the
// configuration loads on first use, as without a preload.
bool environmentStaysUnchanged();

class FontConfigurationPreload {
 public:
  // Starts the load, when the environment stays unchanged and a thread can be
  // had; otherwise does nothing and fontconfig loads on first use.
  // Every change the program makes to the environment must come before.
  FontConfigurationPreload();
  ~FontConfigurationPreload() { wait(); }
  FontConfigurationPreload(const FontConfigurationPreload&) = delete;
  FontConfigurationPreload& operator=(const FontConfigurationPreload&) = delete;

  // Returns once the configuration is loaded (at once when no load was
  // started). Call before the first font is used: fontconfig would otherwise
  // load a second configuration of its own alongside.
  void wait();

  bool started() const { return started_; }

 private:
  std::thread thread_;
  bool started_ = false;
};

}  // namespace tallix::app
