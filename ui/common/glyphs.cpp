#include "ui/common/glyphs.h"

#include <QPixmap>

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

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

// The next whole number in `text` after spaces, or -1.
int readCount(std::string_view& text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{}) return -1;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

// One colour line, "K c #RRGGBB" or "K c None": the key and the colour.
bool readColour(std::string_view line, unsigned char& key, QRgb& colour) {
  if (line.size() < 5 || line[1] != ' ') return false;
  key = static_cast<unsigned char>(line[0]);
  line.remove_prefix(2);
  if (line.substr(0, 2) != "c ") return false;
  line.remove_prefix(2);
  if (line == "None") {
    colour = 0u;
    return true;
  }
  if (line.size() != 7 || line[0] != '#') return false;
  unsigned rgb = 0;
  const auto [end, error] = std::from_chars(line.data() + 1, line.data() + line.size(), rgb, 16);
  if (error != std::errc{} || end != line.data() + line.size()) return false;
  colour = 0xFF000000u | rgb;
  return true;
}

// The program's own pictures, or a null image for any other kind of XPM.
QImage readSimpleXpm(const char* const* xpm) {
  std::string_view header = xpm[0];
  const int width = readCount(header);
  const int height = readCount(header);
  const int colours = readCount(header);
  const int charsPerPixel = readCount(header);
  if (width <= 0 || height <= 0 || colours <= 0 || colours > 256 || charsPerPixel != 1) return {};
  while (!header.empty() && header.front() == ' ') header.remove_prefix(1);
  if (!header.empty()) return {};  // a hot spot or extensions
  std::array<QRgb, 256> table{};
  std::array<bool, 256> known{};
  for (int i = 0; i < colours; ++i) {
    unsigned char key = 0;
    QRgb colour = 0;
    if (!readColour(xpm[1 + i], key, colour) || known[key]) return {};
    table[key] = colour;
    known[key] = true;
  }
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    const char* row = xpm[1 + colours + y];
    if (std::strlen(row) != static_cast<std::size_t>(width)) return {};
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const auto key = static_cast<unsigned char>(row[x]);
      if (!known[key]) return {};
      line[x] = table[key];
    }
  }
  return image;
}

}  // namespace

QImage xpmImage(const char* const* xpm) {
  QImage image = readSimpleXpm(xpm);
  if (image.isNull()) image = QImage(xpm).convertToFormat(QImage::Format_ARGB32);
  return image;
}

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
      decoded[i] = withTransparentBackground(xpmImage(xpmOf(static_cast<Glyph>(i))));
    }
    return decoded;
  }();
  return images[static_cast<std::size_t>(glyph)];
}

namespace {

// The application and each window take the icon: the XPM is parsed once.
const QImage& windowIconImage() {
  static const QImage image = xpmImage(tallix_icon);
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
