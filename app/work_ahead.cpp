#include "app/work_ahead.h"

#include <pthread.h>

#include <cstdlib>
#include <system_error>
#include <utility>

namespace tallix::app {

bool environmentStaysUnchanged() {
  for (const char* name : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN", "WAYLAND_SOCKET"}) {
    if (std::getenv(name) != nullptr) return false;
  }
  return true;
}

WorkAhead::WorkAhead(std::function<void()> work) {
  if (!work) return;
  try {
    thread_ = std::thread([work = std::move(work)] {
      pthread_setname_np(pthread_self(), "tallix-ahead");
      try {
        work();
      } catch (...) {
        // Left for first use, which meets the error again and reports it.
      }
    });
    started_ = true;
  } catch (const std::system_error&) {
    // No thread to be had (a tight memory limit): everything on first use.
  }
}

void WorkAhead::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace tallix::app
