#pragma once
// The About window: description, the machine's memory and disk figures, the
// author's web site and a close button. Built fresh, shown modally and
// destroyed on each click of "A propos de...".

#include <QDialog>

namespace tallix::ui {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* owner = nullptr);
  ~TAboutBox() override;
};

}  // namespace tallix::ui
