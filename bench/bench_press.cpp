// The cost of presses through KeypadSession, the entry point the window uses:
// each press runs the handler, the change rule and the host notification.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "display/keypad_session.h"
#include "fuzz/key_script.h"
#include "fake_host.h"

namespace tallix::bench {
namespace {

// "=" on a typed 12.5 alternates between capturing it (Idle -> Shown) and
// showing it again (Shown -> Idle): every press reads and formats a number.
void BM_PressEgal(benchmark::State& state) {
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  for (char c : std::string("12.5")) calc.typeKey(static_cast<char32_t>(c));
  for (auto _ : state) calc.press(Control::ResultatButton);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PressEgal);

// A digit then backspace: two editing presses through the key table.
void BM_TypeDigitBackspace(benchmark::State& state) {
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  for (char c : std::string("12.5")) calc.typeKey(static_cast<char32_t>(c));
  for (auto _ : state) {
    calc.typeKey(U'7');
    calc.typeKey(U'\b');
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TypeDigitBackspace);

// A fixed session of 1,000 presses: numbers typed with separators, the four
// operators, %, "=", sign, backspace, the keyless buttons and the decimal
// modes, ending with "C" so that every iteration starts alike.
std::vector<std::uint8_t> thousandPresses() {
  using keyscript::kClickBase;
  const auto click = [](Control c) { return static_cast<std::uint8_t>(kClickBase + static_cast<int>(c)); };
  const std::vector<std::uint8_t> block = {
      '1', '2', '.', '5', '+', '3', '*', '4', '=', click(Control::ButtonNeg), '/', '7', '=',
      click(Control::ButtonLimiterADeuxDecimales), '2', '0', '0', '-', '1', '0', '%', '=',
      click(Control::RacineCarreeButton), click(Control::PuissanceCarreeButton),
      click(Control::ButtonLimiterAQuatreDecimales), '9', '8', '\b', '.', '2', '5', 'X', '3', '\r',
      click(Control::NombrePiButton), '*', '2', '=', click(Control::PuissanceCubeButton), '3', '=',
      click(Control::ButtonToutesDecimales), '1', '/', '3', '=', '*', '3', '=', '+', '+', '=',
  };
  std::vector<std::uint8_t> script;
  while (script.size() + block.size() < 999) script.insert(script.end(), block.begin(), block.end());
  while (script.size() < 999) script.push_back('7');
  script.push_back(' ');  // "C"
  return script;
}

void BM_ThousandPresses(benchmark::State& state) {
  const std::vector<std::uint8_t> script = thousandPresses();
  testing::FakeHost host;
  host.keepMessages = false;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  for (auto _ : state) {
    for (std::size_t i = 0; i < script.size();) i = keyscript::step(calc, host, script, i);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * script.size()));
  state.counters["messages"] =
      static_cast<double>(host.messageCount) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ThousandPresses);

// A pasted text that is no number, then "+": the change rule, the reading
// to the end and the report quoting the whole text. Arg: length in bytes.
void BM_LongPasteThenOperator(benchmark::State& state) {
  std::string text(static_cast<std::size_t>(state.range(0)), '4');
  text[text.size() / 2] = 'x';
  testing::FakeHost host;
  host.keepMessages = false;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  for (auto _ : state) {
    host.clipboard = text;
    calc.paste();
    calc.press(Control::AdditionButton);
    calc.typeKey(U'1');  // the next digit starts a fresh number
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongPasteThenOperator)
    ->RangeMultiplier(4)
    ->Range(1 << 20, 16 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A paste of leading zeros then a 5: the change rule strips them in one pass
// and the display shows "5".
void BM_PasteLeadingZeros(benchmark::State& state) {
  const std::string text = std::string(static_cast<std::size_t>(state.range(0)), '0') + "5";
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  for (auto _ : state) {
    host.clipboard = text;
    calc.paste();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PasteLeadingZeros)
    ->RangeMultiplier(4)
    ->Range(1 << 20, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace tallix::bench
