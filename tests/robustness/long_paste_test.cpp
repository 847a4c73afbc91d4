// Pasted texts of several megabytes go through the same entry points as a
// click: the change rule, the reading at the next operator and the error
// report must all stay linear in the text's length, and the calculator must
// carry on normally afterwards. Linear cost is shown by counting the bytes
// the actions allocate, never by timing them (times are in bench/); a
// quadratic pass over the 10 MB texts below would also outlast the test's
// time limit.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <ostream>
#include <string>

#include "display/keypad_session.h"
#include "display/report.h"
#include "engine/conversion.h"
#include "engine/error.h"
#include "fake_host.h"

// Every allocation of this test program is counted, so that a test can say
// how many bytes an action asked for: a text copied once per character or
// once per step shows up as a number of copies that grows with the text.
namespace {
std::atomic<std::size_t> allocatedBytes{0};
std::atomic<std::size_t> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
  allocatedBytes += size;
  ++allocationCount;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
// GoogleTest allocates some of its objects with the non-throwing form; they
// are freed through the replaced delete below, so they come from malloc too.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  allocatedBytes += size;
  ++allocationCount;
  return std::malloc(size == 0 ? 1 : size);
}
// The blocks come from malloc above, so free is their match; the compiler
// cannot see that through the replacement.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace tallix {
namespace {

constexpr std::size_t kTenMegabytes = 10u << 20;
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

  calc.paste();
  calc.press(Control::AdditionButton);

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
  calc.paste();
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

// What an action allocated, in copies of a text of `size` bytes.
struct Work {
  double copies;
  std::size_t allocations;
};

Work workOf(std::size_t size, const std::function<void()>& action) {
  const std::size_t bytes = allocatedBytes, count = allocationCount;
  action();
  return {static_cast<double>(allocatedBytes - bytes) / static_cast<double>(size), allocationCount - count};
}

// An action on a text of a given size; everything it needs is made before
// the returned step runs, so only the step's own work is counted.
using Session = std::function<std::function<void()>(std::size_t size)>;

struct Linear {
  const char* name;
  Session session;
  double maxCopies;  // what the step may allocate, in copies of the text
  friend void PrintTo(const Linear& row, std::ostream* out) { *out << row.name; }
};

class Linearity : public ::testing::TestWithParam<Linear> {};

// Sixteen times the text makes no more copies of it, and no more than a few
// more allocations (a growing string doubles its block, four more times for
// sixteen times the length): the work per character stays the same.
TEST_P(Linearity, SixteenTimesTheTextCostsSixteenTimesTheWork) {
  const Linear& row = GetParam();
  const std::size_t small = 1u << 20, large = 16u << 20;
  const auto smallStep = row.session(small);
  const Work one = workOf(small, smallStep);
  const auto largeStep = row.session(large);
  const Work sixteen = workOf(large, largeStep);
  RecordProperty("copies", std::to_string(sixteen.copies));
  EXPECT_LE(sixteen.copies, row.maxCopies);
  EXPECT_LE(sixteen.copies, one.copies + 0.25);
  EXPECT_LE(sixteen.allocations, one.allocations + 16);
}

// A paste, then an operator that fails to read the text and reports it whole.
std::function<void()> pasteThenOperator(const std::string& alphabet, std::size_t size) {
  auto host = std::make_shared<testing::FakeHost>();
  host->recordDisplays = false;
  auto calc = std::make_shared<KeypadSession>(*host, Separateurs{});
  host->clipboard = makeText(size, alphabet, '0');
  return [host, calc] {
    calc->paste();
    calc->press(Control::ResultatButton);
    EXPECT_EQ(host->errorReports, 1u);
  };
}

const Linear kLinear[] = {
    {"ReadingDigits",
     [](std::size_t size) {
       auto text = std::make_shared<std::string>(makeText(size, "0123456789", '1'));
       return [text] { EXPECT_THROW(TexteEnNombre(*text, U'.'), CalcError); };
     },
     1.5},  // the error's message quotes the text
    {"PasteAndOperatorOnDigits", [](std::size_t size) { return pasteThenOperator("0123456789 x", size); },
     8.0},
    {"PasteAndOperatorOnGarbage",
     [](std::size_t size) { return pasteThenOperator("0123456789 ,.+-Eeabc\t\r\n", size); }, 8.0},
    {"PasteOfLeadingZeros",
     [](std::size_t size) {
       auto host = std::make_shared<testing::FakeHost>();
       host->recordDisplays = false;
       auto calc = std::make_shared<KeypadSession>(*host, Separateurs{});
       host->clipboard = std::string(size - 1, '0') + "5";
       return [host, calc] {
         calc->paste();
         EXPECT_EQ(calc->displayText(), "5");
       };
     },
     2.0},  // the clipboard's text, then in place
};

INSTANTIATE_TEST_SUITE_P(LongTexts, Linearity, ::testing::ValuesIn(kLinear),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tallix
