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

constexpr char kIntegrationVariable[] = "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION";
// The program's own integration (app/wayland_shm) and where it lies under
// the plugin folder: Qt looks for integrations in this subfolder of every
// library path.
constexpr char kOwnIntegration[] = "tallix-shm";
constexpr char kOwnIntegrationFile[] = "wayland-graphics-integration-client/libtallix_shm.so";
// The program's own window frame (app/wayland_frame), asked for by name.
constexpr char kDecorationVariable[] = "QT_WAYLAND_DECORATION";
constexpr char kOwnFrame[] = "tallix-frame";
constexpr char kOwnFrameFile[] = "wayland-decoration-client/libtallix_frame.so";

// The plugin folder when it holds `file`, built for Qt `builtFor`, and that
// suits the running Qt, else empty.
std::string ownPluginFolder(std::string_view builtFor, const char* file) {
  if (!pluginSuitsQt(builtFor, qVersion())) return {};
  std::string folder = pluginFolder();
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_regular_file(std::filesystem::path(folder) / file, error))
    return {};
  return folder;
}

#ifdef TALLIX_SHM_PLUGIN_QT
constexpr std::string_view kIntegrationBuiltFor = TALLIX_SHM_PLUGIN_QT;
#else
constexpr std::string_view kIntegrationBuiltFor;
#endif
#ifdef TALLIX_FRAME_PLUGIN_QT
constexpr std::string_view kFrameBuiltFor = TALLIX_FRAME_PLUGIN_QT;
#else
constexpr std::string_view kFrameBuiltFor;
#endif

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
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray display = qgetenv("WAYLAND_DISPLAY");
  if (!waylandClientLikely(std::string_view(platform.constData(), static_cast<std::size_t>(platform.size())),
                           std::string_view(display.constData(), static_cast<std::size_t>(display.size())))) {
    return WaylandBuffers::QtDefault;
  }
  // Through the application's library paths, not QT_PLUGIN_PATH: nothing
  // the program starts inherits it.
  if (const std::string folder = ownPluginFolder(kIntegrationBuiltFor, kOwnIntegrationFile);
      !folder.empty()) {
    QCoreApplication::addLibraryPath(QString::fromStdString(folder));
    qputenv(kIntegrationVariable, kOwnIntegration);
    return WaylandBuffers::OwnIntegration;
  }
  return WaylandBuffers::QtDefault;
}

bool preferOwnFrame() {
  if (qEnvironmentVariableIsSet(kDecorationVariable)) return false;
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray display = qgetenv("WAYLAND_DISPLAY");
  if (!waylandClientLikely(std::string_view(platform.constData(), static_cast<std::size_t>(platform.size())),
                           std::string_view(display.constData(), static_cast<std::size_t>(display.size())))) {
    return false;
  }
  const std::string folder = ownPluginFolder(kFrameBuiltFor, kOwnFrameFile);
  if (folder.empty()) return false;
  QCoreApplication::addLibraryPath(QString::fromStdString(folder));
  qputenv(kDecorationVariable, kOwnFrame);
  return true;
}

}  // namespace tallix::app
