// Error messages and the texts of the three reports.

#include <gtest/gtest.h>

#include "engine/utf8.h"
#include "engine/error.h"
#include "display/report.h"

namespace tallix {
namespace {

TEST(Errors, EachKindCarriesItsMessage) {
  struct Row {
    ErrorKind kind;
    const char* name;
    const char* message;
  };
  const Row rows[] = {
      {ErrorKind::Exception, "Exception", "Impossible d'ouvrir le Presse-papiers"},
      {ErrorKind::EZeroDivide, "EZeroDivide", "Division par zéro en virgule flottante"},
      {ErrorKind::EOverflow, "EOverflow", "Débordement en virgule flottante"},
      {ErrorKind::EInvalidOp, "EInvalidOp", "Opération en virgule flottante incorrecte"},
      {ErrorKind::EOutOfMemory, "EOutOfMemory", "Mémoire insuffisante"},
  };
  for (const Row& row : rows) {
    CalcError error = CalcError::ofKind(row.kind);
    EXPECT_EQ(error.kind(), row.kind);
    EXPECT_EQ(kindName(row.kind), row.name);
    EXPECT_EQ(error.message(), row.message) << row.name;
    EXPECT_STREQ(error.what(), row.message);
  }
  EXPECT_EQ(kindName(ErrorKind::EConvertError), "EConvertError");
}

TEST(Errors, ConversionQuotesTheWholeText) {
  EXPECT_EQ(CalcError::conversion("abc").message(),
            "'abc' n'est pas une valeur en virgule flottante correcte");
  EXPECT_EQ(CalcError::conversion("").message(),
            "'' n'est pas une valeur en virgule flottante correcte");
  EXPECT_EQ(CalcError::conversion(" 1 2 ").message(),
            "' 1 2 ' n'est pas une valeur en virgule flottante correcte");
  EXPECT_EQ(CalcError::conversion("x").kind(), ErrorKind::EConvertError);
}

struct Ending {
  const char* name;
  const char* message;
  const char* shown;
};

class ReportPointTest : public ::testing::TestWithParam<Ending> {};

TEST_P(ReportPointTest, AppendsAPointAboveFullStop) {
  EXPECT_EQ(withReportPoint(GetParam().message), GetParam().shown);
}

const Ending kEndings[] = {
    {"FullStop", "fin.", "fin."},
    {"ClosingParenthesis", "fin)", "fin)"},
    {"Exclamation", "fin!", "fin!"},
    {"Space", "fin ", "fin "},
    {"Apostrophe", "l'", "l'"},
    {"Comma", "a,", "a,"},
    {"Hyphen", "a-", "a-"},
    {"Slash", "a/", "a/."},
    {"Letter", "abc", "abc."},
    {"AccentedLetter", "Débordement inférieur", "Débordement inférieur."},
    {"AccentAtTheEnd", "é", "é."},
    {"Digit", "9", "9."},
    {"Colon", "a:", "a:."},
    {"QuestionMark", "a?", "a?."},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(LastByte, ReportPointTest, ::testing::ValuesIn(kEndings),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Reports, InvalidInputBoxHasNoPoint) {
  const Message box = invalidInputBox();
  EXPECT_EQ(box.text, "Entrée de la fonction incorrecte");
  EXPECT_EQ(box.caption, "Duvuroreza");
  EXPECT_EQ(box.icon, MessageIcon::Warning);
  EXPECT_FALSE(box.taskModal);
}

TEST(Reports, ApplicationReport) {
  const Message box = applicationErrorReport(CalcError::ofKind(ErrorKind::EZeroDivide));
  EXPECT_EQ(box.text, "Division par zéro en virgule flottante.");
  EXPECT_EQ(box.caption, "Tallix Standart");
  EXPECT_EQ(box.icon, MessageIcon::Stop);
  EXPECT_FALSE(box.taskModal);
  const std::string longText(100'000, 'a');
  EXPECT_EQ(applicationErrorReport(longText).text.size(), longText.size() + 1);  // shown whole
}

TEST(Reports, FatalReportFormat) {
  const Message box =
      fatalErrorReport("EConvertError", "tallix", 0x1A2B, "'x' n'est pas une valeur");
  EXPECT_EQ(box.text,
            "Exception EConvertError dans le module tallix dans 00001A2B.\r\n"
            "'x' n'est pas une valeur.\r\n");
  EXPECT_EQ(box.caption, "Erreur d'application");
  EXPECT_EQ(box.icon, MessageIcon::Stop);
  EXPECT_TRUE(box.taskModal);
}

TEST(Reports, FatalReportEndingOnlyFullStopSuppressesThePoint) {
  auto textOf = [](const char* message) {
    std::string text = fatalErrorReport("Exception", "m", 0, message).text;
    return text.substr(text.find("\r\n") + 2);
  };
  EXPECT_EQ(textOf("fin."), "fin.\r\n");
  EXPECT_EQ(textOf("fin!"), "fin!.\r\n");
  EXPECT_EQ(textOf("fin)"), "fin).\r\n");
  EXPECT_EQ(textOf(""), "\r\n");
}

TEST(Reports, FatalReportIsCutAt1023BytesOnACharacterBoundary) {
  for (std::size_t pad = 0; pad < 3; ++pad) {
    // Two-byte characters with a shifting start, so that the limit falls
    // both between and inside characters.
    std::string message(pad, 'a');
    for (int i = 0; i < 800; ++i) message += "é";
    const std::string text = fatalErrorReport("Exception", "m", 0, message).text;
    EXPECT_LE(text.size(), 1023u);
    EXPECT_GE(text.size(), 1022u);
    EXPECT_EQ(validUtf8(text), text) << "pad " << pad;
  }
  const std::string shortText = fatalErrorReport("Exception", "m", 0, "x").text;
  EXPECT_EQ(shortText, "Exception Exception dans le module m dans 00000000.\r\nx.\r\n");
}

}  // namespace
}  // namespace tallix
