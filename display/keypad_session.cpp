// The headless calculator: editing rules, decimal-mode group, key table and
// clipboard commands around the engine.
#include "display/keypad_session.h"

#include "engine/utf8.h"
#include "engine/conversion.h"
#include "engine/error.h"
#include "display/report.h"

namespace tallix {

KeypadSession::KeypadSession(Host& host, Separateurs regional) : host_(host), regional_(regional) {
  display_.setChangeHandler([this] { EcranChange(); });
  RazEcran();
}

template <class Action>
void KeypadSession::reportErrors(Action&& action) {
  try {
    action();
  } catch (...) {
    reportCurrentError(host_);
  }
}

void KeypadSession::press(Control control) {
  reportErrors([&] { click(control); });
}

void KeypadSession::click(Control control) {
  if (auto code = operatorCode(control)) {
    sequencer_.Operation(*code, control == Control::ResultatButton, *this);
    return;
  }
  switch (control) {
    case Control::VirguleButton: VirguleButtonClick(); break;
    case Control::ButtonNeg: ButtonNegClick(); break;
    case Control::RetourArriereButton: RetourArriere(); break;
    case Control::NombrePiButton: showConstant("3", "14", "1416", "14159"); break;
    case Control::NombrePhiButton: showConstant("1", "61", "6180", "61803"); break;
    case Control::ButtonCancel: sequencer_.RemiseAZeroTotale(*this); break;
    case Control::ButtonToutesDecimales: chooseMode(DecimalMode::Toutes); break;
    case Control::ButtonLimiterADeuxDecimales: chooseMode(DecimalMode::Deux); break;
    case Control::ButtonLimiterAQuatreDecimales: chooseMode(DecimalMode::Quatre); break;
    default: PaveNumerique(control); break;  // Button0 .. Button9
  }
}

void KeypadSession::typeKey(char32_t typed) {
  if (auto control = controlForKey(typed)) press(*control);
}

void KeypadSession::copy() {
  reportErrors([&] { host_.setClipboardText(display_.text()); });
}

void KeypadSession::paste() {
  reportErrors([&] { display_.replace(validUtf8(host_.clipboardText())); });
}

void KeypadSession::changeRegionalSettings(Separateurs regional) { regional_ = regional; }

void KeypadSession::showInvalidInputBox() { host_.showMessage(invalidInputBox()); }

void KeypadSession::RazEcran() { display_.replace("0"); }

void KeypadSession::ViderEcran() {
  if (sequencer_.ecranAVider()) RazEcran();
  sequencer_.setEcranAVider(false);
}

// The change rule. Every actual change of the display lands here. Leading
// zeros before a digit go one at a time, each removal being a change of its
// own; the removals run as a loop over an O(1) front cut instead of one
// nested run per zero, so a pasted million zeros costs linear time and no
// stack depth. The host's mirror hears the text once, when the outermost run
// ends: the intermediate texts of one change are never on show, and telling
// a window about each of them would cost it time quadratic in the length.
void KeypadSession::EcranChange() {
  ++changeDepth_;
  if (display_.view().empty()) {
    RazEcran();  // nested run on "0", which changes nothing further
  }
  display_.setCaret(display_.view().size());
  std::string_view text = display_.view();
  std::size_t zeros = 0;
  while (text.size() - zeros >= 2 && text[zeros] == '0' && IsChiffre(text[zeros + 1])) ++zeros;
  if (zeros != 0) {
    display_.dropFront(zeros);
    display_.setCaret(display_.view().size());
  }
  if (--changeDepth_ == 0) host_.displayChanged(display_.view());
}

void KeypadSession::PaveNumerique(Control digit) {
  ViderEcran();
  std::string text = display_.text();
  text += static_cast<char>('0' + (static_cast<int>(digit) - static_cast<int>(Control::Button0)));
  display_.replace(std::move(text));
}

void KeypadSession::VirguleButtonClick() {
  ViderEcran();
  std::string separator = utf8(fSeparateur());
  if (display_.view().find(separator) != std::string_view::npos) return;
  display_.replace(display_.text() + separator);
}

void KeypadSession::ButtonNegClick() {
  std::string_view text = display_.view();
  if (!text.empty() && text[0] == '0') return;
  if (!text.empty() && text[0] == '-') {
    display_.replace(std::string(text.substr(1)));
  } else {
    std::string negated;
    negated.reserve(text.size() + 1);
    negated += '-';
    negated += text;
    display_.replace(std::move(negated));
  }
}

void KeypadSession::RetourArriere() {
  std::string_view text = display_.view();
  // The last whole character goes, never a part of one.
  std::string rest(text.substr(0, lastCharacterStart(text)));
  if (rest.empty()) rest.push_back('0');
  display_.replace(std::move(rest));
}

void KeypadSession::showConstant(const char* whole, const char* two, const char* four, const char* all) {
  const char* fraction = mode_ == DecimalMode::Deux ? two : mode_ == DecimalMode::Quatre ? four : all;
  std::string text(whole);
  text += utf8(fSeparateur());
  text += fraction;
  display_.replace(std::move(text));
}

void KeypadSession::chooseMode(DecimalMode mode) {
  // The clicked toggle becomes the down one (a down one stays down), then
  // the value on show is re-shown in that mode.
  if (mode_ != mode) {
    mode_ = mode;
    host_.decimalModeChanged(mode);
  }
  sequencer_.AfficheResultat(*this);
}

}  // namespace tallix
