#pragma once
// The font both windows are laid out in, Tahoma at 11 pixels, and a way to
// draw bold captions that stay bold on high-density screens.

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace tallix::ui {

// Makes "Tahoma" available to the program. Debian ships a Tahoma with the
// same metrics in fonts-wine, in a folder fontconfig does not search, so it
// is taken from there when the system offers none. Only the regular face:
// that package's bold face is wider but draws regular-weight strokes, while
// the emboldened regular face gives real bold digits. Without either, Qt's
// substitute is used and the captions shrink to fit their buttons.
inline void ensureTahoma() {
  static const bool checked = [] {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) return true;
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(regular)) QFontDatabase::addApplicationFont(regular);
    return true;
  }();
  (void)checked;
}

// windowFont(11, false): the windows' own font; windowFont(16, false): the
// display line's.
inline QFont windowFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// Draws `text` in `rect` as QPainter::drawText(rect, flags, text) does. A
// painter scaled for a high-density screen loses the emboldening of a face
// that has no bold of its own, so bold text is then rasterised at the
// device's pixel size and laid in as a picture of the same logical size.
inline void drawTextAtDeviceSize(QPainter& painter, const QRect& rect, int flags, const QString& text) {
  const QTransform device = painter.deviceTransform();
  const qreal scale = device.m11();
  const QFont font = painter.font();
  const bool plainScale = device.type() <= QTransform::TxScale && qFuzzyCompare(scale, device.m22());
  if (!font.bold() || !plainScale || qFuzzyCompare(scale, qreal(1)) || scale <= 0 || font.pixelSize() <= 0 ||
      rect.isEmpty()) {
    painter.drawText(rect, flags, text);
    return;
  }
  QImage layer((QSizeF(rect.size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter inLayer(&layer);
    QFont scaled = font;
    scaled.setPixelSize(qRound(font.pixelSize() * scale));
    inLayer.setFont(scaled);
    inLayer.setPen(painter.pen());
    inLayer.drawText(layer.rect(), flags, text);
  }
  layer.setDevicePixelRatio(scale);
  painter.drawImage(rect.topLeft(), layer);
}

}  // namespace tallix::ui
