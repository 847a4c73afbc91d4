// Pasted texts of several megabytes go through the same entry points as a
// click: the change rule, the reading at the next operator and the error
// report must all stay linear in the text's length, and the calculator must
// carry on normally afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "display/keypad_session.h"
#include "engine/conversion.h"
#include "engine/error.h"
#include "display/report.h"
#include "fake_host.h"

namespace tallix {
namespace {

constexpr std::size_t kTenMegabytes = 10u << 20;
// Generous bounds: a linear pass over 10 MB takes tens of milliseconds in a
// release build and a few seconds in an unoptimised build under
// AddressSanitizer; anything quadratic takes hours.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr double kBoundSeconds = 5.0;
#else
constexpr double kBoundSeconds = 30.0;
#endif
const std::string kNotANumber = "' n'est pas une valeur en virgule flottante correcte.";

// Deterministic texts: a small linear congruential generator, fixed seed.
std::string makeText(std::size_t size, const std::string& alphabet, char first) {
  std::string text(size, first);
  std::uint32_t state = 12345;
  for (std::size_t i = 1; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    text[i] = alphabet[(state >> 16) % alphabet.size()];
  }
  return text;
}

double seconds(const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of a few runs: a busy machine only ever slows a run down.
double fastestOf(int runs, const std::function<void()>& action) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, seconds(action));
  return best;
}

// The cost ratio of two actions, measured again (up to three times) while a
// burst of load from the rest of the machine pushes it over the bound; a
// quadratic cost stays over it every time.
double costRatio(const std::function<void()>& large, const std::function<void()>& small,
                 double bound) {
  double ratio = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    ratio = fastestOf(5, large) / fastestOf(5, small);
    if (ratio < bound) break;
  }
  return ratio;
}

struct LongText {
  const char* name;
  std::string text;
};

class LongPaste : public ::testing::TestWithParam<LongText> {};

TEST_P(LongPaste, OperatorReportsTheWholeTextThenADigitStartsAfresh) {
  const std::string& text = GetParam().text;
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{U',', U' '});
  host.clipboard = text;

  const double elapsed = seconds([&] {
    calc.paste();
    calc.press(Control::AdditionButton);
  });
  EXPECT_LT(elapsed, kBoundSeconds);

  ASSERT_EQ(host.errorReports, 1u);
  const std::string& shown = host.messages.back().text;
  ASSERT_EQ(shown.size(), 1 + text.size() + kNotANumber.size());
  EXPECT_EQ(shown.front(), '\'');
  EXPECT_EQ(shown.compare(1, text.size(), text), 0);
  EXPECT_EQ(shown.substr(1 + text.size()), kNotANumber);
  EXPECT_EQ(calc.displayText(), text);  // the failed reading leaves the display alone
  EXPECT_FALSE(calc.sequencer().nombre1Saisi());

  calc.copy();
  EXPECT_EQ(host.clipboard, text);

  calc.typeKey(U'7');
  EXPECT_EQ(calc.displayText(), "7");
  calc.typeKey(U'+');
  calc.typeKey(U'8');
  calc.typeKey(U'\r');
  EXPECT_EQ(calc.displayText(), "15");
  EXPECT_EQ(host.errorReports, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    TenMegabytes, LongPaste,
    ::testing::Values(LongText{"Digits", makeText(kTenMegabytes, "0123456789", '9')},
                      LongText{"Garbage", makeText(kTenMegabytes, "0123456789 ,.+-Eeabc\t\r\n", 'x')}),
    [](const ::testing::TestParamInfo<LongText>& param) { return std::string(param.param.name); });

TEST(LongPasteChangeRule, TenMegabytesOfLeadingZerosAllGo) {
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  host.clipboard = std::string(kTenMegabytes, '0') + "5";
  EXPECT_LT(seconds([&] { calc.paste(); }), kBoundSeconds);
  EXPECT_EQ(calc.displayText(), "5");
  EXPECT_EQ(calc.caret(), 1u);

  host.clipboard = std::string(kTenMegabytes, '0');
  calc.paste();
  EXPECT_EQ(calc.displayText(), "0");
}

TEST(LongPasteChangeRule, DigitAppendedToALongTextIsStillAppended) {
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{});
  host.clipboard = std::string(kTenMegabytes, '1');
  calc.paste();
  calc.typeKey(U'2');
  ASSERT_EQ(calc.displayText().size(), kTenMegabytes + 1);
  EXPECT_EQ(calc.displayText().back(), '2');
  EXPECT_EQ(calc.caret(), kTenMegabytes + 1);
}

// Sixteen times the text must cost far less than the 256 times a quadratic
// reading would. The bound of 100 leaves room for a shared, loaded machine
// (other test processes run beside this one) and for the smaller text
// profiting more from the caches and from memory the allocator already holds
// (both sizes stay below glibc's largest mmap threshold, so neither pays
// fresh page faults on every run); the fastest of five runs is compared.
TEST(Linearity, ReadingSixteenTimesTheTextIsFarFromQuadratic) {
  const std::string small = makeText(1u << 20, "0123456789", '1');
  const std::string large = makeText(16u << 20, "0123456789", '1');
  auto reading = [](const std::string& text) {
    return [&text] {
      try {
        TexteEnNombre(text, U'.');
        ADD_FAILURE() << "a text of " << text.size() << " digits overflows";
      } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::EConvertError);
      }
    };
  };
  const double ratio = costRatio(reading(large), reading(small), 100.0);
  RecordProperty("ratio", std::to_string(ratio));
  EXPECT_LT(ratio, 100.0);
}

TEST(Linearity, PasteAndOperatorOnSixteenTimesTheTextIsFarFromQuadratic) {
  auto session = [](std::size_t size) {
    const std::string text = makeText(size, "0123456789 x", '0');
    return [text] {
      testing::FakeHost host;
      host.recordDisplays = false;
      KeypadSession calc(host, Separateurs{});
      host.clipboard = text;
      calc.paste();
      calc.press(Control::ResultatButton);
      EXPECT_EQ(host.errorReports, 1u);
    };
  };
  const double ratio = costRatio(session(16u << 20), session(1u << 20), 100.0);
  RecordProperty("ratio", std::to_string(ratio));
  EXPECT_LT(ratio, 100.0);
}

}  // namespace
}  // namespace tallix
