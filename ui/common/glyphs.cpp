#include "ui/common/glyphs.h"

#include <QPixmap>

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

QImage glyphImage(Glyph glyph) { return withTransparentBackground(QImage(xpmOf(glyph))); }

QIcon windowIcon() { return QIcon(QPixmap(tallix_icon)); }

}  // namespace tallix::ui
