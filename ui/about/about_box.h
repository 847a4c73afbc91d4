#pragma once
// The About window: description, the machine's memory and disk figures, the
// author's web site and a close button. Built fresh, shown modally and
// destroyed on each click of "A propos de...".

#include <QDialog>
#include <QStringList>

#include "ui/common/services.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tallix::ui {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // The figures come from `services.machine` and errors are reported
  // through `services.host`; the services must outlive the window.
  explicit TAboutBox(const Services& services, QWidget* owner = nullptr);
  ~TAboutBox() override;

  // The twelve lines of the description, trailing blanks and empty lines
  // included, exactly as Memo1 holds them.
  static const QStringList& description();
  // The author's web site, shown after "Site Internet de l'auteur : " and
  // opened by its button; set by the build (TALLIX_AUTHOR_URL).
  static QString authorUrl();

 public slots:
  // Fills the memory and disk figures from the machine's figures.
  void FormShow();
  // Opens the author's web site in the desktop's browser; failure is ignored.
  void ButtonMailToClick();
  // Closes the window, ending its modal showing.
  void AboutOKButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeRight(QLabel* label, const QString& text);

  Services services_;

  QLabel* ImageAboutBox1 = nullptr;
  QLabel* MemoirePhysiqueLabel = nullptr;
  QLabel* PhysMemLabel = nullptr;
  QLabel* DisqueDurLabel = nullptr;
  QLabel* CapaciteDisqueDurLabel1 = nullptr;
  QLabel* AboutFriseLabel1 = nullptr;
  QLabel* AboutFriseLabel2 = nullptr;
  QLabel* AboutImage1 = nullptr;
  QLabel* ProductNameLabel = nullptr;
  QLabel* CopyrightLabel = nullptr;
  QPushButton* ButtonAutresLogiciels = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* ButtonFermer = nullptr;
};

}  // namespace tallix::ui
