// The compiled help file built by the project, read back through ChmFile:
// every context number of the help project reaches its page, the default
// topic, and what happens with missing or foreign files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

#include "ui/help/chm_file.h"

namespace tallix::ui {
namespace {

namespace fs = std::filesystem;

// The [MAP] numbers and the [ALIAS] pages of the help project, by name.
struct HelpProject {
  std::map<std::string, int> map;
  std::map<std::string, std::string> alias;
};

HelpProject readProject(const std::string& path) {
  HelpProject project;
  std::ifstream in(path);
  std::string line, section;
  const std::regex define(R"(#define (\w+) +(\d+)\s*)");
  const std::regex alias(R"((\w+)=(\S+)\s*)");
  std::smatch m;
  while (std::getline(in, line)) {
    if (!line.empty() && line.front() == '[') {
      section = line.substr(0, line.find(']') + 1);
    } else if (section == "[MAP]" && std::regex_match(line, m, define)) {
      project.map[m[1]] = std::stoi(m[2]);
    } else if (section == "[ALIAS]" && std::regex_match(line, m, alias)) {
      project.alias[m[1]] = m[2];
    }
  }
  return project;
}

class BuiltHelp : public testing::Test {
 protected:
  ChmFile chm{TALLIX_TEST_CHM};
};

TEST_F(BuiltHelp, OpensAtTheMainTopicForContext1000) {
  ASSERT_TRUE(chm.isOpen()) << TALLIX_TEST_CHM;
  EXPECT_EQ(chm.contextPath(1000), "/index.htm");
  EXPECT_EQ(chm.defaultTopic(), "/index.htm");
  EXPECT_EQ(chm.title(), "Aide de Tallix");
}

TEST_F(BuiltHelp, IsIntact) { EXPECT_TRUE(chm.isIntact()); }

TEST_F(BuiltHelp, SecondContextReachesAPageThatIsNotTheDefault) {
  ASSERT_TRUE(chm.isOpen());
  EXPECT_EQ(chm.contextPath(1020), "/operations.htm");
  EXPECT_NE(chm.contextPath(1020), chm.defaultTopic());
}

// The compiler drops a [MAP] line it does not like without a word, so every number
// the project declares is read back from the compiled #IVB.
TEST_F(BuiltHelp, EveryMappedNumberIsInTheFileAndReachesItsAliasPage) {
  ASSERT_TRUE(chm.isOpen());
  const HelpProject project = readProject(TALLIX_TEST_HELP_PROJECT);
  ASSERT_EQ(project.map.count("IDH_SOMMAIRE"), 1u);
  ASSERT_GE(project.map.size(), 2u);
  std::map<int, std::string> compiled;
  for (const auto& [id, stored] : chm.contexts()) compiled[id] = stored;
  EXPECT_EQ(compiled.size(), project.map.size());
  for (const auto& [name, id] : project.map) {
    SCOPED_TRACE(name);
    EXPECT_EQ(compiled.count(id), 1u);
    ASSERT_EQ(project.alias.count(name), 1u);
    EXPECT_EQ(chm.contextPath(id), "/" + project.alias.at(name));
  }
}

// A reader that trusts the map finds the page by its stored name alone, with
// the "/" every path inside the file starts with; no folder of the build
// machine may be left in it.
TEST_F(BuiltHelp, ContextMapHoldsThePageNamesInsideTheFile) {
  ASSERT_TRUE(chm.isOpen());
  const auto contexts = chm.contexts();
  ASSERT_FALSE(contexts.empty());
  for (const auto& [id, stored] : contexts) {
    SCOPED_TRACE(id);
    EXPECT_EQ(stored.find('/'), std::string::npos) << stored;
    EXPECT_TRUE(chm.contains("/" + stored)) << stored;
  }
}

// The keyword index as the binary tree stores it (UTF-16) and the page titles
// of the search results (windows-1252, the code page of the French language
// id): accented letters intact, none turned into "?" or into UTF-8 bytes.
TEST_F(BuiltHelp, KeywordsAndTitlesKeepTheirAccents) {
  ASSERT_TRUE(chm.isOpen());
  const auto keywords = chm.read("/$WWKeywordLinks/BTree");
  ASSERT_TRUE(keywords);
  for (const std::u16string word : {u"Carr\u00e9", u"D\u00e9cimales", u"Racine carr\u00e9e",
                                    u"Gauche \u00e0 droite (r\u00e8gle)", u"S\u00e9parateur d\u00e9cimal"}) {
    std::string utf16(2 * word.size(), '\0');
    for (std::size_t i = 0; i < word.size(); ++i) {
      utf16[2 * i] = static_cast<char>(word[i] & 0xFF);
      utf16[2 * i + 1] = static_cast<char>(word[i] >> 8);
    }
    EXPECT_NE(keywords->find(utf16), std::string::npos) << word.size() << "-letter keyword missing";
  }
  const auto strings = chm.read("/#STRINGS");
  ASSERT_TRUE(strings);
  EXPECT_NE(strings->find(std::string("\0Les op\xE9rations\0", 16)), std::string::npos);
  EXPECT_EQ(strings->find("\xC3"), std::string::npos);
}

TEST_F(BuiltHelp, UnknownContextHasNoTopic) {
  ASSERT_TRUE(chm.isOpen());
  EXPECT_EQ(chm.contextPath(0), std::nullopt);
  EXPECT_EQ(chm.contextPath(4242), std::nullopt);
  EXPECT_EQ(chm.contextPath(-1000), std::nullopt);
}

TEST_F(BuiltHelp, ServesPagesStyleSheetAndPicture) {
  ASSERT_TRUE(chm.isOpen());
  const auto page = chm.read("/index.htm");
  ASSERT_TRUE(page);
  EXPECT_NE(page->find("charset=windows-1252"), std::string::npos);
  EXPECT_NE(page->find("type=\"text/css\""), std::string::npos);
  const auto css = chm.read("/TALLIX.CSS");  // paths match without regard to case
  ASSERT_TRUE(css);
  EXPECT_NE(css->find("font-family"), std::string::npos);
  const auto png = chm.read("/calculette.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->substr(1, 3), "PNG");
  EXPECT_EQ(chm.read("/absent.htm"), std::nullopt);
  EXPECT_EQ(chm.read(""), std::nullopt);
  std::string longPath(601, 'a');
  longPath[0] = '/';
  EXPECT_EQ(chm.read(longPath), std::nullopt);
}

struct StoredPathCase {
  const char* name;
  const char* stored;
  std::optional<std::string> expected;
};

class StoredPath : public testing::TestWithParam<StoredPathCase> {};

// The compiler writes its own build folder into #STRINGS; a topic is found by
// the longest tail of that path that exists inside the file.
TEST_P(StoredPath, Resolves) {
  const ChmFile chm(TALLIX_TEST_CHM);
  ASSERT_TRUE(chm.isOpen());
  EXPECT_EQ(chm.resolveStoredPath(GetParam().stored), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredPath,
    testing::Values(StoredPathCase{"AbsoluteBuildFolder", "/home/x/build/ui/help/operations.htm", "/operations.htm"},
                    StoredPathCase{"WindowsFolder", "C:\\Aide\\Sources\\index.htm", "/index.htm"},
                    StoredPathCase{"BareName", "clavier.htm", "/clavier.htm"},
                    StoredPathCase{"AnchorKept", "/tmp/erreurs.htm#debordement", "/erreurs.htm#debordement"},
                    StoredPathCase{"AbsentPage", "/tmp/absent.htm", std::nullopt},
                    StoredPathCase{"FolderOnly", "/tmp/help/", std::nullopt},
                    StoredPathCase{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<StoredPathCase>& row) { return std::string(row.param.name); });

TEST(MovedHelp, StillOpensAtItsTopicsFromAnotherFolder) {
  const fs::path folder = fs::temp_directory_path() / "tallix_moved_help";
  fs::remove_all(folder);
  fs::create_directories(folder / "lib" / "tallix");
  const fs::path moved = folder / "lib" / "tallix" / "Tallix.chm";
  fs::copy_file(TALLIX_TEST_CHM, moved);
  {
    const ChmFile chm(moved.string());
    ASSERT_TRUE(chm.isOpen());
    EXPECT_EQ(chm.contextPath(1000), "/index.htm");
    EXPECT_EQ(chm.contextPath(1020), "/operations.htm");
  }
  fs::remove_all(folder);
}

TEST(MissingHelp, NoFileMeansNothingToRead) {
  const ChmFile chm("/nonexistent/folder/Tallix.chm");
  EXPECT_FALSE(chm.isOpen());
  EXPECT_FALSE(chm.contains("/index.htm"));
  EXPECT_EQ(chm.read("/index.htm"), std::nullopt);
  EXPECT_TRUE(chm.contexts().empty());
  EXPECT_EQ(chm.contextPath(1000), std::nullopt);
  EXPECT_EQ(chm.defaultTopic(), std::nullopt);
}

TEST(MissingHelp, AFileThatIsNotACompiledHelpFileIsRefused) {
  const fs::path path = fs::temp_directory_path() / "tallix_not_a_chm.chm";
  std::ofstream(path) << "<html><body>not a help file</body></html>";
  const ChmFile chm(path.string());
  EXPECT_FALSE(chm.isOpen());
  EXPECT_EQ(chm.contextPath(1000), std::nullopt);
  fs::remove(path);
}

// A help file cut short (an interrupted copy) must not bring the program
// down: whatever opens answers with what it can read, and none of it passes
// for an intact file.
TEST(DamagedHelp, TruncatedFilesAreReadSafely) {
  std::ifstream in(TALLIX_TEST_CHM, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 2000u);
  const fs::path path = fs::temp_directory_path() / "tallix_truncated.chm";
  for (const std::size_t keep : {std::size_t{0}, std::size_t{40}, std::size_t{120}, std::size_t{1000},
                                 whole.size() / 2, whole.size() - 100}) {
    SCOPED_TRACE(keep);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(whole.data(), static_cast<std::streamsize>(keep));
    const ChmFile chm(path.string());
    EXPECT_FALSE(chm.isIntact());
    if (!chm.isOpen()) continue;
    const auto topic = chm.contextPath(1000);
    if (topic) {
      EXPECT_EQ(*topic, "/index.htm");
    }
    (void)chm.read("/index.htm");
    (void)chm.defaultTopic();
  }
  fs::remove(path);
}

}  // namespace
}  // namespace tallix::ui
