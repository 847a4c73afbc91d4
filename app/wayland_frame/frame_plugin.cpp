// "tallix-frame": the window frame Qt's Wayland client draws around the
// program's windows where the compositor draws none (Weston, GNOME). Qt's
// own frame offers minimise and maximise boxes on every window, whatever its
// flags; this one carries the boxes the window's flags ask for
// (caption_buttons.h), as a window manager does under X11: the calculator a
// close box only, the About window a minimise box and a close box. A window
// that can change its size (the help viewer) also gets its resize edges.
// Its look follows Qt's: the palette's window colour, the icon, the title
// centred, the boxes drawn with lines at the right.
#include <QtGui/QIcon>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPalette>
#include <QtGui/QStaticText>
#include <QtGui/QWindow>
#include <QtGui/qpa/qplatformwindow.h>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <optional>

#include "app/wayland_frame/caption_buttons.h"
#include "app/wayland_frame/decoration_plugin.h"

namespace tallix::app {
namespace {

using QtWaylandClient::QWaylandInputDevice;

class CaptionFrame final : public QtWaylandClient::QWaylandAbstractDecoration {
 public:
  QMargins margins(MarginsType type = Full) const override {
    return type == ShadowsOnly ? QMargins()
                               : QMargins(kFrameBorder, kCaptionHeight, kFrameBorder, kFrameBorder);
  }

 protected:
  // Qt paints the frame into an image of the whole surface, at the
  // surface's scale.
  void paint(QPaintDevice* device) override {
    const qreal scale = device->devicePixelRatio();
    frame_ = QSize(qRound(device->width() / scale), qRound(device->height() / scale));
    const QRect frame(QPoint(), frame_);
    const QPalette palette;
    // As the compositor has it: the application's focus window follows only
    // after a round trip, and the frame is painted before.
    const bool active = window()->handle() != nullptr && window()->handle()->isActive();
    const QColor text = palette.color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    QPainter p(device);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(frame, 3, 3);
    const QRect content = frame.marginsRemoved(margins());
    QRegion border(frame);
    border -= content;
    p.setClipRegion(border);
    p.fillPath(outline, palette.color(QPalette::Active, QPalette::Window));
    p.setClipping(false);

    int titleLeft = kFrameBorder + kCaptionSpacing;
    const QIcon icon = window()->icon();
    if (!icon.isNull()) {
      icon.paint(&p, QRect(titleLeft, 4, 22, 22));
      titleLeft += 22 + kCaptionSpacing;
    }
    const QString title = window()->title();
    const CaptionButtons shown = buttons();
    int titleRight = frame.width() - kCaptionRightMargin;
    for (CaptionButton button : {CaptionButton::Close, CaptionButton::Maximize, CaptionButton::Minimize}) {
      if (shown.testFlag(button)) titleRight = static_cast<int>(buttonRect(button).left()) - kCaptionSpacing;
    }
    if (!title.isEmpty()) {
      if (title_.text() != title) {
        title_.setText(title);
        title_.setTextOption(QTextOption(Qt::AlignHCenter | Qt::AlignVCenter));
      }
      QFont font = p.font();
      font.setPixelSize(14);
      p.setFont(font);
      title_.prepare(QTransform(), font);
      p.save();
      p.setClipRect(QRect(titleLeft, 0, titleRight - titleLeft, kCaptionHeight));
      p.setPen(text);
      const QSizeF size = title_.size();
      p.drawStaticText(QPointF((frame.width() - size.width()) / 2, (kCaptionHeight - size.height()) / 2),
                       title_);
      p.restore();
    }

    QPen pen(text);
    pen.setWidth(2);
    p.setPen(pen);
    if (shown.testFlag(CaptionButton::Close)) {
      const QRectF box = buttonRect(CaptionButton::Close);
      const qreal half = box.height() / 2.3 / 2;
      const QPointF c = box.center();
      p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
      p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (shown.testFlag(CaptionButton::Maximize)) {
      const QRectF box = buttonRect(CaptionButton::Maximize).adjusted(4, 5, -4, -5);
      p.setPen(QPen(text));
      p.drawRect(box);
      p.drawLine(box.topLeft() + QPointF(0, 1), box.topRight() + QPointF(0, 1));
      p.setPen(pen);
    }
    if (shown.testFlag(CaptionButton::Minimize)) {
      const QRectF box = buttonRect(CaptionButton::Minimize).adjusted(5, 5, -5, -5);
      p.drawLine(box.bottomLeft(), box.bottomRight());
    }
  }

  bool handleMouse(QWaylandInputDevice* input, const QPointF& local, const QPointF&, Qt::MouseButtons pressed,
                   Qt::KeyboardModifiers) override {
    const QRect frame(QPoint(), frame_);
    if (frame.isEmpty() || frame.marginsRemoved(margins()).contains(local.toPoint())) {
      setMouseButtons(pressed);
      return false;
    }
    if (const Qt::Edges edges = resizeEdges(local, frame); edges && isLeftClicked(pressed)) {
      startResize(input, edges, pressed);
    } else if (isRightClicked(pressed) && local.y() < kCaptionHeight) {
      showWindowMenu(input);
    } else if (const auto button = buttonAt(local)) {
      if (isLeftClicked(pressed)) {
        clicking_ = button;
      } else if (isLeftReleased(pressed)) {
        if (clicking_ == button) press(*button);
        clicking_.reset();
      }
    } else {
      if (isLeftReleased(pressed)) clicking_.reset();
      startMove(input, pressed);
    }
    setMouseButtons(pressed);
    return true;
  }

  bool handleTouch(QWaylandInputDevice* input, const QPointF& local, const QPointF&, QEventPoint::State state,
                   Qt::KeyboardModifiers) override {
    if (state != QEventPoint::Pressed) return false;
    const QRect frame(QPoint(), frame_);
    if (frame.isEmpty() || frame.marginsRemoved(margins()).contains(local.toPoint())) return false;
    if (const auto button = buttonAt(local)) {
      press(*button);
    } else if (const Qt::Edges edges = resizeEdges(local, frame)) {
      startResize(input, edges, Qt::LeftButton);
    } else {
      startMove(input, Qt::LeftButton);
    }
    return true;
  }

 private:
  CaptionButtons buttons() const {
    return captionButtons(window()->flags(), window()->minimumSize() == window()->maximumSize());
  }

  QRectF buttonRect(CaptionButton which) const { return captionButtonRect(buttons(), which, frame_.width()); }

  std::optional<CaptionButton> buttonAt(const QPointF& local) const {
    return captionButtonAt(buttons(), local, frame_.width());
  }

  // The edges under the pointer, on a window that can change its size.
  Qt::Edges resizeEdges(const QPointF& local, const QRect& frame) const {
    if (window()->minimumSize() == window()->maximumSize()) return {};
    Qt::Edges edges;
    if (local.x() < kFrameBorder) edges |= Qt::LeftEdge;
    if (local.x() >= frame.width() - kFrameBorder) edges |= Qt::RightEdge;
    if (local.y() < kFrameBorder) edges |= Qt::TopEdge;
    if (local.y() >= frame.height() - kFrameBorder) edges |= Qt::BottomEdge;
    return edges;
  }

  void press(CaptionButton button) {
    switch (button) {
      case CaptionButton::Close: QWindowSystemInterface::handleCloseEvent(window()); break;
      case CaptionButton::Maximize:
        window()->setWindowStates(window()->windowStates() ^ Qt::WindowMaximized);
        break;
      case CaptionButton::Minimize: window()->setWindowState(Qt::WindowMinimized); break;
    }
  }

  // The surface's size when the frame was last painted: the one the pointer
  // meets.
  QSize frame_;
  QStaticText title_;
  std::optional<CaptionButton> clicking_;
};

}  // namespace

class CaptionFramePlugin final : public QtWaylandClient::QWaylandDecorationPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID TALLIX_WAYLAND_DECORATION_IID FILE "tallix_frame.json")

 public:
  // Qt's Wayland window owns the frame it is given.
  QtWaylandClient::QWaylandAbstractDecoration* create(const QString& key, const QStringList&) override {
    return key == QLatin1String("tallix-frame") ? new CaptionFrame : nullptr;
  }
};

}  // namespace tallix::app

#include "frame_plugin.moc"
