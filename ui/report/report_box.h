#pragma once
// The box of a long message: the whole text in a scrolling, selectable view
// that fits the screen, the icon of the message and one "OK" button that
// stays in reach. Enter and Escape close it as they close a short box;
// Ctrl+C copies the selection, or the whole text when nothing is selected,
// wherever the focus is in the box.

#include <QDialog>

#include "display/host.h"

namespace tallix::ui {

class LongTextView;

class ReportBox : public QDialog {
  Q_OBJECT
 public:
  // A box whose text would fill more than this many characters or lines
  // goes here; shorter ones are shown by the toolkit's own message box.
  static constexpr qsizetype kLongCharacters = 1000;
  static constexpr qsizetype kLongLines = 20;
  static bool isLong(const QString& text);

  // `text` with "\n" line breaks; the box is sized for `owner`'s screen.
  ReportBox(MessageIcon icon, const QString& caption, const QString& text, QWidget* owner);

  LongTextView* view() const { return view_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  LongTextView* view_ = nullptr;
};

}  // namespace tallix::ui
