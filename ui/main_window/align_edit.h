#pragma once
// The display line: a read-only single-line edit with an Alignment property.
// A text of any length costs the line a few copies of itself: beyond
// kHeld characters the edit lays out only kHeld of them around the caret
// (the end, where the change rule puts it), and Home, End and the arrows
// move that part along. The whole text stays selectable (Ctrl+A, the
// context menu), copyable and read by screen readers.

#include <utility>

#include <QLineEdit>
#include <QString>

#include "ui/common/accessible_text.h"

namespace tallix::ui {

class TAlignEdit : public QLineEdit, public TextSource {
  Q_OBJECT
  Q_PROPERTY(TAlignment Alignment READ alignment WRITE SetAlignment)
 public:
  // The three alignments, numbered as the property stores them.
  enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
  Q_ENUM(TAlignment)

  explicit TAlignEdit(QWidget* parent = nullptr);

  TAlignment alignment() const { return FAlignment; }
  // Stores the new alignment and re-applies the edit style at once; text,
  // caret and selection carry over. Setting the current value does nothing.
  void SetAlignment(TAlignment value);

  // The edit-control style of each alignment: left 0 (ES_LEFT), right 2
  // (ES_RIGHT), centre 1 (ES_CENTER); note the order differs from the
  // property's values.
  static int editStyle(TAlignment value);

  static constexpr qsizetype kHeld = 2048;
  // The whole text: these hide the line edit's own, which see the held part.
  void setText(const QString& text);
  const QString& text() const { return full_; }
  QString selectedText() const;
  void selectAll();
  void copy() const;
  // The caret to the end of the whole text; with `mark`, selecting to it.
  void end(bool mark);
  // Where the part the edit holds starts in the whole text.
  qsizetype heldFrom() const { return from_; }

  // For screen readers.
  const QString& wholeText() const override { return full_; }
  std::pair<qsizetype, qsizetype> selectionRange() const override;
  void selectRange(qsizetype anchor, qsizetype caret) override;
  QRect characterBox(qsizetype offset) const override;
  qsizetype offsetAtPoint(QPoint widgetPoint) override;
  void reveal(qsizetype offset) override { selectRange(offset, offset); }
  std::pair<qsizetype, qsizetype> lineAround(qsizetype) const override { return {0, full_.size()}; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateParams();
  // Holds the part starting near `from` and selects anchor..caret (whole-text
  // offsets, clipped to the part).
  void hold(qsizetype from, qsizetype anchor, qsizetype caret);
  bool held() const { return full_.size() > kHeld; }

  QString full_;
  qsizetype from_ = 0;
  qsizetype outerAnchor_ = -1;  // a selection's anchor beyond the held part, else -1

  TAlignment FAlignment = taLeftJustify;
};

}  // namespace tallix::ui
