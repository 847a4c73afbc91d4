#include "ui/report/align_edit.h"

#include <limits>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace tallix::ui {

TAlignEdit::TAlignEdit(QWidget* parent) : QLineEdit(parent), content_(LongText::EmptyCopy::Nothing, this) {
  installAccessibleText();
  setReadOnly(true);
  // The line shows whatever text it is given, however long: a pasted text
  // is never cut at the edit's default 32767 characters.
  setMaxLength(std::numeric_limits<int>::max());
  CreateParams();
  connect(&content_, &LongText::textChanged, this, &TAlignEdit::showText);
  connect(&content_, &LongText::selectionChanged, this, &TAlignEdit::showSelection);
  connect(this, &QLineEdit::textChanged, this, &TAlignEdit::adoptText);
  connect(this, &QLineEdit::cursorPositionChanged, this, &TAlignEdit::adoptSelection);
  connect(this, &QLineEdit::selectionChanged, this, &TAlignEdit::adoptSelection);
}

Qt::Alignment TAlignEdit::qtAlignment(TAlignment value) {
  switch (value) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case taLeftJustify: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

void TAlignEdit::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  CreateParams();
}

void TAlignEdit::showText() {
  anchorOutside_ = false;
  if (held()) {
    hold(content_.text().size());
    return;
  }
  from_ = 0;
  showing_ = true;
  QLineEdit::setText(content_.text());
  showing_ = false;
}

void TAlignEdit::showSelection() {
  if (adopting_) return;
  const qsizetype anchor = content_.anchor(), caret = content_.caret();
  if (!held()) {
    showing_ = true;
    if (anchor == caret) {
      setCursorPosition(static_cast<int>(caret));
    } else {
      setSelection(static_cast<int>(anchor), static_cast<int>(caret - anchor));
    }
    showing_ = false;
    return;
  }
  // The part laid out moves only when the caret leaves it.
  const bool inside = caret >= from_ && caret <= from_ + QLineEdit::text().size();
  hold(inside ? from_ : caret - kHeld / 2);
}

void TAlignEdit::hold(qsizetype from) {
  const auto [start, length] = content_.window(from, kHeld);
  from_ = start;
  const qsizetype anchor = content_.anchor(), caret = content_.caret();
  showing_ = true;
  QLineEdit::setText(content_.text().mid(from_, length));
  // An anchor beyond the part is kept by the model; the edit selects up to
  // the part's edge.
  anchorOutside_ = anchor < from_ || anchor > from_ + length;
  const qsizetype localAnchor = std::clamp<qsizetype>(anchor - from_, 0, length);
  const qsizetype localCaret = std::clamp<qsizetype>(caret - from_, 0, length);
  if (localAnchor == localCaret) {
    setCursorPosition(static_cast<int>(localCaret));
  } else {
    setSelection(static_cast<int>(localAnchor), static_cast<int>(localCaret - localAnchor));
  }
  showing_ = false;
}

void TAlignEdit::adoptText() {
  // Only a text set through the line edit itself gets here: it is the whole
  // text from now on.
  if (!showing_) content_.setText(QLineEdit::text());
}

void TAlignEdit::adoptSelection() {
  if (showing_) return;
  const qsizetype caret = from_ + cursorPosition();
  qsizetype anchor = caret;
  if (anchorOutside_) {
    anchor = content_.anchor();
  } else if (hasSelectedText()) {
    const qsizetype start = from_ + selectionStart();
    anchor = caret == start ? start + selectionLength() : start;
  }
  adopting_ = true;
  content_.select(anchor, caret);
  adopting_ = false;
}

QRect TAlignEdit::characterBox(qsizetype offset) const {
  // Only the caret's place is known to the edit without laying out again.
  return offset == from_ + cursorPosition() ? cursorRect() : QRect();
}

qsizetype TAlignEdit::offsetAtPoint(QPoint widgetPoint) { return from_ + cursorPositionAt(widgetPoint); }

void TAlignEdit::keyPressEvent(QKeyEvent* event) {
  if (content_.runKey(*event)) return;
  const bool mark = event->modifiers() & Qt::ShiftModifier;
  const bool moves = event->key() == Qt::Key_Home || event->key() == Qt::Key_End ||
                     event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
  if (held()) {
    const qsizetype size = content_.text().size();
    const qsizetype anchor = content_.anchor(), caret = content_.caret();
    const qsizetype local = cursorPosition();
    switch (event->key()) {
      case Qt::Key_Home: content_.select(mark ? anchor : 0, 0); return;
      case Qt::Key_End: content_.select(mark ? anchor : size, size); return;
      case Qt::Key_Left:
        // At the edge of the part laid out, move the part along first.
        if (local == 0 && from_ > 0) hold(caret - kHeld / 2);
        break;
      case Qt::Key_Right:
        if (local == QLineEdit::text().size() && from_ + local < size) hold(caret - kHeld / 2);
        break;
      default: break;
    }
  }
  // A caret move without Shift ends a selection; Ctrl or Shift pressed alone
  // keeps it.
  if (moves && !mark) anchorOutside_ = false;
  QLineEdit::keyPressEvent(event);
}

void TAlignEdit::mousePressEvent(QMouseEvent* event) {
  anchorOutside_ = false;
  QLineEdit::mousePressEvent(event);
}

void TAlignEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The standard menu of a text field, its copy and select-all acting on the
  // whole text.
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  content_.takeOverMenu(*menu);
  menu->popup(event->globalPos());
}

// The alignment is the only window parameter this control adds; applying it to a
// live edit keeps its text and caret, as recreating the window would.
void TAlignEdit::CreateParams() { QLineEdit::setAlignment(qtAlignment(FAlignment)); }

}  // namespace tallix::ui
