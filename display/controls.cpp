// Control names, operator codes and the key table.
#include "display/controls.h"

#include <array>

namespace tallix {

namespace {

constexpr std::array<std::string_view, kControlCount> kNames = {
    "Button0", "Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7",
    "Button8", "Button9", "VirguleButton", "ButtonNeg", "RetourArriereButton",
    "NombrePiButton", "NombrePhiButton", "ButtonCancel", "AdditionButton",
    "SoustractionButton", "MultiplicationButton", "DivisionButton", "PourcentageButton",
    "RacineCarreeButton", "PuissanceCarreeButton", "PuissanceCubeButton", "ResultatButton",
    "ButtonToutesDecimales", "ButtonLimiterADeuxDecimales", "ButtonLimiterAQuatreDecimales",
};

static_assert(static_cast<int>(Control::ButtonLimiterAQuatreDecimales) + 1 == kControlCount);

}  // namespace

std::string_view controlName(Control control) {
  return kNames[static_cast<std::size_t>(control)];
}

std::optional<Control> controlFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<Control>(i);
  }
  return std::nullopt;
}

std::optional<Sequencer::Code> operatorCode(Control control) {
  switch (control) {
    case Control::ResultatButton: return Sequencer::Egal;
    case Control::AdditionButton: return Sequencer::Addition;
    case Control::SoustractionButton: return Sequencer::Soustraction;
    case Control::MultiplicationButton: return Sequencer::Multiplication;
    case Control::DivisionButton: return Sequencer::Division;
    case Control::PourcentageButton: return Sequencer::Pourcentage;
    case Control::RacineCarreeButton: return Sequencer::Racine;
    case Control::PuissanceCarreeButton: return Sequencer::Carre;
    case Control::PuissanceCubeButton: return Sequencer::Puissance;
    default: return std::nullopt;
  }
}

std::optional<Control> controlForKey(char32_t typed) {
  if (typed >= U'0' && typed <= U'9') {
    return static_cast<Control>(static_cast<int>(Control::Button0) + static_cast<int>(typed - U'0'));
  }
  switch (typed) {
    case U'\b': return Control::RetourArriereButton;
    case U'\r': return Control::ResultatButton;
    case U' ': return Control::ButtonCancel;
    case U'%': return Control::PourcentageButton;
    case U'*': return Control::MultiplicationButton;
    case U'+': return Control::AdditionButton;
    case U',': return Control::VirguleButton;
    case U'-': return Control::SoustractionButton;
    case U'.': return Control::VirguleButton;
    case U'/': return Control::DivisionButton;
    case U'=': return Control::ResultatButton;
    case U'X': return Control::MultiplicationButton;
    default: return std::nullopt;
  }
}

}  // namespace tallix
