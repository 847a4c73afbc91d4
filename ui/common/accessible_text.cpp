#include "ui/common/accessible_text.h"

#include <algorithm>
#include <tuple>

#include <QWidget>

namespace tallix::ui {

AccessibleText::AccessibleText(QWidget* widget, TextSource& source, bool multiLine)
    : QAccessibleWidget(widget, QAccessible::EditableText), source_(source), multiLine_(multiLine) {}

void* AccessibleText::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleText::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.readOnly = true;
  s.multiLine = multiLine_;
  s.selectableText = true;
  s.focusable = true;
  return s;
}

QString AccessibleText::text(QAccessible::Text kind) const {
  // A single line is read as its value, as any line edit is.
  if (kind == QAccessible::Value && !multiLine_) return source_.wholeText();
  return QAccessibleWidget::text(kind);
}

void AccessibleText::selection(int index, int* start, int* end) const {
  const auto [anchor, caret] = source_.selectionRange();
  *start = *end = 0;
  if (index == 0 && anchor != caret) {
    *start = static_cast<int>(std::min(anchor, caret));
    *end = static_cast<int>(std::max(anchor, caret));
  }
}

int AccessibleText::selectionCount() const {
  const auto [anchor, caret] = source_.selectionRange();
  return anchor != caret ? 1 : 0;
}

void AccessibleText::addSelection(int start, int end) { source_.selectRange(start, end); }
void AccessibleText::removeSelection(int) { source_.selectRange(cursorPosition(), cursorPosition()); }
void AccessibleText::setSelection(int, int start, int end) { source_.selectRange(start, end); }
int AccessibleText::cursorPosition() const { return static_cast<int>(source_.selectionRange().second); }
void AccessibleText::setCursorPosition(int position) { source_.selectRange(position, position); }

QString AccessibleText::text(int start, int end) const {
  const qsizetype size = source_.wholeText().size();
  const qsizetype from = std::clamp<qsizetype>(start, 0, size);
  const qsizetype to = std::clamp<qsizetype>(end, from, size);
  return source_.wholeText().mid(from, to - from);
}

int AccessibleText::characterCount() const { return static_cast<int>(source_.wholeText().size()); }

QRect AccessibleText::characterRect(int offset) const {
  const QRect box = source_.characterBox(offset);
  return box.isEmpty() ? QRect() : QRect(widget()->mapToGlobal(box.topLeft()), box.size());
}

int AccessibleText::offsetAtPoint(const QPoint& point) const {
  return static_cast<int>(source_.offsetAtPoint(widget()->mapFromGlobal(point)));
}

void AccessibleText::scrollToSubstring(int start, int) { source_.reveal(start); }

QString AccessibleText::attributes(int offset, int* start, int* end) const {
  *start = *end = offset;
  return {};
}

QString AccessibleText::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                     int* end) const {
  range(offset, type, start, end);
  return text(*start, *end);
}

QString AccessibleText::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                         int* end) const {
  range(offset, type, start, end);
  if (*start <= 0) {
    *start = *end = 0;
    return {};
  }
  range(*start - 1, type, start, end);
  return text(*start, *end);
}

QString AccessibleText::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                        int* end) const {
  range(offset, type, start, end);
  if (*end >= characterCount()) {
    *start = *end = characterCount();
    return {};
  }
  range(*end, type, start, end);
  return text(*start, *end);
}

void AccessibleText::range(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
  const QString& t = source_.wholeText();
  const qsizetype size = t.size();
  const qsizetype at = std::clamp<qsizetype>(offset, 0, size);
  const auto isBreak = [](QChar c) { return c == QLatin1Char('\n'); };
  qsizetype s = at, e = at;
  switch (type) {
    case QAccessible::CharBoundary:
      e = std::min(size, at + 1);
      if (e < size && t.at(at).isHighSurrogate()) ++e;
      break;
    case QAccessible::WordBoundary:
      while (s > 0 && !t.at(s - 1).isSpace()) --s;
      while (e < size && !t.at(e).isSpace()) ++e;
      while (e < size && t.at(e).isSpace() && !isBreak(t.at(e))) ++e;
      break;
    case QAccessible::LineBoundary: std::tie(s, e) = source_.lineAround(at); break;
    case QAccessible::SentenceBoundary:
    case QAccessible::ParagraphBoundary:
      while (s > 0 && !isBreak(t.at(s - 1))) --s;
      while (e < size && !isBreak(t.at(e))) ++e;
      if (e < size) ++e;
      break;
    case QAccessible::NoBoundary:
      s = 0;
      e = size;
      break;
  }
  *start = static_cast<int>(s);
  *end = static_cast<int>(e);
}

}  // namespace tallix::ui
