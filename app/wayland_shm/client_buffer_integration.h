#pragma once
// The two base classes of a Qt Wayland client buffer integration plugin.
// They are private to QtWaylandClient: Qt's own headers declare them where
// they are installed (qt6-wayland-private-dev, Debian 13). Debian 12 ships
// no private headers for QtWaylandClient (qt6-wayland-dev holds the public
// ones only), so for Qt 6.4 they are declared here, to the byte, as
// libQt6WaylandClient.so.6 exports them; configure (CMakeLists.txt beside
// this file, through cmake/TallixWaylandLayout.cmake) checks the vtable
// sizes, the symbols and the interface id against the library it finds and
// builds the plugin only when they match.
//
// How they were first checked, on Qt 6.4.2 (Debian 12, amd64):
// - nm -DS: vtable for QWaylandClientBufferIntegration is 0x60 bytes (offset,
//   type info, 10 slots), for QWaylandClientBufferIntegrationPlugin 0x78
//   bytes (offset, type info, QObject's 12 slots with the destructors, then
//   create).
// - readelf -rW on both vtables, slot by slot, and the same on the vtable of
//   QWaylandEglClientBufferIntegration (libQt6WaylandEglClientHwIntegration),
//   whose slots are named symbols: destructor x2, initialize, isValid,
//   supportsThreadedOpenGL, supportsWindowDecoration, createEglWindow,
//   createPlatformOpenGLContext, nativeResource, nativeResourceForContext.
//   The base's defaults disassemble to "return true" (isValid) and
//   "return false/nullptr" (the others that are not pure); the library
//   does not export them (they are inline), so they are defined here.
// - strings: the factory's interface id below.
//
// The plugin base's meta-object (staticMetaObject, metaObject, qt_metacast,
// qt_metacall) is defined in the library: this header must never go through
// moc, or the program would define it a second time.
#ifdef TALLIX_QT_WAYLAND_PRIVATE_HEADERS

#include <QtWaylandClient/private/qwaylandclientbufferintegration_p.h>
#include <QtWaylandClient/private/qwaylandclientbufferintegrationplugin_p.h>

#define TALLIX_WAYLAND_CLIENT_BUFFER_INTEGRATION_IID QWaylandClientBufferIntegrationFactoryInterface_iid

#else

#include <QObject>
#include <QString>
#include <QStringList>

class QWindow;
class QSurfaceFormat;
class QPlatformOpenGLContext;

#define TALLIX_WAYLAND_CLIENT_BUFFER_INTEGRATION_IID \
  "org.qt-project.Qt.WaylandClient.QWaylandClientBufferIntegrationFactoryInterface.5.3"

namespace QtWaylandClient {

class QWaylandDisplay;
class QWaylandWindow;

// How a Wayland window's buffers are made (EGL, or our shared memory), and
// whether the client may draw its own window frame.
class Q_DECL_IMPORT QWaylandClientBufferIntegration {
 public:
  QWaylandClientBufferIntegration();
  virtual ~QWaylandClientBufferIntegration();

  virtual void initialize(QWaylandDisplay* display) = 0;
  virtual bool isValid() const { return true; }
  virtual bool supportsThreadedOpenGL() const { return false; }
  virtual bool supportsWindowDecoration() const { return false; }
  virtual QWaylandWindow* createEglWindow(QWindow* window) = 0;
  virtual QPlatformOpenGLContext* createPlatformOpenGLContext(const QSurfaceFormat& format,
                                                              QPlatformOpenGLContext* share) const = 0;

  enum NativeResource { EglDisplay, EglConfig, EglContext };
  virtual void* nativeResource(NativeResource) { return nullptr; }
  virtual void* nativeResourceForContext(NativeResource, QPlatformOpenGLContext*) { return nullptr; }

  QWaylandClientBufferIntegration(const QWaylandClientBufferIntegration&) = delete;
  QWaylandClientBufferIntegration& operator=(const QWaylandClientBufferIntegration&) = delete;
};

// The plugin's entry: Qt's factory asks it for the integration by key.
class Q_DECL_IMPORT QWaylandClientBufferIntegrationPlugin : public QObject {
  Q_OBJECT

 public:
  explicit QWaylandClientBufferIntegrationPlugin(QObject* parent = nullptr);
  ~QWaylandClientBufferIntegrationPlugin() override;

  virtual QWaylandClientBufferIntegration* create(const QString& key, const QStringList& paramList) = 0;
};

}  // namespace QtWaylandClient

#endif  // TALLIX_QT_WAYLAND_PRIVATE_HEADERS
