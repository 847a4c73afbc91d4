#include "app/wayland_buffers.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <filesystem>
#include <string_view>
#include <string>
#include <system_error>

namespace tallix::app {
namespace {

// A plugin of the program's own, as the build made it: the Qt release it
// must run on and its file under the plugin folder, in the subfolder where
// Qt looks for plugins of its kind. Empty when it was not built.
struct OwnPlugin {
  std::string_view builtFor;
  const char* file;
};

constexpr char kIntegrationVariable[] = "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION";
// The program's own integration (app/wayland_shm), asked for by name.
constexpr char kOwnIntegration[] = "tallix-shm";
#ifdef TALLIX_SHM_PLUGIN_QT
constexpr OwnPlugin kIntegrationPlugin{TALLIX_SHM_PLUGIN_QT, TALLIX_SHM_PLUGIN_FILE};
#else
constexpr OwnPlugin kIntegrationPlugin{{}, ""};
#endif
// The program's own window frame (app/wayland_frame), asked for by name.
constexpr char kDecorationVariable[] = "QT_WAYLAND_DECORATION";
constexpr char kOwnFrame[] = "tallix-frame";
#ifdef TALLIX_FRAME_PLUGIN_QT
constexpr OwnPlugin kFramePlugin{TALLIX_FRAME_PLUGIN_QT, TALLIX_FRAME_PLUGIN_FILE};
#else
constexpr OwnPlugin kFramePlugin{{}, ""};
#endif

// waylandClientLikely() for this process's environment.
bool waylandClientFromEnvironment() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray display = qgetenv("WAYLAND_DISPLAY");
  return waylandClientLikely(
      std::string_view(platform.constData(), static_cast<std::size_t>(platform.size())),
      std::string_view(display.constData(), static_cast<std::size_t>(display.size())));
}

// The plugin folder when it holds `plugin`, built for a Qt that suits the
// running one, else empty.
std::string ownPluginFolder(const OwnPlugin& plugin) {
  if (!pluginSuitsQt(plugin.builtFor, qVersion())) return {};
  std::string folder = pluginFolder();
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_regular_file(std::filesystem::path(folder) / plugin.file, error))
    return {};
  return folder;
}

}  // namespace

bool waylandClientLikely(std::string_view platform, std::string_view waylandDisplay) {
  if (platform.empty()) return !waylandDisplay.empty();
  // A list tries its names in order: the first one decides.
  const std::string_view first = platform.substr(0, platform.find(';'));
  return first == "wayland" || first.rfind("wayland:", 0) == 0;
}

bool pluginSuitsQt(std::string_view builtFor, std::string_view running) {
  if (builtFor.empty() || running.rfind(builtFor, 0) != 0) return false;
  return running.size() == builtFor.size() || running[builtFor.size()] == '.';
}

std::string pluginFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || program.empty()) return {};
  return (program.parent_path() / "plugins").string();
}

WaylandBuffers preferSharedMemoryBuffers() {
  if (qEnvironmentVariableIsSet(kIntegrationVariable)) return WaylandBuffers::QtDefault;
  if (!waylandClientFromEnvironment()) return WaylandBuffers::QtDefault;
  // Through the application's library paths, not QT_PLUGIN_PATH: nothing
  // the program starts inherits it.
  if (const std::string folder = ownPluginFolder(kIntegrationPlugin); !folder.empty()) {
    QCoreApplication::addLibraryPath(QString::fromStdString(folder));
    qputenv(kIntegrationVariable, kOwnIntegration);
    return WaylandBuffers::OwnIntegration;
  }
  return WaylandBuffers::QtDefault;
}

bool preferOwnFrame() {
  if (qEnvironmentVariableIsSet(kDecorationVariable)) return false;
  if (!waylandClientFromEnvironment()) return false;
  const std::string folder = ownPluginFolder(kFramePlugin);
  if (folder.empty()) return false;
  QCoreApplication::addLibraryPath(QString::fromStdString(folder));
  qputenv(kDecorationVariable, kOwnFrame);
  return true;
}

}  // namespace tallix::app
