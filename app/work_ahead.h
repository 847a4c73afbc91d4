#pragma once
// Start-up work that needs nothing from the application object, done on a
// second thread while the application object is built: loading the system's
// font configuration (about 27 million instructions, a third of the work
// before the first paint) and decoding the window's pictures. Building the
// application object mostly waits for the display server and the session
// bus, so the second thread has the time to itself.

#include <functional>
#include <thread>

namespace tallix::app {

// Whether the toolkit leaves the environment alone while it connects to the
// display. Qt's X11 and Wayland clients remove DESKTOP_STARTUP_ID,
// XDG_ACTIVATION_TOKEN and WAYLAND_SOCKET once they have read them, while
// fontconfig and libjpeg read the environment (HOME, XDG_CONFIG_HOME,
// JPEGMEM, ...) with getenv, which is not safe against a concurrent unsetenv.
bool environmentStaysUnchanged();

class WorkAhead {
 public:
  // Starts `work` on a thread of its own when the environment stays
  // unchanged and a thread can be had; otherwise runs nothing, and each
  // piece is done on first use, as without this. `work` must be safe to
  // leave undone: an exception it throws is dropped and the piece is done
  // again on first use. Every change the program makes to the environment
  // must come before.
  explicit WorkAhead(std::function<void()> work);
  ~WorkAhead() { wait(); }
  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;

  // Returns once the work is done (at once when none was started). Call
  // before the first font is used: fontconfig would otherwise load a second
  // configuration of its own alongside.
  void wait();

  bool started() const { return started_; }

 private:
  std::thread thread_;
  bool started_ = false;
};

}  // namespace tallix::app
