#pragma once
// Screen-reader access to a view of a LongText: the text, its selection and
// its caret are the model's, in offsets of the whole text, whatever part of
// it the view lays out; the view answers only where a character is drawn.
// One accessible factory serves every such view.

#include <utility>

#include <QAccessibleWidget>
#include <QString>

namespace tallix::ui {

class LongText;

// What a screen reader asks of a view beyond its model.
class TextView {
 public:
  virtual ~TextView() = default;
  virtual LongText& content() = 0;
  // A view of several lines, or a single line read as its value.
  virtual bool multiLine() const = 0;
  // The character's box in the widget's coordinates; empty when not on show.
  virtual QRect characterBox(qsizetype offset) const = 0;
  virtual qsizetype offsetAtPoint(QPoint widgetPoint) = 0;
  virtual void reveal(qsizetype offset) = 0;
  // Start and end of the displayed line holding `offset`.
  virtual std::pair<qsizetype, qsizetype> lineAround(qsizetype offset) const = 0;
};

// Installs, once for the program, the factory that gives every widget that
// is a TextView its AccessibleText. Each view calls it on construction.
void installAccessibleText();

class AccessibleText : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  AccessibleText(QWidget* widget, TextView& view);

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

  TextView& view_;
  LongText& content_;
};

}  // namespace tallix::ui
