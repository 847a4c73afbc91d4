#pragma once
// Start-up work done on a second thread while the main thread does
// something else: the system's font configuration and the window's pictures
// while the application object connects to the display, then the session
// bus connection while the main thread loads fonts.
//
// What makes it safe is an order, kept by start-up (app/startup.cpp):
// nothing writes the environment while a thread of this kind runs (the
// launcher's tokens, which the toolkit would remove while it connects, are
// taken out before the first thread starts and handed back after the last
// one ends), and the work reads no global locale (the thread runs in the
// "C" locale of its own, so the application object may set the process's
// locale meanwhile).

#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace tallix::app {

// The startup notification a desktop launcher hands the program:
// DESKTOP_STARTUP_ID (X11: the launcher's busy cursor ends when the first
// window maps) and XDG_ACTIVATION_TOKEN (Wayland: the first window may take
// the focus). The toolkit reads them, and removes them from the environment,
// while it connects or when it shows the first window.
struct LaunchTokens {
  std::optional<std::string> startupId;
  std::optional<std::string> activationToken;
};

// Removes both tokens from the environment and returns them. Called on the
// main thread before any other thread exists: a concurrent getenv (fontconfig,
// libjpeg, libdbus read the environment) is not safe against unsetenv.
LaunchTokens takeLaunchTokens();

// Gives the tokens back once the application object exists and no other
// start-up thread runs: the startup id to Qt's X11 connection (which read
// the environment while it connected, before this), each token not taken
// that way back into the environment, where Qt's Wayland client reads the
// activation token when it first activates a window.
void handBackLaunchTokens(const LaunchTokens& tokens);

// Whether the toolkit leaves the environment alone while it connects to the
// display, once the launcher's tokens are taken out. libwayland-client reads
// WAYLAND_SOCKET (a connection a compositor opened for the program it
// started) and removes it while connecting; that one cannot be taken out
// ahead, so with it set no work is done ahead.
bool environmentStaysUnchanged();

class WorkAhead {
 public:
  // Starts `work` on a thread of its own, in the "C" locale, when there is
  // work and a thread can be had; otherwise runs nothing, and each piece is
  // done on first use, as without this. `work` must be safe to leave undone:
  // an exception it throws is dropped and the piece is done again on first
  // use.
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
