#include "app/wayland_buffers.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/loaded_library.h"

namespace tallix::app {
namespace {

constexpr char kIntegrationVariable[] = "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION";
// No client buffer integration has this name: Qt's Wayland client then
// keeps to shared-memory buffers.
constexpr char kSharedMemoryOnly[] = "shm";
// The program's own integration (app/wayland_shm) and where it lies under
// the plugin folder: Qt looks for integrations in this subfolder of every
// library path.
constexpr char kOwnIntegration[] = "tallix-shm";
constexpr char kOwnIntegrationFile[] = "wayland-graphics-integration-client/libtallix_shm.so";

// The few entry points of libwayland-client the question needs, with their
// stable C signatures; the library is not linked, so an X11 start never
// loads it.
struct WlDisplay;
struct WlProxy;
struct WlInterface;
struct RegistryListener {
  void (*global)(void* data, WlProxy* registry, std::uint32_t id, const char* interface,
                 std::uint32_t version);
  void (*globalRemove)(void* data, WlProxy* registry, std::uint32_t id);
};
constexpr std::uint32_t kDisplayGetRegistry = 1;

struct Search {
  std::string_view name;
  bool found = false;
};

void onGlobal(void* data, WlProxy*, std::uint32_t, const char* interface, std::uint32_t) {
  auto* search = static_cast<Search*>(data);
  if (interface != nullptr && search->name == interface) search->found = true;
}
void onGlobalRemove(void*, WlProxy*, std::uint32_t) {}

bool askCompositor(const platform::LoadedLibrary& library, std::string_view name) {
  WlDisplay* (*connect)(const char*) = nullptr;
  void (*disconnect)(WlDisplay*) = nullptr;
  int (*roundtrip)(WlDisplay*) = nullptr;
  WlProxy* (*marshalConstructor)(WlProxy*, std::uint32_t, const WlInterface*, ...) = nullptr;
  int (*addListener)(WlProxy*, void (**)(void), void*) = nullptr;
  void (*destroy)(WlProxy*) = nullptr;
  const auto* registryInterface = static_cast<const WlInterface*>(library.address("wl_registry_interface"));
  if (registryInterface == nullptr || !library.symbol(connect, "wl_display_connect") ||
      !library.symbol(disconnect, "wl_display_disconnect") ||
      !library.symbol(roundtrip, "wl_display_roundtrip") ||
      !library.symbol(marshalConstructor, "wl_proxy_marshal_constructor") ||
      !library.symbol(addListener, "wl_proxy_add_listener") || !library.symbol(destroy, "wl_proxy_destroy")) {
    return false;
  }
  WlDisplay* display = connect(nullptr);
  if (display == nullptr) return false;
  Search search{name};
  static RegistryListener listener{onGlobal, onGlobalRemove};
  WlProxy* registry = marshalConstructor(reinterpret_cast<WlProxy*>(display), kDisplayGetRegistry,
                                         registryInterface, nullptr);
  if (registry != nullptr) {
    // libwayland takes the listener as an array of functions.
    addListener(registry, reinterpret_cast<void (**)(void)>(&listener), &search);
    roundtrip(display);
    destroy(registry);
  }
  disconnect(display);
  return search.found;
}

// Qt's own message when the integration it was asked for does not exist,
// expected once we ask for none; every other message goes on as before.
QtMessageHandler previousHandler = nullptr;

void withoutIntegrationNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool notice = context.category != nullptr && std::string_view(context.category) == "qt.qpa.wayland" &&
                      (message.startsWith(QLatin1String("Failed to load client buffer integration")) ||
                       message.startsWith(QLatin1String("Available client buffer integrations")));
  // Qt hands back its default handler when none was installed.
  if (!notice && previousHandler != nullptr) previousHandler(type, context, message);
}

}  // namespace

bool waylandClientLikely(std::string_view platform, std::string_view waylandDisplay) {
  if (platform.empty()) return !waylandDisplay.empty();
  // A list tries its names in order: the first one decides.
  const std::string_view first = platform.substr(0, platform.find(';'));
  return first == "wayland" || first.rfind("wayland:", 0) == 0;
}

bool compositorOffers(std::string_view name) {
  const platform::LoadedLibrary library(TALLIX_WAYLAND_CLIENT_SONAME);
  return library.isOpen() && askCompositor(library, name);
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

namespace {

// The plugin folder when it holds our integration for the running Qt, else
// empty.
std::string ownIntegrationFolder() {
#ifdef TALLIX_SHM_PLUGIN_QT
  if (!pluginSuitsQt(TALLIX_SHM_PLUGIN_QT, qVersion())) return {};
  std::string folder = pluginFolder();
  std::error_code error;
  if (folder.empty() ||
      !std::filesystem::is_regular_file(std::filesystem::path(folder) / kOwnIntegrationFile, error)) {
    return {};
  }
  return folder;
#else
  return {};
#endif
}

}  // namespace

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
  if (const std::string folder = ownIntegrationFolder(); !folder.empty()) {
    QCoreApplication::addLibraryPath(QString::fromStdString(folder));
    qputenv(kIntegrationVariable, kOwnIntegration);
    return WaylandBuffers::OwnIntegration;
  }
  if (!compositorOffers("zxdg_decoration_manager_v1")) return WaylandBuffers::QtDefault;
  qputenv(kIntegrationVariable, kSharedMemoryOnly);
  previousHandler = qInstallMessageHandler(withoutIntegrationNotice);
  return WaylandBuffers::SharedMemoryOnly;
}

}  // namespace tallix::app
