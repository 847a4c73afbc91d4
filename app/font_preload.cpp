#include "app/font_preload.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>

#include <cstdlib>
#include <system_error>

namespace tallix::app {

bool environmentStaysUnchanged() {
  for (const char* name : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN", "WAYLAND_SOCKET"}) {
    if (std::getenv(name) != nullptr) return false;
  }
  return true;
}

FontConfigurationPreload::FontConfigurationPreload() {
  if (!environmentStaysUnchanged()) return;
  try {
    thread_ = std::thread([] {
      pthread_setname_np(pthread_self(), "tallix-fonts");
      // Loads and keeps the default configuration; a failure here is left
      // for the first use to meet and report as it always would.
      FcInit();
    });
    started_ = true;
  } catch (const std::system_error&) {
    // No thread to be had (a tight memory limit): fonts load on first use.
  }
}

void FontConfigurationPreload::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace tallix::app
