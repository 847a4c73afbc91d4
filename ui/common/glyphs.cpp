#include "ui/common/glyphs.h"

#include <QPixmap>

#include <array>

#include "ui/common/background.h"

// The pictures drawn by assets/make_assets.py.
#include "glyphs/backspace.xpm"
#include "glyphs/divide.xpm"
#include "glyphs/minus.xpm"
#include "glyphs/multiply.xpm"
#include "glyphs/plus.xpm"
#include "glyphs/power.xpm"
#include "glyphs/sqrt.xpm"
#include "glyphs/square.xpm"
#include "icons/tallix.xpm"

namespace tallix::ui {
namespace {

const char* const* xpmOf(Glyph glyph) {
  switch (glyph) {
    case Glyph::Plus: return glyph_plus;
    case Glyph::Minus: return glyph_minus;
    case Glyph::Multiply: return glyph_multiply;
    case Glyph::Divide: return glyph_divide;
    case Glyph::SquareRoot: return glyph_sqrt;
    case Glyph::Square: return glyph_square;
    case Glyph::Power: return glyph_power;
    case Glyph::Backspace: return glyph_backspace;
  }
  return glyph_plus;
}

}  // namespace

QImage withTransparentBackground(const QImage& image) {
  if (image.isNull()) return {};
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      line[x] = (line[x] | 0xFF000000u) == key ? 0u : line[x] | 0xFF000000u;
    }
  }
  return out;
}

QImage glyphImage(Glyph glyph) {
  // Parsed once: a window's keys, and every later window's, share them.
  static const std::array<QImage, kGlyphCount> images = [] {
    std::array<QImage, kGlyphCount> decoded;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
      decoded[i] = withTransparentBackground(QImage(xpmOf(static_cast<Glyph>(i))));
    }
    return decoded;
  }();
  return images[static_cast<std::size_t>(glyph)];
}

namespace {

// The application and each window take the icon: the XPM is parsed once.
const QImage& windowIconImage() {
  static const QImage image(tallix_icon);
  return image;
}

}  // namespace

QIcon windowIcon() { return QIcon(QPixmap::fromImage(windowIconImage())); }

void preparePictures() {
  backgroundImage();
  glyphImage(Glyph::Plus);
  windowIconImage();
}

}  // namespace tallix::ui
