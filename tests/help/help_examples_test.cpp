// Every worked example of the help pages, run through the calculator. An
// example is an element with class "exemple" holding, in order, the buttons
// pressed (<kbd class="touches">) and what follows each press: the display
// (<samp class="ecran">) and, when one is shown, the message box text
// (<samp class="message">). Each example starts on a fresh calculator and
// runs with "," as written and again with "." as the decimal separator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "fake_host.h"
#include "display/keypad_session.h"
#include "engine/utf8.h"

namespace tallix {
namespace {

namespace fs = std::filesystem;

struct Step {
  std::string keys;                    // "12 + 30 =": the buttons as the page names them
  std::string display;                 // the display after them
  std::optional<std::string> message;  // the message box they show, if any
};

struct Example {
  std::string page;
  std::vector<Step> steps;
  std::string problem;  // why the example could not be read; empty when fine
};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pages are windows-1252 without the bytes 0x80..0x9F, so each byte is
// the code point of the same value.
std::string pageText(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) text += utf8(static_cast<unsigned char>(c));
  return text;
}

// The text a reader sees inside a marked element: tags dropped, entities
// decoded, blanks collapsed. An entity the test does not know is kept as it
// stands, so the example fails visibly.
std::string visibleText(const std::string& html) {
  static const std::map<std::string, std::string> entities = {
      {"&minus;", "\u2212"}, {"&radic;", "\u221a"},  {"&larr;", "\u2190"},
      {"&times;", "\u00d7"}, {"&divide;", "\u00f7"}, {"&amp;", "&"},
      {"&lt;", "<"},         {"&gt;", ">"},          {"&nbsp;", " "}};
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
  for (const auto& [name, value] : entities) {
    for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), value);
  }
  text = std::regex_replace(text, std::regex("\\s+"), " ");
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The end of the element whose start tag named `tag` ends at `from`: the
// position after its matching end tag, nested elements of the same name
// counted.
std::size_t elementEnd(const std::string& html, const std::string& tag, std::size_t from) {
  const std::regex either("<(/?)" + tag + "[\\s>]", std::regex::icase);
  int depth = 1;
  for (auto it = std::sregex_iterator(html.begin() + static_cast<std::ptrdiff_t>(from), html.end(), either);
       it != std::sregex_iterator(); ++it) {
    depth += (*it)[1].length() == 0 ? 1 : -1;
    if (depth == 0) {
      const std::size_t close = html.find('>', from + static_cast<std::size_t>(it->position()));
      return close == std::string::npos ? html.size() : close + 1;
    }
  }
  return html.size();
}

std::vector<Example> examplesOf(const std::string& page, const std::string& html) {
  static const std::regex start(R"(<(\w+)[^>]*\bclass="exemple"[^>]*>)");
  static const std::regex part(
      R"re(<kbd class="touches">([\s\S]*?)</kbd>|<samp class="(ecran|message)">([\s\S]*?)</samp>)re");
  std::vector<Example> examples;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), start); it != std::sregex_iterator(); ++it) {
    const std::size_t from = static_cast<std::size_t>(it->position() + it->length());
    const std::string body = html.substr(from, elementEnd(html, (*it)[1], from) - from);
    Example example{page, {}, {}};
    for (auto p = std::sregex_iterator(body.begin(), body.end(), part); p != std::sregex_iterator(); ++p) {
      if ((*p)[1].matched) {
        example.steps.push_back({visibleText((*p)[1]), {}, {}});
        continue;
      }
      if (example.steps.empty()) {
        example.problem = "a result comes before any keys";
        break;
      }
      Step& step = example.steps.back();
      std::string& slot = (*p)[2] == "ecran" ? step.display : step.message.emplace();
      if (!slot.empty()) example.problem = "two results of one kind after \"" + step.keys + "\"";
      slot = visibleText((*p)[3]);
    }
    if (example.steps.empty()) example.problem = "no keys";
    for (const Step& step : example.steps)
      if (step.display.empty()) example.problem = "no display after \"" + step.keys + "\"";
    examples.push_back(std::move(example));
  }
  return examples;
}

std::vector<fs::path> helpPages() {
  std::vector<fs::path> pages;
  for (const auto& entry : fs::directory_iterator(TALLIX_TEST_HELP_DIR))
    if (entry.path().extension() == ".htm") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::vector<Example> allExamples() {
  std::vector<Example> all;
  for (const fs::path& page : helpPages()) {
    auto examples = examplesOf(page.filename().string(), pageText(readBytes(page)));
    all.insert(all.end(), examples.begin(), examples.end());
  }
  return all;
}

// One button name of the pages to the controls it presses; a number is typed
// digit by digit, its "," being the separator button.
std::optional<std::vector<Control>> controlsFor(const std::string& word) {
  static const std::map<std::string, Control> buttons = {{"+", Control::AdditionButton},
                                                         {"\u2212", Control::SoustractionButton},
                                                         {"\u00d7", Control::MultiplicationButton},
                                                         {"\u00f7", Control::DivisionButton},
                                                         {"=", Control::ResultatButton},
                                                         {"%", Control::PourcentageButton},
                                                         {"\u221a", Control::RacineCarreeButton},
                                                         {"x2", Control::PuissanceCarreeButton},
                                                         {"xy", Control::PuissanceCubeButton},
                                                         {"+/-", Control::ButtonNeg},
                                                         {"\u2190", Control::RetourArriereButton},
                                                         {"C", Control::ButtonCancel},
                                                         {"Pi", Control::NombrePiButton},
                                                         {"Phi", Control::NombrePhiButton},
                                                         {"[...]", Control::ButtonToutesDecimales},
                                                         {"[2]", Control::ButtonLimiterADeuxDecimales},
                                                         {"[4]", Control::ButtonLimiterAQuatreDecimales}};
  if (const auto it = buttons.find(word); it != buttons.end()) return std::vector<Control>{it->second};
  std::vector<Control> typed;
  for (const char c : word) {
    if (c >= '0' && c <= '9') {
      typed.push_back(static_cast<Control>(static_cast<int>(Control::Button0) + (c - '0')));
    } else if (c == ',') {
      typed.push_back(Control::VirguleButton);
    } else {
      return std::nullopt;
    }
  }
  return typed;
}

std::string withSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), ',', separator);
  return text;
}

// Runs one example on a fresh calculator; every difference is a failure.
void run(const Example& example, char separator) {
  testing::FakeHost host;
  KeypadSession session(host, Separateurs{static_cast<char32_t>(separator), U' '});
  for (const Step& step : example.steps) {
    SCOPED_TRACE("keys \"" + step.keys + "\"");
    host.messages.clear();
    std::size_t at = 0;
    while (at < step.keys.size()) {
      const std::size_t end = std::min(step.keys.find(' ', at), step.keys.size());
      const std::string word = step.keys.substr(at, end - at);
      at = end + 1;
      const auto controls = controlsFor(word);
      if (!controls) {
        ADD_FAILURE() << "unknown button \"" << word << "\"";
        return;
      }
      for (const Control control : *controls) session.press(control);
    }
    EXPECT_EQ(session.displayText(), withSeparator(step.display, separator));
    if (step.message) {
      ASSERT_FALSE(host.messages.empty()) << "no message box, expected \"" << *step.message << "\"";
      EXPECT_EQ(host.messages.back().text, *step.message);
    } else if (!host.messages.empty()) {
      ADD_FAILURE() << "unexpected message box \"" << host.messages.back().text << "\"";
    }
  }
}

class HelpExamples : public ::testing::TestWithParam<char> {};

TEST_P(HelpExamples, GiveWhatThePagesSay) {
  const auto examples = allExamples();
  ASSERT_GE(examples.size(), 40u) << "the pages lost their marked examples";
  for (const Example& example : examples) {
    SCOPED_TRACE(example.page);
    if (!example.problem.empty()) {
      ADD_FAILURE() << example.problem;
      continue;
    }
    run(example, GetParam());
  }
  RecordProperty("examples", static_cast<int>(examples.size()));
  std::printf("%zu examples run with '%c' as the separator\n", examples.size(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Separators, HelpExamples, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& row) {
                           return std::string(row.param == ',' ? "Comma" : "Point");
                         });

// Keys written outside a marked example would never be run.
TEST(HelpPages, WriteKeysOnlyInsideMarkedExamples) {
  for (const fs::path& page : helpPages()) {
    SCOPED_TRACE(page.filename().string());
    const std::string html = pageText(readBytes(page));
    std::size_t inside = 0;
    for (const Example& example : examplesOf(page.filename().string(), html)) inside += example.steps.size();
    std::size_t all = 0;
    for (std::size_t at = 0; (at = html.find("<kbd", at)) != std::string::npos; ++at) ++all;
    EXPECT_EQ(all, inside);
  }
}

// Every reader decodes the pages alike only if their bytes are what they
// declare and mean the same in windows-1252 and ISO 8859-1: no byte in
// 0x80..0x9F, and no UTF-8 sequence left by an editor.
TEST(HelpPages, AreWindows1252ThatLatin1ReadersReadTheSame) {
  for (const fs::path& page : helpPages()) {
    SCOPED_TRACE(page.filename().string());
    const std::string bytes = readBytes(page);
    EXPECT_NE(bytes.find("charset=windows-1252"), std::string::npos);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
      const auto byte = static_cast<unsigned char>(bytes[at]);
      const auto next = at + 1 < bytes.size() ? static_cast<unsigned char>(bytes[at + 1]) : 0;
      EXPECT_FALSE(byte >= 0x80 && byte < 0xA0) << "byte " << at;
      EXPECT_FALSE(byte >= 0xC2 && byte <= 0xDF && next >= 0x80 && next < 0xC0) << "UTF-8 at byte " << at;
    }
  }
}

}  // namespace
}  // namespace tallix
