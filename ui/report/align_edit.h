#pragma once
// The display line: a read-only single-line edit with an Alignment property,
// a view of a LongText. A text of any length costs the line a few copies of
// itself: beyond kHeld characters the edit lays out only kHeld of them
// around the caret (the end, where the change rule puts it), and Home, End
// and the arrows move that part along. The whole text, its selection, Ctrl+A,
// Ctrl+C, the text menu's copy and select-all and what a screen reader reads
// are the model's (content()). The line edit's own members keep their
// meaning: QLineEdit::text() is the part the edit lays out (the whole text
// up to kHeld characters), and QLineEdit::setText() replaces the whole text.

#include <utility>

#include <QLineEdit>
#include <QString>

#include "ui/report/accessible_text.h"
#include "ui/report/long_text.h"

namespace tallix::ui {

class TAlignEdit : public QLineEdit, public TextView {
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

  // The line's alignment for each value: left, right or centred
  // horizontally, always centred vertically.
  static Qt::Alignment qtAlignment(TAlignment value);

  static constexpr qsizetype kHeld = 2048;
  // The whole text and its selection.
  LongText& content() override { return content_; }
  const LongText& content() const { return content_; }
  // Where the part the edit lays out starts in the whole text.
  qsizetype heldFrom() const { return from_; }

  // For screen readers.
  bool multiLine() const override { return false; }
  QRect characterBox(qsizetype offset) const override;
  qsizetype offsetAtPoint(QPoint widgetPoint) override;
  void reveal(qsizetype offset) override { content_.select(offset, offset); }
  std::pair<qsizetype, qsizetype> lineAround(qsizetype) const override { return {0, content_.text().size()}; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateParams();
  bool held() const { return content_.text().size() > kHeld; }
  // Lays out the part starting near `from` and shows the model's selection
  // in it, clipped to the part.
  void hold(qsizetype from);
  // The model changed: show its text, or its selection.
  void showText();
  void showSelection();
  // The edit changed its own text, caret or selection: the model follows.
  void adoptText();
  void adoptSelection();

  LongText content_;
  qsizetype from_ = 0;
  bool anchorOutside_ = false;  // the selection's anchor lies beyond the part laid out
  bool showing_ = false;        // the edit is being set from the model
  bool adopting_ = false;       // the model is being set from the edit

  TAlignment FAlignment = taLeftJustify;
};

}  // namespace tallix::ui
