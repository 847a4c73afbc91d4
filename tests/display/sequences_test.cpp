// Whole calculations pressed key by key: what the display shows after each
// entry, and the state the calculator is left in.

#include <gtest/gtest.h>

#include <optional>

#include "session_driver.h"
#include "display/report.h"

namespace tallix::testing {
namespace {

struct Sequence {
  const char* name;
  const char* keys;
  const char* displays;
  State state;
  std::optional<long double> resultat = std::nullopt;
};

class SequenceTest : public ::testing::TestWithParam<Sequence> {};

TEST_P(SequenceTest, ShowsEachEntryAndEndsInItsState) {
  const Sequence& row = GetParam();
  Driver d;
  EXPECT_EQ(d.run(row.keys), row.displays) << row.keys;
  EXPECT_STREQ(stateName(stateOf(d.calc.sequencer())), stateName(row.state));
  if (row.resultat) {
    EXPECT_EQ(d.calc.sequencer().resultat(), *row.resultat);
  }
  EXPECT_TRUE(d.host.messages.empty());
}

const Sequence kSequences[] = {
    {"ChainRunsLeftToRight", "2 + 3 x 4 =", "2, 2, 3, 5, 4, 20", State::Idle, 20},
    {"PercentOfSum", "200 + 10 % =", "200, 200, 10, 20, 220", State::Idle, 220},
    {"PercentOfDifference", "200 - 10 % =", "200, 200, 10, 20, 180", State::Idle, 180},
    {"PercentOfProduct", "200 x 10 % =", "200, 200, 10, 20, 4000", State::Idle, 4000},
    {"PercentOfTheFirstOperand", "200 + % =", "200, 200, 400, 600", State::Idle, 600},
    {"PercentFirstGivesZero", "50 %", "50, 0", State::Idle, 0},
    {"ZeroPercentClearsThePendingSum", "200 + 0 %", "200, 200, 0, 0", State::Idle, 0},
    {"SquareRoot", "9 sqrt", "9, 3", State::Idle, 3},
    {"SquareRootTwice", "16 sqrt sqrt", "16, 4, 2", State::Idle, 2},
    {"SquareTwice", "3 sq sq", "3, 9, 81", State::Idle, 81},
    {"RootCompletesThePendingSum", "5 + 9 sqrt", "5, 5, 9, 14", State::Idle, 14},
    {"Power", "2 pow 10 =", "2, 2, 10, 1024", State::Idle, 1024},
    {"EqualsTwiceShowsTheValue", "7 = =", "7, 7, 7", State::Idle, 7},
    {"EqualsAfterEqualsKeepsTheResult", "2 + 3 = =", "2, 2, 3, 5, 5", State::Shown, 5},
    {"DivisionByZeroGivesZero", "1 / 0 =", "1, 1, 0, 0", State::Idle, 0},
    {"RepeatedPlusDoubles", "5 + + +", "5, 5, 10, 20", State::Pending, 20},
    {"ChangedOperator", "5 + x 2 =", "5, 5, 10, 2, 20", State::Idle, 20},
    {"PercentAfterEquals", "7 = 3 %", "7, 7, 3, 0.21", State::Shown},
    {"EditedResultIsRead", "2 + 3 = +/- x 2 =", "2, 2, 3, 5, -5, -5, 2, -10", State::Idle, -10},
    {"TwoDecimalsReadTheRoundedText", "2dec C 10 / 3 = x 3 =",
     "0.00, 0, 10, 10, 3, 3.33, 3.33, 3, 9.99", State::Idle},
    {"TwoDecimalsChainKeepsFullPrecision", "2dec C 10 / 3 x 3 =",
     "0.00, 0, 10, 10, 3, 3.33, 3, 10.00", State::Idle},
    {"ToggleReshowsTheResultAndTheDigitAppends", "2 + 3 = 7 4dec 1",
     "2, 2, 3, 5, 7, 5.0000, 5.00001", State::Idle, 5},
    {"EqualsFirstShowsZero", "=", "0", State::Shown, 0},
    {"ToggleAfterClearParsesTheDisplay", "C 2dec", "0, 0.00", State::Idle, 0},
    {"ClearInTheMiddle", "5 + 3 C 4 =", "5, 5, 3, 0, 4, 4", State::Shown, 4},
    {"PercentAfterEqualsWithZero", "7 = 0 %", "7, 7, 0, 0", State::Idle, 0},
    {"FractionEntry", "1.5 + .25 =", "1.5, 1.5, 0.25, 1.75", State::Idle, 1.75L},
    {"ThirdInAllDecimals", "1 / 3 =", "1, 1, 3, 0.333333333333333333", State::Idle},
};

INSTANTIATE_TEST_SUITE_P(Worked, SequenceTest, ::testing::ValuesIn(kSequences),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(SequenceDetail, EqualsAfterEqualsKeepsTheFirstOperand) {
  Driver d;
  d.run("2 + 3 = =");
  EXPECT_EQ(d.calc.sequencer().nombre1(), 5);
}

TEST(SequenceDetail, PercentAfterEqualsKeepsBothOperands) {
  Driver d;
  d.run("7 = 3 %");
  EXPECT_EQ(d.calc.sequencer().nombre1(), 7);
  EXPECT_EQ(d.calc.sequencer().nombre2(), 7.0L * 3 / 100);
  EXPECT_EQ(d.calc.sequencer().operateur(), 0);
}

TEST(SequenceDetail, PercentOfZeroAfterEqualsShowsTheValueThenZero) {
  Driver d;
  d.run("7 = 0");
  d.host.displays.clear();
  d.run("%");
  EXPECT_EQ(d.host.displays, (std::vector<std::string>{"7", "0"}));
}

TEST(SequenceDetail, ChainKeepsTheUnroundedResultAsFirstOperand) {
  Driver d;
  d.run("2dec C 10 / 3 x");
  EXPECT_EQ(d.calc.displayText(), "3.33");
  EXPECT_EQ(d.calc.sequencer().nombre1(), 10.0L / 3);
}

TEST(SequenceDetail, ToggleLeavesTheFreshNumberFlagAlone) {
  Driver d;
  d.run("2 + 3 = 7");
  EXPECT_FALSE(d.calc.sequencer().ecranAVider());
  d.run("4dec");
  EXPECT_FALSE(d.calc.sequencer().ecranAVider());
  EXPECT_EQ(d.host.modes, std::vector<DecimalMode>{DecimalMode::Quatre});
  d.run("4dec");  // a down toggle stays down: no change to announce
  EXPECT_EQ(d.host.modes.size(), 1u);
}

// --- Failures -------------------------------------------------------------

TEST(InvalidOperation, ShowsTheBoxFirstThenClears) {
  Driver d;
  // The box must be on show before the state is cleared: record the
  // result that is still held at that moment.
  struct Probe : FakeHost {
    const KeypadSession* calc = nullptr;
    std::vector<bool> nombre1SaisiAtBox;
    void showMessage(const Message& m) override {
      nombre1SaisiAtBox.push_back(calc->sequencer().nombre1Saisi());
      FakeHost::showMessage(m);
    }
  } probe;
  KeypadSession calc(probe, Separateurs{});
  probe.calc = &calc;
  for (Control c : {Control::Button4, Control::ButtonNeg, Control::RacineCarreeButton}) {
    calc.press(c);
  }
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], invalidInputBox());
  EXPECT_EQ(probe.messages[0].text, "Entrée de la fonction incorrecte");
  EXPECT_EQ(probe.messages[0].caption, "Duvuroreza");
  EXPECT_EQ(probe.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(probe.nombre1SaisiAtBox, std::vector<bool>{true});
  EXPECT_EQ(calc.displayText(), "-4");
  EXPECT_EQ(stateOf(calc.sequencer()), State::Idle);
  EXPECT_EQ(calc.sequencer().resultat(), 0);
  EXPECT_TRUE(calc.sequencer().ecranAVider());
  calc.press(Control::Button7);
  EXPECT_EQ(calc.displayText(), "7");
}

TEST(InvalidOperation, ClearsAnEarlierResult) {
  Driver d;
  d.run("2 + 3 = 4 +/- sqrt");
  EXPECT_EQ(d.calc.sequencer().resultat(), 0);
  EXPECT_EQ(d.run("2dec"), "-4.00");  // with no result held the toggle reads the display
}

TEST(ConversionError, LeavesOnlyTheFreshNumberFlag) {
  Driver d;
  d.run("5 + 3");
  d.run("paste:abc");
  EXPECT_FALSE(d.calc.sequencer().ecranAVider());
  d.run("x");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "'abc' n'est pas une valeur en virgule flottante correcte.");
  EXPECT_EQ(d.host.messages[0].caption, "Tallix Standart");
  EXPECT_EQ(d.host.messages[0].icon, MessageIcon::Stop);
  EXPECT_EQ(d.calc.displayText(), "abc");
  EXPECT_TRUE(d.calc.sequencer().ecranAVider());
  EXPECT_EQ(d.calc.sequencer().operateur(), 1);  // the sum is still pending on 5
  EXPECT_FALSE(d.calc.sequencer().nombre2Saisi());
  EXPECT_EQ(d.run("2 ="), "2, 7");
}

TEST(ConversionError, LoneMinusLeftByBackspace) {
  Driver d;
  EXPECT_EQ(d.run("5 +/- bs +"), "5, -5, -, -");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "'-' n'est pas une valeur en virgule flottante correcte.");
  EXPECT_EQ(stateOf(d.calc.sequencer()), State::Idle);
  EXPECT_EQ(d.run("3"), "3");
}

TEST(ConversionError, ToggleWithNoResultReadsTheDisplay) {
  Driver d;
  d.run("paste:1,2,3 2dec");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "'1,2,3' n'est pas une valeur en virgule flottante correcte.");
  EXPECT_EQ(d.calc.decimalMode(), DecimalMode::Deux);  // the toggle is down all the same
  EXPECT_EQ(d.calc.displayText(), "1,2,3");
}

TEST(ArithmeticFault, ZeroToANegativePowerRepeatsOnEveryPress) {
  Driver d;
  EXPECT_EQ(d.run("0 pow 2 +/- ="), "0, 0, 2, -2, -2");
  const Message report{"Tallix Standart", "Division par zéro en virgule flottante.",
                       MessageIcon::Stop, false};
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0], report);
  const Sequencer& c = d.calc.sequencer();
  EXPECT_EQ(stateOf(c), State::Pending);
  EXPECT_EQ(c.operateur(), 8);
  EXPECT_TRUE(c.nombre2Saisi());
  EXPECT_EQ(c.nombre2(), -2);
  d.run("=");
  EXPECT_EQ(d.host.messages.size(), 2u);
  d.run("+");  // the pressed operator is not recorded either
  EXPECT_EQ(d.host.messages.size(), 3u);
  EXPECT_EQ(c.operateur(), 8);
  EXPECT_EQ(d.run("C 2 ="), "0, 2, 2");
  EXPECT_EQ(d.host.messages.size(), 3u);
}

TEST(ArithmeticFault, FailedSquareRepeatsOnTheFirstOperand) {
  Driver d;
  d.run("2 + 3 =");
  d.run("paste:1E2467 sq");
  const Message report{"Tallix Standart", "Débordement en virgule flottante.", MessageIcon::Stop,
                       false};
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0], report);
  EXPECT_EQ(d.calc.displayText(), "1E2467");
  EXPECT_EQ(d.calc.sequencer().resultat(), 5);  // the previous result stays
  EXPECT_TRUE(d.calc.sequencer().nombre1Saisi());
  EXPECT_TRUE(d.calc.sequencer().nombre2Saisi());
  EXPECT_EQ(d.run("5 ="), "5, 5");  // 5 is read, but the square is of 1E2467
  EXPECT_EQ(d.host.messages.size(), 2u);
}

TEST(ArithmeticFault, PercentOverflowKeepsCodeFive) {
  Driver d;
  d.run("paste:1E4932 + 50 %");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "Débordement en virgule flottante.");
  EXPECT_EQ(d.calc.sequencer().operateur(), 5);
  d.run("=");
  EXPECT_EQ(d.host.messages.size(), 2u);
}

}  // namespace
}  // namespace tallix::testing
