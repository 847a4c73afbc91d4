#pragma once
// The report's view of a LongText: a read-only text of any length, wrapped
// to the view's width. Character widths come from a small per-character
// table, so wrapping is one linear pass, and only the lines on show are
// shaped and painted: a text of 10 MB opens at once and costs a few copies
// of itself. Selecting (mouse, Shift+click, double-click, Ctrl+A), copying
// (Ctrl+C, the text menu) and screen readers go through the model.

#include <array>

#include <QAbstractScrollArea>
#include <QHash>
#include <QString>

#include "ui/report/accessible_text.h"
#include "ui/report/long_text.h"

namespace tallix::ui {

class LongTextView : public QAbstractScrollArea, public TextView {
  Q_OBJECT
 public:
  // "\r\n" and a lone "\r" are line breaks, like "\n". The caret starts at
  // the beginning; `emptyCopy` says what Ctrl+C copies with nothing selected.
  LongTextView(const QString& text, LongText::EmptyCopy emptyCopy, QWidget* parent = nullptr);

  LongText& content() override { return content_; }
  const LongText& content() const { return content_; }

  // Wrapped lines at the current width, and the pixel height of one.
  qsizetype lineCount() const { return lines_.lineCount(); }
  int lineHeight() const;
  qsizetype lineOf(qsizetype offset) const { return lines_.lineOf(offset); }
  qsizetype lineStart(qsizetype line) const { return lines_.lineStart(line); }
  qsizetype lineEnd(qsizetype line) const { return lines_.lineEnd(content_.text(), line); }
  // Re-wraps for a viewport `width` pixels wide; returns the line count.
  qsizetype wrapTo(int width);
  // Where the character at `offset` is drawn, in viewport coordinates.
  QRect characterRect(qsizetype offset) const;
  // The offset nearest to a viewport point.
  qsizetype offsetAt(QPoint point) const;
  void ensureVisible(qsizetype offset);

  QSize sizeHint() const override;

  // For screen readers.
  bool multiLine() const override { return true; }
  QRect characterBox(qsizetype offset) const override;
  qsizetype offsetAtPoint(QPoint widgetPoint) override;
  void reveal(qsizetype offset) override { ensureVisible(offset); }
  std::pair<qsizetype, qsizetype> lineAround(qsizetype offset) const override {
    return lines_.lineAround(content_.text(), offset);
  }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Width of the character (one or two UTF-16 units) at `offset`.
  qreal advance(qsizetype offset, int units) const;
  qreal widthOf(qsizetype from, qsizetype to) const;
  void resetMetrics();
  void updateScrollBar();
  void showSelection();

  LongText content_;
  LineWrap lines_;
  int wrapWidth_ = -1;
  mutable std::array<qreal, 256> latin_{};
  mutable QHash<char32_t, qreal> others_;
};

}  // namespace tallix::ui
