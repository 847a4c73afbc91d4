#pragma once
// The program's entry sequence: regional settings, the application object,
// the main window, the one event loop.

#include <functional>

#include "ui/common/services.h"

namespace tallix::app {

// Test hooks, run at the named points of start-up; an error thrown from one
// is handled as an error at that point would be.
struct StartupHooks {
  std::function<void()> beforeMainWindow;  // after the application object exists
  std::function<void()> afterMainWindow;   // after FormCreate, before the window is shown
  std::function<void()> beforeLoop;        // once the window is shown; e.g. schedule a close
};

// Runs the program with its own services (the Qt host, the help viewer, the
// Linux machine figures) and returns its exit code: 0 after the main window
// has been closed, 1 after a fatal start-up error (its report shown first),
// 2 when there is no display to open a window on.
int run(int argc, char** argv);

// The same with the services given: the tests' own.
int run(int argc, char** argv, const ui::Services& services, const StartupHooks& hooks = {});

// True when Qt can find a display: a platform is named (QT_QPA_PLATFORM)
// or an X11 or Wayland display is set.
bool displayAvailable();

}  // namespace tallix::app
