#pragma once
// A read-only text of any length and its selection: the one model behind the
// display line (TAlignEdit) and the report's scrolling view (LongTextView).
// What is selected, what Ctrl+A selects, what Ctrl+C and the text menu's copy
// put on the clipboard and what a screen reader reads are all answered here,
// in UTF-16 offsets of the whole text, whatever part of it a view lays out.
// The part a line lays out (window) and the lines a view wraps the text into
// (LineWrap) are computed here too; only widths and painting are the views'.

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QObject>
#include <QString>

class QKeyEvent;
class QMenu;
class QWidget;

namespace tallix::ui {

class LongText : public QObject {
  Q_OBJECT
 public:
  // What a copy with nothing selected puts on the clipboard: nothing, as in
  // any text field, or the whole text, as the report box promises.
  enum class EmptyCopy { Nothing, WholeText };
  explicit LongText(EmptyCopy emptyCopy, QObject* parent = nullptr);

  const QString& text() const { return text_; }
  // Replaces the text; the caret goes to its end, nothing selected.
  void setText(const QString& text);

  qsizetype anchor() const { return anchor_; }
  qsizetype caret() const { return caret_; }
  qsizetype selectionStart() const { return std::min(anchor_, caret_); }
  qsizetype selectionEnd() const { return std::max(anchor_, caret_); }
  bool hasSelection() const { return anchor_ != caret_; }
  QString selectedText() const;
  // Both clamped to the text: select(0, 3) on "12,5" selects "12,".
  void select(qsizetype anchor, qsizetype caret);
  void selectAll() { select(0, text_.size()); }
  bool allSelected() const { return selectionStart() == 0 && selectionEnd() == text_.size(); }

  // What a copy takes: the selection; with nothing selected, nothing or the
  // whole text by the rule above. copy() puts it on the system clipboard and
  // leaves the clipboard alone when it is empty.
  QString copiedText() const;
  bool canCopy() const { return !copiedText().isEmpty(); }
  void copy() const;

  // Ctrl+A and Ctrl+C, the same in every view; returns false, touching
  // nothing, for any other key.
  bool runKey(const QKeyEvent& event);

  // The captions of copy and select-all: the ones of the toolkit's standard
  // text menu, in the language of Qt's installed translation, without their
  // accelerator mark ("Copier", "Tout sélectionner" in French; "Copy",
  // "Select All" where no translation is installed).
  static QString copyCaption();
  static QString selectAllCaption();
  // Points the copy and select-all items of a text menu (the toolkit's
  // standard one, found by object name or else by caption, or newMenu's) at
  // this text: copy enabled when it would copy something, select-all when
  // there is something left to select.
  void takeOverMenu(QMenu& menu);
  // A text menu of those two items only, with their shortcuts.
  std::unique_ptr<QMenu> newMenu(QWidget* parent);

  // The part of at most `length` characters a line lays out, starting near
  // `from`: kept inside the text and never cutting a character in two.
  // Returns its start and length.
  std::pair<qsizetype, qsizetype> window(qsizetype from, qsizetype length) const;

 signals:
  void textChanged();
  void selectionChanged();

 private:
  QString text_;
  qsizetype anchor_ = 0;
  qsizetype caret_ = 0;
  EmptyCopy emptyCopy_;
};

// The lines a text is wrapped into at one width: breaks at "\n", then after
// the last blank that fits, else inside a word too long for a line. One pass
// over the text, with each character's width from `advance`.
class LineWrap {
 public:
  // The width of the character of `units` UTF-16 units at `offset`.
  using Advance = std::function<qreal(qsizetype offset, int units)>;
  // Characters of two units are the surrogate pairs.
  static int unitsAt(const QString& text, qsizetype offset);

  // Wraps `text` into lines at most `room` wide; returns the line count.
  qsizetype wrap(const QString& text, qreal room, const Advance& advance);

  qsizetype lineCount() const { return static_cast<qsizetype>(starts_.size()); }
  // The line holding `offset`, and its start and end (line break excluded).
  qsizetype lineOf(qsizetype offset) const;
  qsizetype lineStart(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
  qsizetype lineEnd(const QString& text, qsizetype line) const;
  // Start and end of the line holding `offset`, its line break included.
  std::pair<qsizetype, qsizetype> lineAround(const QString& text, qsizetype offset) const;

 private:
  std::vector<qsizetype> starts_{0};
};

}  // namespace tallix::ui
