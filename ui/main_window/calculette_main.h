#pragma once
// TCalculetteMain: the calculator window "Duvuroreza". It builds the keypad,
// mirrors the display of its KeypadSession, previews every typed key, offers the
// Copier / Coller menu and routes help. The logic lives in the KeypadSession.

#include <array>
#include <memory>

#include <QString>
#include <QWidget>

#include "display/keypad_session.h"
#include "display/controls.h"
#include "engine/regional.h"
#include "ui/common/services.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QMenu;

namespace tallix::ui {

class TAlignEdit;
class TSpeedButton;

class TCalculetteMain : public QWidget {
  Q_OBJECT
 public:
  // Builds every control, then runs FormCreate; an error in FormCreate is
  // shown by the application error report and the window is finished anyway.
  // Messages, the clipboard, help and the About window's figures go through
  // `services`, which must outlive the window.
  TCalculetteMain(const Services& services, Separateurs regional, QWidget* parent = nullptr);
  ~TCalculetteMain() override;

  const KeypadSession& session() const { return *session_; }
  const QString& cheminApplication() const { return FCheminApplication; }
  const QString& fichierAide() const { return FFichierAide; }
  TSpeedButton* button(Control control) const;
  // The Copier / Coller menu, built at its first use: the first paint does
  // not wait for a menu, and most runs never open it.
  QMenu* popupMenu();

  // The window's help handler, where F1 lands and where every help request
  // ends: a context request (command 1) opens the help file at `data` with
  // no owner; any other command is swallowed with callHelp set. Nothing
  // follows it on the route, so it reports no "handled" result.
  void HelpChm(quint16 command, qint32 data, bool& callHelp);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class WindowHost;

  // calculette_layout.cpp: the controls at their places.
  void buildControls();
  void buildPopupMenu();

  void FormCreate();
  void CheminApplication();
  void press(Control control);
  // The key preview's handler: the typed character clicks its button
  // through the key table; the button itself is the sender of that click.
  void AfficheClavier(char32_t typed);
  void showWindowHelp();
  void PopUpCopierClick();
  void PopUpCollerClick();
  void ButtonAideClick();
  void AboutButtonClick();
  void FermerButtonClick();
  void mirrorDisplay(const QString& text);
  void mirrorDecimalMode(DecimalMode mode);
  bool previewKey(QObject* watched, QEvent* event);
  void rereadRegionalSettings();

  Services services_;
  std::unique_ptr<WindowHost> host_;
  std::unique_ptr<KeypadSession> session_;
  QString FCheminApplication;
  QString FFichierAide;
  bool centred_ = false;

  QFrame* PanelCalculette = nullptr;
  QWidget* ImageCalculette = nullptr;
  TAlignEdit* Ecran = nullptr;
  QLabel* LabelDecimales = nullptr;
  TSpeedButton* ButtonAide = nullptr;
  TSpeedButton* AboutButton = nullptr;
  TSpeedButton* FermerButton = nullptr;
  QButtonGroup* decimalGroup_ = nullptr;
  QMenu* PopupCalculette = nullptr;
  std::array<TSpeedButton*, kControlCount> buttons_{};
};

}  // namespace tallix::ui
