// Built and linked by configure against the Qt WaylandClient it found, when
// the plugin's base classes come from client_buffer_integration.h: classes
// derived from both, overriding only what is pure, so that linking names
// every symbol of the library the declarations rely on (constructors,
// destructors, type information, the default virtuals, the plugin base's
// meta-object). A missing one fails the link and the plugin is not built.
#include "app/wayland_shm/client_buffer_integration.h"

namespace {

class Integration final : public QtWaylandClient::QWaylandClientBufferIntegration {
 public:
  void initialize(QtWaylandClient::QWaylandDisplay*) override {}
  QtWaylandClient::QWaylandWindow* createEglWindow(QWindow*) override { return nullptr; }
  QPlatformOpenGLContext* createPlatformOpenGLContext(const QSurfaceFormat&,
                                                      QPlatformOpenGLContext*) const override {
    return nullptr;
  }
};

class Plugin final : public QtWaylandClient::QWaylandClientBufferIntegrationPlugin {
 public:
  QtWaylandClient::QWaylandClientBufferIntegration* create(const QString&, const QStringList&) override {
    return new Integration;
  }
};

}  // namespace

int main() {
  Plugin plugin;
  QtWaylandClient::QWaylandClientBufferIntegration* integration = plugin.create(QString(), QStringList());
  const bool answers =
      integration->isValid() && !integration->supportsThreadedOpenGL() &&
      integration->supportsWindowDecoration() &&
      integration->nativeResource(QtWaylandClient::QWaylandClientBufferIntegration::EglDisplay) ==
          integration->nativeResourceForContext(QtWaylandClient::QWaylandClientBufferIntegration::EglContext,
                                                nullptr);
  delete integration;
  // The moc of the real plugin names its base's meta-object.
  const QMetaObject* base = &QtWaylandClient::QWaylandClientBufferIntegrationPlugin::staticMetaObject;
  return answers && plugin.metaObject() == base && plugin.qt_metacast("") == nullptr ? 0 : 1;
}
