#include "ui/main_window/align_edit.h"

#include <array>
#include <limits>

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

}  // namespace

TAlignEdit::TAlignEdit(QWidget* parent) : QLineEdit(parent) {
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

// The style is the only window parameter this control adds; applying it to a
// live edit keeps its text and caret, as recreating the window would.
void TAlignEdit::CreateParams() { QLineEdit::setAlignment(qtAlignment(editStyle(FAlignment))); }

}  // namespace tallix::ui
