#include "ui/main_window/calculette_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include "display/report.h"
#include "ui/about/about_box.h"
#include "ui/main_window/align_edit.h"
#include "ui/common/application.h"
#include "ui/common/glyphs.h"
#include "ui/help/help.h"
#include "ui/common/locale_settings.h"
#include "ui/common/qt_host.h"
#include "ui/main_window/speed_button.h"

namespace tallix::ui {
namespace {

constexpr quint16 HELP_CONTEXT = 1;
constexpr qint32 kHelpContext = 1000;  // the main window's topic

// The character a key press types, after layout and Shift: Backspace is 8,
// Enter and Return 13; presses with Ctrl, Alt or Meta type nothing here.
char32_t typedCharacter(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  switch (key.key()) {
    case Qt::Key_Backspace: return U'\b';
    case Qt::Key_Return:
    case Qt::Key_Enter: return U'\r';
    default: break;
  }
  const QList<uint> chars = key.text().toUcs4();
  return chars.size() == 1 ? static_cast<char32_t>(chars.front()) : 0;
}

// Ctrl+C and Ctrl+V exactly (the keypad flag aside).
bool isShortcut(const QKeyEvent& key, Qt::Key letter) {
  return key.key() == letter && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

// Mirrors the Calculette into the window; messages and clipboard are Qt's.
class TCalculetteMain::WindowHost : public QtHost {
 public:
  explicit WindowHost(TCalculetteMain& window) : window_(window) {}
  void displayChanged(std::string_view text) override {
    window_.mirrorDisplay(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  void decimalModeChanged(DecimalMode mode) override { window_.mirrorDecimalMode(mode); }

 private:
  TCalculetteMain& window_;
};

TCalculetteMain::TCalculetteMain(Separateurs regional, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(std::make_unique<WindowHost>(*this)),
      regional_(regional) {
  setObjectName(QStringLiteral("CalculetteMain"));
  setWindowTitle(QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
  // Outside its frame the desktop names the program by its application title
  // (a minimised window's label, the window list), not by the caption.
  setWindowIconText(QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())));
  // Qualified: unqualified, the name finds QWidget's own (still empty) icon.
  setWindowIcon(ui::windowIcon());
  setFixedSize(262, 240);
  buildControls();
  buildPopupMenu();
  calc_ = std::make_unique<Calculette>(*host_, regional_);
  QCoreApplication::instance()->installEventFilter(this);
  reportErrors([this] { FormCreate(); });
}

TCalculetteMain::~TCalculetteMain() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
  if (TallixApplication* app = TallixApplication::instance()) app->setHelpHandler({});
}

std::function<void(int)>& TCalculetteMain::formCreateProbe() {
  static std::function<void(int)> probe;
  return probe;
}

TSpeedButton* TCalculetteMain::button(Control control) const {
  return buttons_[static_cast<std::size_t>(control)];
}

void TCalculetteMain::FormCreate() {
  const auto step = [](int n) {
    if (formCreateProbe()) formCreateProbe()(n);
  };
  // RazEcran: the Calculette starts on "0"; show it.
  mirrorDisplay(QString::fromStdString(calc_->displayText()));
  step(1);
  CheminApplication();
  step(2);
  FSeparateur = regional_.decimal;
  step(3);
  FFichierAide = FCheminApplication + QStringLiteral("Tallix.chm");
  step(4);
  if (TallixApplication* app = TallixApplication::instance()) {
    app->setHelpHandler([this](quint16 command, qint32 helpData, bool& callHelp) {
      return HelpChm(command, helpData, callHelp);
    });
  }
  step(5);
  for (Control control : {Control::ButtonCancel, Control::AdditionButton, Control::SoustractionButton,
                          Control::MultiplicationButton, Control::DivisionButton, Control::PourcentageButton,
                          Control::RacineCarreeButton, Control::PuissanceCarreeButton,
                          Control::PuissanceCubeButton}) {
    button(control)->Tag = operatorCode(control).value_or(0);
  }
  step(6);
}

void TCalculetteMain::CheminApplication() {
  FCheminApplication = QCoreApplication::instance() != nullptr
                           ? QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           : QString();
}

void TCalculetteMain::buildPopupMenu() {
  PopupCalculette = new QMenu(this);
  PopupCalculette->setObjectName(QStringLiteral("PopupCalculette"));
  auto* copier = PopupCalculette->addAction(QStringLiteral("Copier"));
  copier->setObjectName(QStringLiteral("PopUpCopier"));
  copier->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  auto* coller = PopupCalculette->addAction(QStringLiteral("Coller"));
  coller->setObjectName(QStringLiteral("MenuColler"));
  coller->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  connect(copier, &QAction::triggered, this, &TCalculetteMain::PopUpCopierClick);
  connect(coller, &QAction::triggered, this, &TCalculetteMain::PopUpCollerClick);
  PopupCalculette->installEventFilter(this);
}

void TCalculetteMain::press(Control control) { calc_->press(control); }

void TCalculetteMain::AfficheClavier(QObject* /*sender*/, char32_t typed) {
  if (const std::optional<Control> control = controlForKey(typed)) press(*control);
}

void TCalculetteMain::PopUpCopierClick() { calc_->copy(); }

void TCalculetteMain::PopUpCollerClick() { calc_->paste(); }

void TCalculetteMain::ButtonAideClick() {
  reportErrors([this] { openHelp(FFichierAide, kHelpContext, this); });
}

void TCalculetteMain::AboutButtonClick() {
  reportErrors([this] {
    // A fresh window on every click, destroyed when it closes or when
    // showing it fails.
    std::unique_ptr<TAboutBox> box = std::make_unique<TAboutBox>(this);
    box->exec();
  });
}

void TCalculetteMain::FermerButtonClick() { close(); }

bool TCalculetteMain::HelpChm(quint16 command, qint32 helpData, bool& callHelp) {
  callHelp = false;
  if (command == HELP_CONTEXT) {
    openHelp(FFichierAide, helpData, nullptr);
  } else {
    callHelp = true;
  }
  return true;
}

void TCalculetteMain::mirrorDisplay(const QString& text) {
  if (Ecran->text() != text) Ecran->setText(text);
  Ecran->end(false);
}

void TCalculetteMain::mirrorDecimalMode(DecimalMode mode) {
  const Control down = mode == DecimalMode::Deux     ? Control::ButtonLimiterADeuxDecimales
                       : mode == DecimalMode::Quatre ? Control::ButtonLimiterAQuatreDecimales
                                                     : Control::ButtonToutesDecimales;
  button(down)->setChecked(true);
}

bool TCalculetteMain::previewKey(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  if (widget == PopupCalculette) {
    // F1 over the open menu: its items carry no topic, so the window's.
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_F1) {
      if (TallixApplication* app = TallixApplication::instance()) app->HelpCommand(HELP_CONTEXT, kHelpContext);
      return true;
    }
    return false;
  }
  // Each key once, where it is first delivered: the focused control, or the
  // window itself when nothing in it has the focus.
  if (widget->window() != this) return false;
  QWidget* focus = focusWidget();
  if (widget != (focus != nullptr ? focus : this)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const bool copy = isShortcut(*key, Qt::Key_C);
  const bool paste = isShortcut(*key, Qt::Key_V);
  if (event->type() == QEvent::ShortcutOverride) {
    // Keep the line edit's own copy and paste from taking these keys.
    if (copy || paste) {
      event->accept();
      return true;
    }
    return false;
  }
  if (copy || paste) {
    copy ? PopUpCopierClick() : PopUpCollerClick();
    return true;
  }
  if (key->key() == Qt::Key_F1) {
    if (TallixApplication* app = TallixApplication::instance()) app->HelpCommand(HELP_CONTEXT, kHelpContext);
    return true;
  }
  if (const char32_t typed = typedCharacter(*key)) AfficheClavier(watched, typed);
  return false;  // the character goes on to the focused control
}

bool TCalculetteMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  bool consumed = false;
  reportErrors([&] { consumed = previewKey(watched, event); });
  return consumed;
}

void TCalculetteMain::contextMenuEvent(QContextMenuEvent* event) {
  PopupCalculette->popup(event->globalPos());
  event->accept();
}

void TCalculetteMain::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    if (QScreen* screen = this->screen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QWidget::showEvent(event);  // FormShow does nothing
}

void TCalculetteMain::closeEvent(QCloseEvent* event) {
  // The main window's close ends the program, whatever other window is open.
  event->accept();
  QCoreApplication::quit();
}

void TCalculetteMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) rereadRegionalSettings();
  QWidget::changeEvent(event);
}

void TCalculetteMain::rereadRegionalSettings() {
  reportErrors([this] {
    regional_ = readRegionalSettings();
    calc_->changerReglagesRegionaux(regional_);
  });
}

}  // namespace tallix::ui
