#pragma once
// The eight button glyphs and the window icon, stored in the program as XPM.

#include <QIcon>
#include <QImage>

#include <cstddef>

namespace tallix::ui {

enum class Glyph { Plus, Minus, Multiply, Divide, SquareRoot, Square, Power, Backspace };
inline constexpr std::size_t kGlyphCount = 8;

// The glyph as drawn, 24 x 24 (backspace 24 x 16), with its background, the
// colour of its bottom-left pixel, made transparent.
QImage glyphImage(Glyph glyph);

// Every pixel of `image` that has the colour of its bottom-left pixel becomes
// fully transparent; the others keep their colour, opaque. An empty image
// stays empty. A 2 x 1 image {white, black} -> {white, transparent}.
QImage withTransparentBackground(const QImage& image);

// Reads a picture the program stores as XPM into a 32-bit ARGB image, as
// Qt's own XPM reader would (converted to ARGB32), but without it: the
// pictures use one character per pixel and "#RRGGBB" or "None" colours,
// read here directly (Qt's reader parses with sscanf, code start-up has no
// other use for). Anything else goes to Qt's reader.
// {"2 1 2 1", ". c None", "A c #FF0000", ".A"} -> {transparent, opaque red}.
QImage xpmImage(const char* const* xpm);

// The teal calculator, 32 x 32 in 16 colours.
QIcon windowIcon();

// Decodes the glyphs, the icon and the background picture ahead of the main
// window (all are kept once decoded). Needs no application object and may
// run on another thread than the one that later draws them.
void preparePictures();

}  // namespace tallix::ui
