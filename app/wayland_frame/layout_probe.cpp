// Built and linked by configure against the Qt WaylandClient it found, when
// the frame plugin's base classes come from decoration_plugin.h: classes
// derived from both, overriding only what is pure, and one call of every
// function the declarations name, so that linking names every symbol of the
// library they rely on (constructors, destructors, type information, the
// non-virtual members, the meta-objects). A missing one fails the link and
// the plugin is not built. The probe is only linked, never run.
#include "app/wayland_frame/decoration_plugin.h"

namespace {

using QtWaylandClient::QWaylandAbstractDecoration;
using QtWaylandClient::QWaylandInputDevice;

class Frame final : public QWaylandAbstractDecoration {
 public:
  QMargins margins(MarginsType) const override { return {}; }
  bool handleMouse(QWaylandInputDevice* input, const QPointF&, const QPointF&, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers) override {
    const bool clicked = isLeftClicked(buttons) || isRightClicked(buttons) || isLeftReleased(buttons);
    startResize(input, Qt::LeftEdge, buttons);
    startMove(input, buttons);
    showWindowMenu(input);
    setMouseButtons(buttons);
    return clicked;
  }
  bool handleTouch(QWaylandInputDevice*, const QPointF&, const QPointF&, QEventPoint::State,
                   Qt::KeyboardModifiers) override {
    return false;
  }

 protected:
  void paint(QPaintDevice*) override {}
};

class Plugin final : public QtWaylandClient::QWaylandDecorationPlugin {
 public:
  QWaylandAbstractDecoration* create(const QString&, const QStringList&) override { return new Frame; }
};

}  // namespace

int main(int argc, char**) {
  Plugin plugin;
  QWaylandAbstractDecoration* frame = plugin.create(QString(), QStringList());
  bool answers = frame->margins().isNull() && !frame->handleTouch(nullptr, {}, {}, QEventPoint::Pressed, {});
  if (argc > 1) {
    // Never taken: the calls only have to be linked.
    frame->setWaylandWindow(frame->waylandWindow());
    frame->update();
    answers = frame->isDirty() && frame->window() == nullptr && frame->contentImage().isNull() &&
              frame->handleMouse(nullptr, {}, {}, Qt::LeftButton, {});
  }
  delete frame;
  // The moc of the real plugin names its bases' meta-objects.
  const QMetaObject* base = &QtWaylandClient::QWaylandDecorationPlugin::staticMetaObject;
  const QMetaObject* frameBase = &QWaylandAbstractDecoration::staticMetaObject;
  return answers && plugin.metaObject() == base && frameBase != base && plugin.qt_metacast("") == nullptr ? 0
                                                                                                          : 1;
}
