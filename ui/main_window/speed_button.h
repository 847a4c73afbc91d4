#pragma once
// TSpeedButton: a raised push button that never takes the keyboard focus and
// acts when the left button is released over it. Shows a caption or a glyph.

#include <QAbstractButton>
#include <QImage>

namespace tallix::ui {

class TSpeedButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TSpeedButton(QWidget* parent = nullptr);

  // Operator code of an operator button (operatorCode(), display/controls.h);
  // 0 for the others.
  int Tag = 0;

  // A transparent face lets the picture beneath show through the bevel;
  // an opaque one is filled with the button-face colour.
  void setTransparent(bool transparent);
  bool transparent() const { return transparent_; }

  // The glyph replaces the caption; its background must already be
  // transparent (glyphImage() does that).
  void setGlyph(const QImage& glyph);
  const QImage& glyph() const { return glyph_; }

  QSize sizeHint() const override;

  // The largest pixel size, not above `font`'s, at which `text` fits in
  // `width` pixels; the caption shrinks only when the font in use is wider
  // than the one the layout was drawn for.
  static QFont fittingFont(const QFont& font, const QString& text, int width);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool transparent_ = true;
  QImage glyph_;
};

}  // namespace tallix::ui
