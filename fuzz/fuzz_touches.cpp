// Any session of key presses, clicks, pastes of arbitrary bytes, copies and
// separator changes (the byte language of key_script.h), run through the
// entry points the window uses. After every action:
//   - no exception has escaped (press, typeKey, paste and copy report their
//     errors through the host and return normally);
//   - the display is not empty and the caret stands after its last byte;
//   - the calculator is in one of its states: with no first operand held,
//     both operands are 0, the operator is 0 and no second operand is held;
//   - no second operand is held, and a held first operand has a two-operand
//     operator (1 to 4, 8) or "=" (0) pending. The one exception is the time
//     after an arithmetic fault (division by zero, overflow): the fault
//     leaves both operands held and the failed computation pending, to be
//     repeated by the next operator; after a failed percentage the saved
//     operator is lost and code 5 stays pending. The check resumes as soon
//     as the calculator is back in one of its states;
//   - nothing was reported as fatal.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "display/keypad_session.h"
#include "display/report.h"
#include "fuzz/key_script.h"

namespace {

[[noreturn]] void fail(const char* what, const tallix::KeypadSession& calc, std::size_t at) {
  const auto& c = calc.sequencer();
  std::fprintf(stderr,
               "fuzz_touches: %s after byte %zu: display '%s' caret %zu, FNombre1Saisi %d "
               "FNombre2Saisi %d FOperateur %d FNombre1 %Lg FNombre2 %Lg\n",
               what, at, calc.displayText().c_str(), calc.caret(), c.nombre1Saisi(), c.nombre2Saisi(),
               c.operateur(), static_cast<long double>(c.nombre1()), static_cast<long double>(c.nombre2()));
  std::abort();
}

bool arithmeticFault(const tallix::Message& report) {
  using tallix::CalcError;
  using tallix::ErrorKind;
  using tallix::applicationErrorReport;
  static const std::string zeroDivide = applicationErrorReport(CalcError::ofKind(ErrorKind::EZeroDivide)).text;
  static const std::string overflow = applicationErrorReport(CalcError::ofKind(ErrorKind::EOverflow)).text;
  return report.text == zeroDivide || report.text == overflow;
}

// Checks the action's outcome; returns whether the calculator is in one of
// its three states (Idle, Pending, Shown).
bool checkState(const tallix::KeypadSession& calc, bool faulted, std::size_t at) {
  if (calc.displayText().empty()) fail("empty display", calc, at);
  if (calc.caret() != calc.displayText().size()) fail("caret not at the end", calc, at);
  const auto& c = calc.sequencer();
  const int op = c.operateur();
  if (op < 0 || op > 8) fail("operator code out of range", calc, at);
  if (!c.nombre1Saisi()) {
    if (c.nombre1() != 0 || c.nombre2() != 0 || op != 0 || c.nombre2Saisi()) fail("Idle with leftovers", calc, at);
    return true;
  }
  const bool pendingOrShown = op == 0 || op == 1 || op == 2 || op == 3 || op == 4 || op == 8;
  if (!c.nombre2Saisi() && pendingOrShown) return true;
  if (!faulted) {
    if (c.nombre2Saisi()) fail("second operand held after a press that did not fail", calc, at);
    fail("no valid pending operator", calc, at);
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tallix::testing::FakeHost host;
  host.recordDisplays = false;
  tallix::KeypadSession calc(host, tallix::Separateurs{});
  const std::span<const std::uint8_t> script(data, size);
  bool faulted = false;  // since the last arithmetic fault, not yet back in a state
  checkState(calc, faulted, 0);
  for (std::size_t i = 0; i < size;) {
    const std::size_t reportsBefore = host.errorReports;
    try {
      i = tallix::keyscript::step(calc, host, script, i);
    } catch (...) {
      fail("an exception escaped", calc, i);
    }
    if (host.fatalReports != 0) fail("fatal report", calc, i);
    if (host.errorReports != reportsBefore && arithmeticFault(host.messages.back())) faulted = true;
    if (checkState(calc, faulted, i)) faulted = false;
  }
  return 0;
}
