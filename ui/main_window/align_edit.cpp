#include "ui/main_window/align_edit.h"

#include <algorithm>
#include <cstdlib>
#include <array>
#include <limits>

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace tallix::ui {
namespace {

constexpr int ES_LEFT = 0;
constexpr int ES_CENTER = 1;
constexpr int ES_RIGHT = 2;

// Indexed by TAlignment: left, right, centre.
constexpr std::array<int, 3> kAlignmentStyles = {ES_LEFT, ES_RIGHT, ES_CENTER};

Qt::Alignment qtAlignment(int style) {
  switch (style) {
    case ES_RIGHT: return Qt::AlignRight | Qt::AlignVCenter;
    case ES_CENTER: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
  if (auto* edit = qobject_cast<TAlignEdit*>(object)) return new AccessibleText(edit, *edit, false);
  return nullptr;
}

}  // namespace

TAlignEdit::TAlignEdit(QWidget* parent) : QLineEdit(parent) {
  static const bool accessibleInstalled = [] {
    QAccessible::installFactory(accessibleFactory);
    return true;
  }();
  Q_UNUSED(accessibleInstalled);
  setReadOnly(true);
  // The line shows whatever text it is given, however long: a pasted text
  // is never cut at the edit's default 32767 characters.
  setMaxLength(std::numeric_limits<int>::max());
  CreateParams();
}

int TAlignEdit::editStyle(TAlignment value) { return kAlignmentStyles.at(static_cast<std::size_t>(value)); }

void TAlignEdit::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  CreateParams();
}

void TAlignEdit::setText(const QString& text) {
  full_ = text;
  outerAnchor_ = -1;
  if (held()) {
    hold(full_.size(), full_.size(), full_.size());
  } else {
    from_ = 0;
    QLineEdit::setText(full_);
  }
}

void TAlignEdit::hold(qsizetype from, qsizetype anchor, qsizetype caret) {
  from_ = std::clamp<qsizetype>(from, 0, std::max<qsizetype>(0, full_.size() - kHeld));
  if (from_ > 0 && full_.at(from_).isLowSurrogate()) --from_;  // never half a character
  qsizetype length = std::min(kHeld, full_.size() - from_);
  if (from_ + length < full_.size() && full_.at(from_ + length).isLowSurrogate()) ++length;
  QLineEdit::setText(full_.mid(from_, length));
  // An anchor beyond the held part is kept aside; the edit selects up to
  // the part's edge.
  outerAnchor_ = anchor < from_ || anchor > from_ + length ? anchor : -1;
  const qsizetype localAnchor = std::clamp<qsizetype>(anchor - from_, 0, length);
  const qsizetype localCaret = std::clamp<qsizetype>(caret - from_, 0, length);
  if (localAnchor == localCaret) {
    setCursorPosition(static_cast<int>(localCaret));
  } else {
    setSelection(static_cast<int>(localAnchor), static_cast<int>(localCaret - localAnchor));
  }
}

QString TAlignEdit::selectedText() const {
  const auto [anchor, caret] = selectionRange();
  return full_.mid(std::min(anchor, caret), std::abs(caret - anchor));
}

void TAlignEdit::selectAll() {
  if (held()) {
    hold(full_.size(), 0, full_.size());
  } else {
    QLineEdit::selectAll();
  }
}

void TAlignEdit::copy() const {
  const auto [anchor, caret] = selectionRange();
  if (anchor != caret) QGuiApplication::clipboard()->setText(selectedText());
}

void TAlignEdit::end(bool mark) {
  if (!held()) {
    QLineEdit::end(mark);
    return;
  }
  const auto [anchor, caret] = selectionRange();
  hold(full_.size(), mark ? anchor : full_.size(), full_.size());
}

std::pair<qsizetype, qsizetype> TAlignEdit::selectionRange() const {
  const qsizetype caret = from_ + cursorPosition();
  if (outerAnchor_ >= 0) return {outerAnchor_, caret};
  if (!hasSelectedText()) return {caret, caret};
  const qsizetype start = from_ + selectionStart();
  const qsizetype anchor = caret == start ? start + selectionLength() : start;
  return {anchor, caret};
}

void TAlignEdit::selectRange(qsizetype anchor, qsizetype caret) {
  if (!held()) {
    setSelection(static_cast<int>(anchor), static_cast<int>(caret - anchor));
    return;
  }
  hold(caret - kHeld / 2, anchor, caret);
}

QRect TAlignEdit::characterBox(qsizetype offset) const {
  // Only the caret's place is known to the edit without laying out again.
  return offset == from_ + cursorPosition() ? cursorRect() : QRect();
}

qsizetype TAlignEdit::offsetAtPoint(QPoint widgetPoint) { return from_ + cursorPositionAt(widgetPoint); }

void TAlignEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    copy();
    return;
  }
  const bool mark = event->modifiers() & Qt::ShiftModifier;
  const bool moves = event->key() == Qt::Key_Home || event->key() == Qt::Key_End ||
                     event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
  // A caret move without Shift ends a selection; Ctrl or Shift pressed alone
  // keeps it.
  if (moves && !mark) outerAnchor_ = -1;
  if (held()) {
    const auto [anchor, caret] = selectionRange();
    const qsizetype local = cursorPosition();
    switch (event->key()) {
      case Qt::Key_Home: hold(0, mark ? anchor : 0, 0); return;
      case Qt::Key_End: hold(full_.size(), mark ? anchor : full_.size(), full_.size()); return;
      case Qt::Key_Left:
        // At the edge of the held part, move the part along first.
        if (local == 0 && from_ > 0) hold(caret - kHeld / 2, anchor, caret);
        break;
      case Qt::Key_Right:
        if (local == QLineEdit::text().size() && from_ + local < full_.size()) {
          hold(caret - kHeld / 2, anchor, caret);
        }
        break;
      default: break;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TAlignEdit::mousePressEvent(QMouseEvent* event) {
  outerAnchor_ = -1;
  QLineEdit::mousePressEvent(event);
}

void TAlignEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The standard menu of a text field, its copy and select-all acting on the
  // whole text.
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (QAction* copyAction = menu->findChild<QAction*>(QStringLiteral("edit-copy"))) {
    disconnect(copyAction, &QAction::triggered, nullptr, nullptr);
    connect(copyAction, &QAction::triggered, this, &TAlignEdit::copy);
  }
  if (QAction* selectAllAction = menu->findChild<QAction*>(QStringLiteral("select-all"))) {
    disconnect(selectAllAction, &QAction::triggered, nullptr, nullptr);
    connect(selectAllAction, &QAction::triggered, this, &TAlignEdit::selectAll);
  }
  menu->popup(event->globalPos());
}

// The style is the only window parameter this control adds; applying it to a
// live edit keeps its text and caret, as recreating the window would.
void TAlignEdit::CreateParams() { QLineEdit::setAlignment(qtAlignment(editStyle(FAlignment))); }

}  // namespace tallix::ui
