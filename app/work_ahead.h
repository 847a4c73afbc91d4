#pragma once
// Start-up work done on a second thread while the main thread does
// something else: the system's font configuration (about 27 million
// instructions, a third of the work before the first paint) and the
// window's pictures while the application object connects to the display,
// then the session bus connection while the main thread loads fonts.

#include <functional>
#include <thread>

namespace tallix::app {

// Whether the toolkit leaves the environment alone while it connects to the
// display, so that work reading the environment may run meanwhile. Qt's X11
// and Wayland clients remove DESKTOP_STARTUP_ID, XDG_ACTIVATION_TOKEN and
// WAYLAND_SOCKET once they have read them, while fontconfig and libjpeg read
// the environment (HOME, XDG_CONFIG_HOME, JPEGMEM, ...) with getenv, which is
// not safe against a concurrent unsetenv.
bool environmentStaysUnchanged();

class WorkAhead {
 public:
  // Starts `work` on a thread of its own when there is work and a thread
  // can be had; otherwise runs nothing, and each piece is done on first use,
  // as without this. `work` must be safe to leave undone: an exception it
  // throws is dropped and the piece is done again on first use.
  explicit WorkAhead(std::function<void()> work);
  ~WorkAhead() { wait(); }
  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;

  // Returns once the work is done (at once when none was started).
  void wait();

  bool started() const { return started_; }

 private:
  std::thread thread_;
  bool started_ = false;
};

}  // namespace tallix::app
