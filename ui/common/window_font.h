#pragma once
// The font both windows are laid out in, Tahoma at 11 pixels, and a way to
// draw bold captions that stay bold on high-density screens.

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QRectF>
#include <QString>

namespace tallix::ui {

// Makes "Tahoma" available to the program. Debian ships a Tahoma with the
// same metrics in fonts-wine, in a folder fontconfig does not search, so it
// is taken from there when the system offers none. Only the regular face:
// that package's bold face is wider but draws regular-weight strokes, while
// the emboldened regular face gives real bold digits. Without either, Qt's
// substitute is used and the captions shrink to fit their buttons.
// Returns true when the program draws with that regular face alone, so that
// its bold is the regular face emboldened.
inline bool ensureTahoma() {
  static const bool emboldened = [] {
    // A family of that name installed, not one fontconfig would substitute
    // for it (hasFamily() asks fontconfig for that, a full rule pass).
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)) return false;
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    return QFile::exists(regular) && QFontDatabase::addApplicationFont(regular) >= 0;
  }();
  return emboldened;
}

// The advance widths of Tahoma Bold at `pixels`, for laying out bold text
// drawn with the emboldened regular face: emboldening darkens the strokes but
// keeps the regular advances, so "Tallix (Duvuroreza)" would take 91 pixels
// at 11 instead of bold's 106. Read from fonts-wine's bold face, whose
// advances are right even though its strokes are thin. Invalid when the
// system's own Tahoma (with a bold of its own) is used, or the file is absent.
inline QRawFont tahomaBoldAdvances(int pixels) {
  const QString bold = QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf");
  if (!ensureTahoma() || !QFile::exists(bold)) return {};
  return QRawFont(bold, pixels);
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
