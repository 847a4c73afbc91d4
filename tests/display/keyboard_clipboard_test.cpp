// Typed characters, the clipboard commands and a change of the regional
// settings.

#include <gtest/gtest.h>

#include "session_driver.h"

namespace tallix::testing {
namespace {

void type(KeypadSession& calc, std::u32string_view keys) {
  for (char32_t c : keys) calc.typeKey(c);
}

TEST(Keyboard, TypingMatchesClicking) {
  Driver typed(U','), clicked(U',');
  type(typed.calc, U"12,5+3\r");
  clicked.run("12.5 + 3 =");
  EXPECT_EQ(typed.calc.displayText(), "15,5");
  EXPECT_EQ(typed.calc.displayText(), clicked.calc.displayText());
  EXPECT_EQ(typed.host.displays, clicked.host.displays);
}

struct Typed {
  const char* name;
  char32_t separator;
  std::u32string_view keys;
  const char* shown;
};

class KeyTest : public ::testing::TestWithParam<Typed> {};

TEST_P(KeyTest, Shows) {
  Driver d(GetParam().separator);
  type(d.calc, GetParam().keys);
  EXPECT_EQ(d.calc.displayText(), GetParam().shown);
  EXPECT_TRUE(d.host.messages.empty());
}

const Typed kTyped[] = {
    {"PointInsertsTheCommaSeparator", U',', U"1.5", "1,5"},
    {"CommaInsertsThePointSeparator", U'.', U"1,5", "1.5"},
    {"SmallXIsIgnored", U'.', U"6x7=", "67"},
    {"CapitalXMultiplies", U'.', U"6X7=", "42"},
    {"StarMultiplies", U'.', U"6*7=", "42"},
    {"SlashDivides", U'.', U"7/2=", "3.5"},
    {"MinusSubtracts", U'.', U"2-5=", "-3"},
    {"PercentKey", U'.', U"200+10%", "20"},
    {"EnterIsEquals", U'.', U"2+2\r", "4"},
    {"BackspaceKey", U'.', U"123\b", "12"},
    {"SpaceClears", U'.', U"2+3= ", "0"},
    {"OtherCharactersIgnored", U'.', U"1a\t\nÉ€2", "12"},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyTest, ::testing::ValuesIn(kTyped),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Keyboard, SpaceClearsTheResultAndThePendingOperation) {
  Driver d;
  type(d.calc, U"2+3= ");
  EXPECT_EQ(d.calc.sequencer().resultat(), 0);
  EXPECT_EQ(stateOf(d.calc.sequencer()), State::Idle);
}

// --- Clipboard ------------------------------------------------------------

TEST(Clipboard, CopyTakesTheWholeDisplay) {
  Driver d;
  d.run("12.75 +/-");
  d.calc.copy();
  EXPECT_EQ(d.host.clipboard, "-12.75");
  EXPECT_EQ(d.calc.displayText(), "-12.75");
}

TEST(Clipboard, CopyThenPasteRoundTrips) {
  Driver d;
  d.run("1 / 3 =");
  d.calc.copy();
  d.run("C");
  d.calc.paste();
  EXPECT_EQ(d.calc.displayText(), "0.333333333333333333");
}

TEST(Clipboard, PasteAfterOperatorIsTheSecondOperand) {
  Driver d;
  EXPECT_EQ(d.run("5 + paste:0042 ="), "5, 5, 42, 47");
}

TEST(Clipboard, DigitAfterPasteAfterOperatorStartsFresh) {
  Driver d;
  EXPECT_EQ(d.run("5 + paste:42 3 ="), "5, 5, 42, 3, 8");
}

TEST(Clipboard, PastedTextIsJudgedAtTheNextOperator) {
  Driver d;
  EXPECT_EQ(d.run("paste:abc"), "abc");
  EXPECT_TRUE(d.host.messages.empty());
  d.run("+");
  const Message report{"Tallix Standart",
                       "'abc' n'est pas une valeur en virgule flottante correcte.",
                       MessageIcon::Stop, false};
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0], report);
}

TEST(Clipboard, MessageQuotesTheTextUnchanged) {
  Driver d;
  d.run("paste:\xC3\xA9t\xC3\xA9 =");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "'été' n'est pas une valeur en virgule flottante correcte.");
}

TEST(Clipboard, BusyClipboardIsReportedAndChangesNothing) {
  Driver d;
  d.run("2 + 7");
  d.host.clipboard = "before";
  d.host.clipboardFails = true;
  d.calc.paste();
  d.calc.copy();
  const Message report{"Tallix Standart", "Impossible d'ouvrir le Presse-papiers.",
                       MessageIcon::Stop, false};
  EXPECT_EQ(d.host.messages, (std::vector<Message>{report, report}));
  EXPECT_EQ(d.calc.displayText(), "7");
  EXPECT_EQ(d.host.clipboard, "before");
  d.host.clipboardFails = false;
  EXPECT_EQ(d.run("="), "9");  // the calculator still answers
}

TEST(Clipboard, OutOfMemoryIsReported) {
  struct Starved : FakeHost {
    std::string clipboardText() override { throw std::bad_alloc(); }
  } host;
  KeypadSession calc(host, Separateurs{});
  calc.paste();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Mémoire insuffisante.");
  EXPECT_EQ(host.messages[0].caption, "Tallix Standart");
}

// --- Regional settings ----------------------------------------------------

TEST(Regional, SeparatorChangeIsFollowedEverywhere) {
  Driver d(U',');
  EXPECT_EQ(d.run("1.5 + 1"), "1,5, 1,5, 1");
  d.calc.changeRegionalSettings(Separateurs{U'.', U' '});
  EXPECT_EQ(d.calc.fSeparateur(), U'.');
  // The separator key now inserts what the reading accepts, and results
  // are written with it; a whole result keeps no trailing separator.
  EXPECT_EQ(d.run(".25 ="), "1.25, 2.75");
  EXPECT_EQ(d.run("x 4 ="), "2.75, 4, 11");
  EXPECT_EQ(d.run("pi"), "3.14159");
  EXPECT_TRUE(d.host.messages.empty());
  d.run("paste:1,5 +");
  ASSERT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(d.host.messages[0].text, "'1,5' n'est pas une valeur en virgule flottante correcte.");
}

}  // namespace
}  // namespace tallix::testing
