#pragma once
// The display line: a read-only single-line edit with an Alignment property.

#include <QLineEdit>

namespace tallix::ui {

class TAlignEdit : public QLineEdit {
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

 private:
  void CreateParams();

  TAlignment FAlignment = taLeftJustify;
};

}  // namespace tallix::ui
