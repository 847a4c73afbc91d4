#include "app/work_ahead.h"

#include <locale.h>
#include <pthread.h>

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <cstdlib>
#include <system_error>
#include <utility>

namespace tallix::app {
namespace {

constexpr const char* kStartupId = "DESKTOP_STARTUP_ID";
constexpr const char* kActivationToken = "XDG_ACTIVATION_TOKEN";

std::optional<std::string> take(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  std::string kept = value;
  unsetenv(name);
  return kept;
}

// Qt's X11 connection keeps the startup id it read while connecting, sets it
// on the first window it creates and sends the launcher its "remove" message
// when that window is shown; "setstartupid" gives it one afterwards.
bool giveToX11Connection(const std::string& startupId) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (native == nullptr) return false;
  const auto function = native->nativeResourceFunctionForIntegration(QByteArrayLiteral("setstartupid"));
  if (function == nullptr) return false;
  // Qt hands every such function out as void* (*)(); this one is
  // void (*)(const char*). The cast goes through void (*)(), the type for
  // "some function".
  using SetStartupId = void (*)(const char*);
  reinterpret_cast<SetStartupId>(reinterpret_cast<void (*)()>(function))(startupId.c_str());
  return true;
}

}  // namespace

LaunchTokens takeLaunchTokens() { return {take(kStartupId), take(kActivationToken)}; }

void handBackLaunchTokens(const LaunchTokens& tokens) {
  // Through qputenv: under the lock Qt's own threads take when they read the
  // environment.
  if (tokens.startupId && !giveToX11Connection(*tokens.startupId)) {
    qputenv(kStartupId, QByteArray::fromStdString(*tokens.startupId));
  }
  if (tokens.activationToken) qputenv(kActivationToken, QByteArray::fromStdString(*tokens.activationToken));
}

bool environmentStaysUnchanged() { return std::getenv("WAYLAND_SOCKET") == nullptr; }

WorkAhead::WorkAhead(std::function<void()> work) {
  if (!work) return;
  // glibc's own "C" locale object: newlocale allocates nothing for it and
  // reads no environment.
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (c == static_cast<locale_t>(nullptr)) return;
  try {
    thread_ = std::thread([work = std::move(work), c] {
      pthread_setname_np(pthread_self(), "tallix-ahead");
      // The work (fontconfig's strtod and localeconv, the character classes)
      // reads this thread's locale, never the process's, which the
      // application object sets meanwhile.
      uselocale(c);
      try {
        work();
      } catch (...) {
        // Left for first use, which meets the error again and reports it.
      }
      uselocale(LC_GLOBAL_LOCALE);
      freelocale(c);
    });
    started_ = true;
  } catch (const std::system_error&) {
    // No thread to be had (a tight memory limit): everything on first use.
    freelocale(c);
  }
}

void WorkAhead::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace tallix::app
