// "tallix-shm": a client buffer integration for Qt's Wayland client that
// sets up nothing at all. The program's windows are raster windows, painted
// into shared memory by Qt's own backing store, which also paints the
// client-side window frame; Qt 6.4 draws that frame only when a valid
// integration says it may. Its EGL integration says so, at the cost of
// loading EGL, Mesa's software renderer and LLVM (about 50 MB resident) for
// the answer alone. This one gives the same answer and loads nothing.
//
// OpenGL surfaces are not served: createEglWindow gives no window, and Qt
// then reports that it could not create the platform window and goes on.
#include <QObject>
#include <QString>
#include <QStringList>

#include "app/wayland_shm/client_buffer_integration.h"

namespace tallix::app {
namespace {

class SharedMemoryIntegration final : public QtWaylandClient::QWaylandClientBufferIntegration {
 public:
  void initialize(QtWaylandClient::QWaylandDisplay*) override {}
  bool isValid() const override { return true; }
  bool supportsThreadedOpenGL() const override { return false; }
  bool supportsWindowDecoration() const override { return true; }
  QtWaylandClient::QWaylandWindow* createEglWindow(QWindow*) override { return nullptr; }
  QPlatformOpenGLContext* createPlatformOpenGLContext(const QSurfaceFormat&,
                                                      QPlatformOpenGLContext*) const override {
    return nullptr;
  }
  void* nativeResource(NativeResource) override { return nullptr; }
  void* nativeResourceForContext(NativeResource, QPlatformOpenGLContext*) override { return nullptr; }
};

}  // namespace

class SharedMemoryIntegrationPlugin final : public QtWaylandClient::QWaylandClientBufferIntegrationPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID TALLIX_WAYLAND_CLIENT_BUFFER_INTEGRATION_IID FILE "tallix_shm.json")

 public:
  // Qt's Wayland integration owns what it is given and deletes it at exit.
  QtWaylandClient::QWaylandClientBufferIntegration* create(const QString& key, const QStringList&) override {
    return key == QLatin1String("tallix-shm") ? new SharedMemoryIntegration : nullptr;
  }
};

}  // namespace tallix::app

#include "shm_integration_plugin.moc"
