// The editing buttons and the change rule of the display line.

#include <gtest/gtest.h>

#include "session_driver.h"

namespace tallix::testing {
namespace {

// --- The change rule, through pasted texts --------------------------------

struct Normalised {
  const char* name;
  const char* pasted;
  const char* shown;
};

class ChangeRuleTest : public ::testing::TestWithParam<Normalised> {};

TEST_P(ChangeRuleTest, NormalisesAndPutsTheCaretAtTheEnd) {
  Driver d(U',');
  d.host.clipboard = GetParam().pasted;
  d.calc.paste();
  EXPECT_EQ(d.calc.displayText(), GetParam().shown);
  EXPECT_EQ(d.calc.caret(), d.calc.displayText().size());
  EXPECT_TRUE(d.host.messages.empty());
}

const Normalised kNormalised[] = {
    {"OneLeadingZero", "05", "5"},
    {"ManyLeadingZeros", "0007", "7"},
    {"LoneZeroStays", "0", "0"},
    {"ZerosOnlyLeaveOne", "0000", "0"},
    {"ZeroBeforeSeparatorStays", "0,5", "0,5"},
    {"ZerosBeforeSeparator", "000,5", "0,5"},
    {"ZeroAfterMinusStays", "-05", "-05"},
    {"EmptyBecomesZero", "", "0"},
    {"LettersTakenAsTheyAre", "abc", "abc"},
    {"ZeroBeforeLetterStays", "0x1", "0x1"},
    {"LineBreaksKept", "1\r\n2", "1\r\n2"},
    {"IllFormedUtf8Replaced", "a\xFF" "b\xE2\x82", "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
    {"SurrogateReplaced", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"ValidUtf8Kept", "12€é", "12€é"},
};

INSTANTIATE_TEST_SUITE_P(Pasted, ChangeRuleTest, ::testing::ValuesIn(kNormalised),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ChangeRule, TheMirrorHearsOnlyTheNormalisedText) {
  Driver d;
  d.host.displays.clear();
  d.run("paste:007");
  EXPECT_EQ(d.host.displays, (std::vector<std::string>{"7"}));
  d.host.displays.clear();
  d.run("paste:");
  EXPECT_EQ(d.host.displays, (std::vector<std::string>{"0"}));
}

TEST(ChangeRule, AnEqualTextIsNoChange) {
  Driver d;
  std::size_t before = d.host.displayChanges;
  d.run("bs");  // "0" stays "0"
  d.run("+/-");
  d.run("paste:0");
  EXPECT_EQ(d.host.displayChanges, before);
}

TEST(ChangeRule, MillionZerosPasteAsOneChange) {
  Driver d;
  d.host.recordDisplays = false;
  const std::size_t n = 1'000'000;
  d.host.clipboard = std::string(n, '0') + "5";
  d.calc.paste();
  EXPECT_EQ(d.calc.displayText(), "5");
  // Ten megabytes of zeros, stripped in one pass.
  d.host.clipboard = std::string(10 * n, '0');
  d.calc.paste();
  EXPECT_EQ(d.calc.displayText(), "0");
  EXPECT_EQ(d.host.displayChanges, 3u);  // "0" at start, then once per paste
}

TEST(ChangeRule, NoLengthLimit) {
  Driver d;
  std::string digits(10'000'000, '7');
  d.host.clipboard = digits;
  d.calc.paste();
  d.calc.press(Control::Button1);
  EXPECT_EQ(d.calc.displayText().size(), digits.size() + 1);
  EXPECT_EQ(d.calc.displayText().back(), '1');
  d.calc.press(Control::RetourArriereButton);
  EXPECT_EQ(d.calc.displayText(), digits);
}

// --- Editing buttons ------------------------------------------------------

struct Edit {
  const char* name;
  const char* keys;  // Driver notation, starting from a fresh "0"
  const char* shown;
};

class EditTest : public ::testing::TestWithParam<Edit> {};

TEST_P(EditTest, Shows) {
  Driver d(U',');
  std::string shown = d.run(GetParam().keys);
  EXPECT_EQ(shown.substr(shown.rfind(", ") == std::string::npos ? 0 : shown.rfind(", ") + 2),
            GetParam().shown)
      << shown;
  EXPECT_EQ(d.calc.caret(), d.calc.displayText().size());
}

const Edit kEdits[] = {
    {"DigitReplacesTheStartZero", "7", "7"},
    {"ZeroAppends", "70", "70"},
    {"ZerosDoNotPileUp", "000", "0"},
    {"DigitAfterOperatorStartsFresh", "12 + 3", "3"},
    {"Separator", "12.", "12,"},
    {"SeparatorOnlyOnce", "12.5.", "12,5"},
    {"SeparatorAfterOperatorStartsFresh", "12 + .", "0,"},
    {"SignOn", "12 +/-", "-12"},
    {"SignOff", "12 +/- +/-", "12"},
    {"SignIgnoresLeadingZero", "0.5 +/-", "0,5"},
    {"SignOnZero", "+/-", "0"},
    {"SignOnLoneMinusGivesZero", "5 +/- bs +/-", "0"},
    {"Backspace", "123 bs", "12"},
    {"BackspaceLastDigit", "5 bs", "0"},
    {"BackspaceLeavesMinus", "5 +/- bs", "-"},
    {"BackspaceLeavesSeparator", "0.5 bs", "0,"},
    {"BackspaceOnPastedEuro", "paste:12€ bs", "12"},
    {"BackspaceOnLoneAccent", "paste:é bs", "0"},
    {"BackspaceEditsTheResult", "2 + 3 = bs", "0"},
    {"SignEditsTheResult", "2 + 3 = +/-", "-5"},
    {"DigitAfterEditedResultStartsFresh", "12 + 3 = +/- 4", "4"},
    {"PiAllDecimals", "pi", "3,14159"},
    {"PiTwoDecimals", "2dec pi", "3,14"},
    {"PiFourDecimals", "4dec pi", "3,1416"},
    {"PhiAllDecimals", "phi", "1,61803"},
    {"PhiTwoDecimals", "2dec phi", "1,61"},
    {"PhiFourDecimals", "4dec phi", "1,6180"},
    {"DigitAfterPiAppends", "pi 2", "3,141592"},
    {"PiAfterOperatorThenDigitStartsFresh", "1 + pi 2", "2"},
    {"PiIsReadByTheOperator", "1 + pi =", "4,14159"},
};

INSTANTIATE_TEST_SUITE_P(Buttons, EditTest, ::testing::ValuesIn(kEdits),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Constants, FollowThePointSeparator) {
  Driver d(U'.');
  EXPECT_EQ(d.run("4dec pi"), "0.0000, 3.1416");
  EXPECT_EQ(d.run("all phi"), "3.1416, 1.61803");
}

TEST(Constants, MultiByteSeparator) {
  Driver d(U'·');
  EXPECT_EQ(d.run("pi"), "3·14159");
  EXPECT_EQ(d.run("+ 2.5 ="), "3·14159, 2·5, 5·64159");
  // Backspace trims the result on show but leaves the fresh-number flag set.
  EXPECT_EQ(d.run("bs bs bs bs bs ."), "5·6415, 5·641, 5·64, 5·6, 5·, 0·");
  EXPECT_EQ(d.run("bs"), "0");
}

}  // namespace
}  // namespace tallix::testing
