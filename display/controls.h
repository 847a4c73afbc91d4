#pragma once
// The clickable controls of the main window that the logic knows, their
// names, their operator codes and the key table.

#include <optional>
#include <string_view>

#include "engine/sequencer.h"

namespace tallix {

enum class Control {
  Button0, Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8, Button9,
  VirguleButton, ButtonNeg, RetourArriereButton, NombrePiButton, NombrePhiButton,
  ButtonCancel, AdditionButton, SoustractionButton, MultiplicationButton, DivisionButton,
  PourcentageButton, RacineCarreeButton, PuissanceCarreeButton, PuissanceCubeButton,
  ResultatButton, ButtonToutesDecimales, ButtonLimiterADeuxDecimales,
  ButtonLimiterAQuatreDecimales,
};
inline constexpr int kControlCount = 28;

// The object name of the control in the window: "Button7", "ResultatButton".
std::string_view controlName(Control control);
// controlFromName("AdditionButton") == Control::AdditionButton; unknown -> nullopt.
std::optional<Control> controlFromName(std::string_view name);

// The operator code (Tag) of an operator button, or nullopt for any other
// control: AdditionButton -> Sequencer::Addition (1), ResultatButton ->
// Sequencer::Egal (0), PuissanceCubeButton -> Sequencer::Puissance (8).
std::optional<Sequencer::Code> operatorCode(Control control);

// The key table: a typed character (after layout and Shift) to the button it
// clicks. '\b' -> RetourArriereButton, '\r' -> ResultatButton, ' ' ->
// ButtonCancel, ',' and '.' -> VirguleButton, 'X' -> MultiplicationButton,
// 'x' -> nullopt.
std::optional<Control> controlForKey(char32_t typed);

}  // namespace tallix
