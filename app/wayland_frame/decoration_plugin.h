#pragma once
// The two base classes of a Qt Wayland decoration plugin (the window frame
// Qt's Wayland client draws itself). They are private to QtWaylandClient:
// Qt's own headers declare them where they are installed
// (qt6-wayland-private-dev, Debian 13). Debian 12 ships no private headers
// for QtWaylandClient, so for Qt 6.4 they are declared here, to the byte, as
// libQt6WaylandClient.so.6 exports them; configure (CMakeLists.txt beside
// this file, through cmake/TallixWaylandLayout.cmake) checks the vtable
// sizes, the symbols and the interface id against the library it finds and
// builds the plugin only when they match.
//
// How they were first checked, on Qt 6.4.2 (Debian 12, amd64):
// - nm -DS: vtable for QWaylandAbstractDecoration is 0x90 bytes (offset,
//   type info, 16 slots), for QWaylandDecorationPlugin 0x78 bytes (offset,
//   type info, 13 slots). Both classes are 16 bytes, QObject's own (their
//   deleting destructors free 0x10 bytes; the decoration keeps its state
//   behind QObject's private pointer): no data member of their own.
// - readelf -rW on both vtables, slot by slot, and on the vtable of Qt's own
//   frame, QWaylandBradientDecoration (plugins/wayland-decoration-client/
//   libbradient.so), whose overrides are named symbols: metaObject,
//   qt_metacast, qt_metacall, destructor x2, QObject's event, eventFilter,
//   timerEvent, childEvent, customEvent, connectNotify, disconnectNotify,
//   then margins(MarginsType) const, handleMouse, handleTouch, paint. The
//   base's last four are pure (__cxa_pure_virtual); the plugin's one slot
//   after QObject's, create, is pure too.
// - nm -DC: every non-virtual function declared below is exported with this
//   signature (margins takes the MarginsType, startResize Qt::Edges).
// - strings: the factory's interface id below.
//
// The meta-objects of both (staticMetaObject, metaObject, qt_metacast,
// qt_metacall) are defined in the library: this header must never go
// through moc, or the plugin would define them a second time.
#ifdef TALLIX_QT_WAYLAND_PRIVATE_HEADERS

#include <QtWaylandClient/private/qwaylandabstractdecoration_p.h>
#include <QtWaylandClient/private/qwaylanddecorationplugin_p.h>

#define TALLIX_WAYLAND_DECORATION_IID QWaylandDecorationFactoryInterface_iid

#else

#include <QEventPoint>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <Qt>

class QPaintDevice;
class QWindow;

#define TALLIX_WAYLAND_DECORATION_IID "org.qt-project.Qt.WaylandClient.QWaylandDecorationFactoryInterface.5.4"

namespace QtWaylandClient {

class QWaylandInputDevice;
class QWaylandWindow;

// One window's frame: Qt's Wayland window asks it for its margins, hands it
// the pointer and touch events over the frame, and has it paint the frame
// into an image of the whole surface when it is marked dirty.
class Q_DECL_IMPORT QWaylandAbstractDecoration : public QObject {
  Q_OBJECT

 public:
  enum MarginsType { Full, ShadowsExcluded, ShadowsOnly };

  QWaylandAbstractDecoration();
  ~QWaylandAbstractDecoration() override;

  void setWaylandWindow(QWaylandWindow* window);
  QWaylandWindow* waylandWindow() const;

  void update();
  bool isDirty() const;

  virtual QMargins margins(MarginsType marginsType = Full) const = 0;

  QWindow* window() const;
  const QImage& contentImage();

  virtual bool handleMouse(QWaylandInputDevice* inputDevice, const QPointF& local, const QPointF& global,
                           Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) = 0;
  virtual bool handleTouch(QWaylandInputDevice* inputDevice, const QPointF& local, const QPointF& global,
                           QEventPoint::State state, Qt::KeyboardModifiers modifiers) = 0;

 protected:
  virtual void paint(QPaintDevice* device) = 0;

  void setMouseButtons(Qt::MouseButtons buttons);

  void startResize(QWaylandInputDevice* inputDevice, Qt::Edges edges, Qt::MouseButtons buttons);
  void startMove(QWaylandInputDevice* inputDevice, Qt::MouseButtons buttons);
  void showWindowMenu(QWaylandInputDevice* inputDevice);

  bool isLeftClicked(Qt::MouseButtons newMouseButtonState);
  bool isRightClicked(Qt::MouseButtons newMouseButtonState);
  bool isLeftReleased(Qt::MouseButtons newMouseButtonState);
};

// The plugin's entry: Qt's factory asks it for a frame by key.
class Q_DECL_IMPORT QWaylandDecorationPlugin : public QObject {
  Q_OBJECT

 public:
  explicit QWaylandDecorationPlugin(QObject* parent = nullptr);
  ~QWaylandDecorationPlugin() override;

  virtual QWaylandAbstractDecoration* create(const QString& key, const QStringList& paramList) = 0;
};

}  // namespace QtWaylandClient

#endif  // TALLIX_QT_WAYLAND_PRIVATE_HEADERS
