#include "ui/main_window/speed_button.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

#include "ui/common/window_font.h"

namespace tallix::ui {

TSpeedButton::TSpeedButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_NoSystemBackground);
}

void TSpeedButton::setTransparent(bool transparent) {
  transparent_ = transparent;
  update();
}

void TSpeedButton::setGlyph(const QImage& glyph) {
  glyph_ = glyph;
  update();
}

QSize TSpeedButton::sizeHint() const { return size(); }

bool TSpeedButton::event(QEvent* event) {
  const bool handled = QAbstractButton::event(event);
  // The face is the same under the mouse as away from it, but the style
  // asks buttons to repaint whenever the pointer enters or leaves them;
  // without that a window that appears under the pointer is not drawn twice.
  if (event->type() == QEvent::Polish) setAttribute(Qt::WA_Hover, false);
  return handled;
}

QFont TSpeedButton::fittingFont(const QFont& font, const QString& text, int width) {
  QFont fitted = font;
  int pixels = font.pixelSize() > 0 ? font.pixelSize() : 11;
  while (pixels > 6 && QFontMetrics(fitted).horizontalAdvance(text) > width) {
    fitted.setPixelSize(--pixels);
  }
  return fitted;
}

void TSpeedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool sunken = isDown() || isChecked();
  const QBrush face = palette().button();
  qDrawWinButton(&painter, rect(), palette(), sunken, transparent_ ? nullptr : &face);

  // The content moves one pixel down and right while the button is down.
  QRect content = rect().adjusted(2, 2, -2, -2);
  if (sunken) content.translate(1, 1);
  if (!glyph_.isNull()) {
    const QSize size = glyph_.size() / glyph_.devicePixelRatio();
    const QPoint at(content.x() + (content.width() - size.width()) / 2,
                    content.y() + (content.height() - size.height()) / 2);
    painter.drawImage(at, glyph_);
    return;
  }
  painter.setFont(fittingFont(font(), text(), content.width()));
  painter.setPen(palette().color(QPalette::ButtonText));
  drawTextAtDeviceSize(painter, content, Qt::AlignCenter, text());
}

}  // namespace tallix::ui
