#include "ui/main_window/calculette_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmapCache>
#include <QScreen>

#include "display/report.h"
#include "ui/about/about_box.h"
#include "ui/report/align_edit.h"
#include "ui/common/application.h"
#include "ui/common/glyphs.h"
#include "ui/main_window/speed_button.h"
#include "platform/regional_settings.h"

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

// Mirrors the KeypadSession into the window; messages and the clipboard go to
// the services' host.
class TCalculetteMain::WindowHost : public Host {
 public:
  WindowHost(TCalculetteMain& window, Host& outside) : window_(window), outside_(outside) {}
  void showMessage(const Message& message) override { showThrough(outside_, message); }
  std::string clipboardText() override { return outside_.clipboardText(); }
  void setClipboardText(std::string_view text) override { outside_.setClipboardText(text); }
  void displayChanged(std::string_view text) override {
    window_.mirrorDisplay(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  void decimalModeChanged(DecimalMode mode) override { window_.mirrorDecimalMode(mode); }

 private:
  TCalculetteMain& window_;
  Host& outside_;
};

// A caption bar with a close box only, asked for through the Motif hints the
// flags below produce. Window managers that draw their buttons whatever
// those hints say (openbox) drop the minimise box only for the toolbar and
// menu window types, and task bars leave windows of those types out; the
// calculator stays a normal window, so it keeps its task-bar entry.
TCalculetteMain::TCalculetteMain(const Services& services, Separateurs regional, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      services_(services),
      host_(std::make_unique<WindowHost>(*this, services.host)) {
  setObjectName(QStringLiteral("CalculetteMain"));
  setWindowTitle(QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
  // Outside its frame the desktop names the program by its application title
  // (a minimised window's label, the window list), not by the caption.
  setWindowIconText(QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())));
  // Qualified: unqualified, the name finds QWidget's own (still empty) icon.
  setWindowIcon(ui::windowIcon());
  setFixedSize(262, 240);
  buildControls();
  session_ = std::make_unique<KeypadSession>(*host_, regional);
  // Keys are previewed where they are delivered: the window and its own
  // controls (and the popup menu once built), nothing else in the program.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  reportErrors(services_.host, [this] { FormCreate(); });
}

TCalculetteMain::~TCalculetteMain() = default;

TSpeedButton* TCalculetteMain::button(Control control) const {
  return buttons_[static_cast<std::size_t>(control)];
}

// The operator buttons carry their Tag from buildControls, and F1 reaches
// HelpChm through the window's own key preview.
void TCalculetteMain::FormCreate() {
  // RazEcran: the KeypadSession starts on "0"; show it.
  mirrorDisplay(QString::fromStdString(session_->displayText()));
  CheminApplication();
  FFichierAide = services_.help.helpFile(FCheminApplication);
}

void TCalculetteMain::CheminApplication() {
  FCheminApplication = QCoreApplication::instance() != nullptr
                           ? QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           : QString();
}

QMenu* TCalculetteMain::popupMenu() {
  if (PopupCalculette == nullptr) buildPopupMenu();
  return PopupCalculette;
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

void TCalculetteMain::press(Control control) { session_->press(control); }

void TCalculetteMain::AfficheClavier(char32_t typed) { session_->typeKey(typed); }

void TCalculetteMain::showWindowHelp() {
  bool callHelp = true;
  HelpChm(HELP_CONTEXT, kHelpContext, callHelp);
}

void TCalculetteMain::PopUpCopierClick() { session_->copy(); }

void TCalculetteMain::PopUpCollerClick() { session_->paste(); }

void TCalculetteMain::ButtonAideClick() {
  reportErrors(services_.host, [this] { services_.help.open(FFichierAide, kHelpContext, this); });
}

void TCalculetteMain::AboutButtonClick() {
  reportErrors(services_.host, [this] {
    // A fresh window on every click, destroyed when it closes or when
    // showing it fails.
    std::unique_ptr<TAboutBox> box = std::make_unique<TAboutBox>(services_, this);
    box->exec();
    box.reset();
    // The style keeps the bevels, scroll bars and frames it drew for that
    // window in the process-wide pixmap cache, under the keys of the window's
    // own palettes; no later window shares them, so they would never be drawn
    // again and each opening would add to the cache up to its cap
    // (bench/STARTUP.md has the figures).
    // What the calculator itself keeps there is drawn again at its next paint.
    QPixmapCache::clear();
  });
  // Back to the calculator explicitly: without a window manager the focus
  // would stay on the root window and the next keys would be lost.
  activateWindow();
}

void TCalculetteMain::FermerButtonClick() { close(); }

void TCalculetteMain::HelpChm(quint16 command, qint32 helpData, bool& callHelp) {
  callHelp = false;
  if (command == HELP_CONTEXT) {
    services_.help.open(FFichierAide, helpData, nullptr);
  } else {
    callHelp = true;
  }
}

void TCalculetteMain::mirrorDisplay(const QString& text) {
  LongText& shown = Ecran->content();
  if (shown.text() != text) shown.setText(text);
  shown.select(text.size(), text.size());  // the caret to the end, as the change rule puts it
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
      showWindowHelp();
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
    showWindowHelp();
    return true;
  }
  if (const char32_t typed = typedCharacter(*key)) AfficheClavier(typed);
  return false;  // the character goes on to the focused control
}

bool TCalculetteMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  bool consumed = false;
  reportErrors(services_.host, [&] { consumed = previewKey(watched, event); });
  return consumed;
}

void TCalculetteMain::contextMenuEvent(QContextMenuEvent* event) {
  popupMenu()->popup(event->globalPos());
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
  reportErrors(services_.host,
               [this] { session_->changeRegionalSettings(platform::readRegionalSettings()); });
}

}  // namespace tallix::ui
