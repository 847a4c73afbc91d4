#include "ui/report/accessible_text.h"

#include <algorithm>
#include <tuple>

#include <QAccessible>
#include <QWidget>

#include "ui/report/long_text.h"

namespace tallix::ui {
namespace {

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (auto* view = dynamic_cast<TextView*>(widget)) return new AccessibleText(widget, *view);
  return nullptr;
}

}  // namespace

void installAccessibleText() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleFactory);
    return true;
  }();
  Q_UNUSED(installed);
}

AccessibleText::AccessibleText(QWidget* widget, TextView& view)
    : QAccessibleWidget(widget, QAccessible::EditableText), view_(view), content_(view.content()) {}

void* AccessibleText::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleText::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.readOnly = true;
  s.multiLine = view_.multiLine();
  s.selectableText = true;
  s.focusable = true;
  return s;
}

QString AccessibleText::text(QAccessible::Text kind) const {
  // A single line is read as its value, as any line edit is.
  if (kind == QAccessible::Value && !view_.multiLine()) return content_.text();
  return QAccessibleWidget::text(kind);
}

void AccessibleText::selection(int index, int* start, int* end) const {
  const qsizetype anchor = content_.anchor(), caret = content_.caret();
  *start = *end = 0;
  if (index == 0 && anchor != caret) {
    *start = static_cast<int>(std::min(anchor, caret));
    *end = static_cast<int>(std::max(anchor, caret));
  }
}

int AccessibleText::selectionCount() const { return content_.hasSelection() ? 1 : 0; }

void AccessibleText::addSelection(int start, int end) { content_.select(start, end); }
void AccessibleText::removeSelection(int) { content_.select(cursorPosition(), cursorPosition()); }
void AccessibleText::setSelection(int, int start, int end) { content_.select(start, end); }
int AccessibleText::cursorPosition() const { return static_cast<int>(content_.caret()); }
void AccessibleText::setCursorPosition(int position) { content_.select(position, position); }

QString AccessibleText::text(int start, int end) const {
  const qsizetype size = content_.text().size();
  const qsizetype from = std::clamp<qsizetype>(start, 0, size);
  const qsizetype to = std::clamp<qsizetype>(end, from, size);
  return content_.text().mid(from, to - from);
}

int AccessibleText::characterCount() const { return static_cast<int>(content_.text().size()); }

QRect AccessibleText::characterRect(int offset) const {
  const QRect box = view_.characterBox(offset);
  return box.isEmpty() ? QRect() : QRect(widget()->mapToGlobal(box.topLeft()), box.size());
}

int AccessibleText::offsetAtPoint(const QPoint& point) const {
  return static_cast<int>(view_.offsetAtPoint(widget()->mapFromGlobal(point)));
}

void AccessibleText::scrollToSubstring(int start, int) { view_.reveal(start); }

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
  const QString& t = content_.text();
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
    case QAccessible::LineBoundary: std::tie(s, e) = view_.lineAround(at); break;
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
