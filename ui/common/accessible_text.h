#pragma once
// Screen-reader access to a text widget that lays out only part of its text:
// the widget answers in offsets of its whole text, and AccessibleText turns
// that into the toolkit's accessible text interface.

#include <utility>

#include <QAccessibleWidget>
#include <QString>

namespace tallix::ui {

// What a screen reader asks of the widget, in UTF-16 offsets of the whole text.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual const QString& wholeText() const = 0;
  // Selection as anchor and caret; equal when nothing is selected.
  virtual std::pair<qsizetype, qsizetype> selectionRange() const = 0;
  virtual void selectRange(qsizetype anchor, qsizetype caret) = 0;
  // The character's box in the widget's coordinates; empty when not on show.
  virtual QRect characterBox(qsizetype offset) const = 0;
  virtual qsizetype offsetAtPoint(QPoint widgetPoint) = 0;
  virtual void reveal(qsizetype offset) = 0;
  // Start and end of the displayed line holding `offset`.
  virtual std::pair<qsizetype, qsizetype> lineAround(qsizetype offset) const = 0;
};

class AccessibleText : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  AccessibleText(QWidget* widget, TextSource& source, bool multiLine);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text kind) const override;

  void selection(int index, int* start, int* end) const override;
  int selectionCount() const override;
  void addSelection(int start, int end) override;
  void removeSelection(int index) override;
  void setSelection(int index, int start, int end) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int start, int end) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int start, int end) override;
  QString attributes(int offset, int* start, int* end) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override;

 private:
  // The unit of `type` around `offset`: a character, a run of non-blanks
  // with its trailing blanks, a displayed line, a paragraph, or everything.
  void range(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const;

  TextSource& source_;
  bool multiLine_;
};

}  // namespace tallix::ui
