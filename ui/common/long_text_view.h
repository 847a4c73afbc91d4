#pragma once
// A read-only text of any length, wrapped to the view's width. Character
// widths come from a small per-character table, so wrapping is one linear
// pass, and only the lines on show are shaped and painted: a text of 10 MB
// opens at once and costs a few copies of itself. The whole text can be
// selected (mouse, Shift+click, double-click, Ctrl+A), copied (Ctrl+C, the
// context menu) and is offered whole to screen readers.

#include <array>
#include <vector>

#include <QAbstractScrollArea>
#include <QHash>
#include <QString>

#include "ui/common/accessible_text.h"

namespace tallix::ui {

class LongTextView : public QAbstractScrollArea, public TextSource {
  Q_OBJECT
 public:
  // "\r\n" and a lone "\r" are line breaks, like "\n".
  explicit LongTextView(const QString& text, QWidget* parent = nullptr);

  const QString& text() const { return text_; }
  // The selection as UTF-16 offsets, start <= end; empty when equal.
  qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
  qsizetype selectionEnd() const { return std::max(anchor_, cursor_); }
  qsizetype cursorPosition() const { return cursor_; }
  void setSelection(qsizetype anchor, qsizetype cursor);
  QString selectedText() const;
  void selectAll() { setSelection(0, text_.size()); }
  // Puts the selection on the clipboard; nothing when it is empty.
  void copy() const;

  // Wrapped lines at the current width, and the pixel height of one.
  qsizetype lineCount() const { return static_cast<qsizetype>(starts_.size()); }
  int lineHeight() const;
  // The line holding `offset`, and its start and end (line break excluded).
  qsizetype lineOf(qsizetype offset) const;
  qsizetype lineStart(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
  qsizetype lineEnd(qsizetype line) const;
  // Re-wraps for a viewport `width` pixels wide; returns the line count.
  qsizetype wrapTo(int width);
  // Where the character at `offset` is drawn, in viewport coordinates.
  QRect characterRect(qsizetype offset) const;
  // The offset nearest to a viewport point.
  qsizetype offsetAt(QPoint point) const;
  void ensureVisible(qsizetype offset);

  QSize sizeHint() const override;

  // For screen readers.
  const QString& wholeText() const override { return text_; }
  std::pair<qsizetype, qsizetype> selectionRange() const override;
  void selectRange(qsizetype anchor, qsizetype caret) override { setSelection(anchor, caret); }
  QRect characterBox(qsizetype offset) const override;
  qsizetype offsetAtPoint(QPoint widgetPoint) override;
  void reveal(qsizetype offset) override { ensureVisible(offset); }
  std::pair<qsizetype, qsizetype> lineAround(qsizetype offset) const override;

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
  int unitsAt(qsizetype offset) const;
  void resetMetrics();
  void updateScrollBar();

  QString text_;
  std::vector<qsizetype> starts_{0};
  int wrapWidth_ = -1;
  mutable std::array<qreal, 256> latin_{};
  mutable QHash<char32_t, qreal> others_;
  qsizetype anchor_ = 0;
  qsizetype cursor_ = 0;
};

}  // namespace tallix::ui
