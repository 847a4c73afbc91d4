// The display line model on its own: change notification, nesting, caret.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/display_line.h"
#include "engine/utf8.h"

namespace tallix {
namespace {

TEST(DisplayLine, NotifiesOnlyOnAnActualChange) {
  DisplayLine line;
  int changes = 0;
  line.setChangeHandler([&] { ++changes; });
  line.replace("12");
  line.replace("12");
  line.replace("");
  line.replace("");
  EXPECT_EQ(changes, 2);
}

TEST(DisplayLine, AShortTextGivesALongOnesMemoryBack) {
  DisplayLine line;
  line.replace(std::string(1u << 20, '7'));
  line.replace("0");
  EXPECT_LT(line.text().capacity(), 64u);
}

TEST(DisplayLine, NestedReplaceRunsBeforeTheOuterReturns) {
  DisplayLine line;
  std::vector<std::string> seen;
  line.setChangeHandler([&] {
    seen.push_back(line.text());
    if (line.text().size() > 1) line.replace(line.text().substr(1));
    seen.push_back("end " + line.text());
  });
  line.replace("abc");
  EXPECT_EQ(line.text(), "c");
  EXPECT_EQ(seen, (std::vector<std::string>{"abc", "bc", "c", "end c", "end c", "end c"}));
}

TEST(DisplayLine, CaretStaysOnCharacterBoundaries) {
  DisplayLine line;
  line.replace("a€b");  // € takes bytes 1 to 3
  line.setCaret(2);
  EXPECT_EQ(line.caret(), 1u);
  line.setCaret(100);
  EXPECT_EQ(line.caret(), 5u);
  line.replace("€");  // shorter: the caret comes back onto the text
  EXPECT_EQ(line.caret(), 3u);
}

TEST(DisplayLine, DropFrontIsSeenByTextAndView) {
  DisplayLine line;
  int changes = 0;
  line.setChangeHandler([&] { ++changes; });
  line.replace("0005");
  line.setCaret(4);
  line.dropFront(2);
  EXPECT_EQ(line.view(), "05");
  EXPECT_EQ(line.caret(), 2u);
  EXPECT_EQ(line.text(), "05");
  line.replace("05");  // equal to the cut text: no change
  EXPECT_EQ(changes, 1);
}

struct Decoded {
  const char* name;
  std::string bytes;
  std::u32string characters;
};

class Utf8Test : public ::testing::TestWithParam<Decoded> {};

TEST_P(Utf8Test, DecodesWithMaximalSubpartReplacement) {
  std::u32string got;
  const std::string& bytes = GetParam().bytes;
  for (std::size_t pos = 0; pos < bytes.size();) got += decodeUtf8(bytes, pos);
  EXPECT_EQ(got, GetParam().characters);
}

const Decoded kDecoded[] = {
    {"Ascii", "a1", U"a1"},
    {"TwoThreeFourBytes", "é€😀", U"é€😀"},
    {"LoneContinuation", "\x80", U"\uFFFD"},
    {"TruncatedThreeBytes", "\xE2\x82" "A", U"\uFFFDA"},
    {"OverlongTwoBytes", "\xC0\xAF", U"\uFFFD\uFFFD"},
    {"OverlongThreeBytes", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
    {"Surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
    {"AboveUnicode", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"InvalidLead", "\xFF" "a", U"\uFFFDa"},
    {"TruncatedAtTheEnd", "a\xF0\x9F\x98", U"a\uFFFD"},
};

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Test, ::testing::ValuesIn(kDecoded),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tallix
