#pragma once
// Drives a fresh KeypadSession with a compact key notation, for the sequence
// tables: "200 + 10 % =" is the digits of 200, AdditionButton, the digits of
// 10, PourcentageButton, ResultatButton. A number's digits (and its
// separator ".") count as one entry; the display is read after each entry.

#include <sstream>
#include <string>
#include <vector>

#include "display/keypad_session.h"
#include "fake_host.h"

namespace tallix::testing {

enum class State { Idle, Pending, Shown };

inline State stateOf(const Sequencer& c) {
  if (!c.nombre1Saisi()) return State::Idle;
  return c.operateur() == 0 ? State::Shown : State::Pending;
}

inline const char* stateName(State s) {
  return s == State::Idle ? "Idle" : s == State::Pending ? "Pending" : "Shown";
}

struct Driver {
  explicit Driver(char32_t separator = U'.') : calc(host, Separateurs{separator, U','}) {}

  // One entry; returns the display after it.
  std::string entry(const std::string& word) {
    static const std::pair<const char*, Control> named[] = {
        {"+", Control::AdditionButton},       {"-", Control::SoustractionButton},
        {"x", Control::MultiplicationButton}, {"/", Control::DivisionButton},
        {"%", Control::PourcentageButton},    {"=", Control::ResultatButton},
        {"sqrt", Control::RacineCarreeButton}, {"sq", Control::PuissanceCarreeButton},
        {"pow", Control::PuissanceCubeButton}, {"+/-", Control::ButtonNeg},
        {"C", Control::ButtonCancel},         {"bs", Control::RetourArriereButton},
        {"pi", Control::NombrePiButton},      {"phi", Control::NombrePhiButton},
        {"all", Control::ButtonToutesDecimales}, {"2dec", Control::ButtonLimiterADeuxDecimales},
        {"4dec", Control::ButtonLimiterAQuatreDecimales},
    };
    for (const auto& [name, control] : named) {
      if (word == name) {
        calc.press(control);
        return calc.displayText();
      }
    }
    if (word.rfind("paste:", 0) == 0) {
      host.clipboard = word.substr(6);
      calc.paste();
      return calc.displayText();
    }
    for (char ch : word) {
      if (ch == '.') {
        calc.press(Control::VirguleButton);
      } else {
        calc.press(static_cast<Control>(static_cast<int>(Control::Button0) + (ch - '0')));
      }
    }
    return calc.displayText();
  }

  // All entries of a space-separated sequence; returns each display, joined
  // with ", " so that a failing row prints the way the tables are written.
  std::string run(const std::string& keys) {
    std::istringstream in(keys);
    std::string word, shown;
    while (in >> word) {
      if (!shown.empty()) shown += ", ";
      shown += entry(word);
    }
    return shown;
  }

  FakeHost host;
  KeypadSession calc;
};

}  // namespace tallix::testing
