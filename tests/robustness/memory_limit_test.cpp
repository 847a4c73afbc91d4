// tallix-keys with its address space limited, fed a 10 MB paste that is not
// a number: wherever memory runs out (reading the token, pasting, building
// the conversion report), the press ends in a report, the session goes on
// and the program exits normally.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Set in a cross build whose tests run under qemu-user, which accepts
// setrlimit(RLIMIT_AS) but does not apply it to the emulated program.
#if defined(TALLIX_EMULATED)
constexpr bool kEmulated = true;
#else
constexpr bool kEmulated = false;
#endif

const std::string kPasted(10'000'000, '7');
const std::string kReport = "!Tallix Standart\t";
const std::string kOutOfMemory = kReport + "Mémoire insuffisante.";
const std::string kConversion =
    kReport + "'" + kPasted + "' n'est pas une valeur en virgule flottante correcte.";

struct Outcome {
  int status = -1;
  std::vector<std::string> lines;
  std::string errors;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs tallix-keys on `input` in a child whose address space is limited to
// `megabytes`.
Outcome runLimited(const std::string& input, long megabytes) {
  char dir[] = "/tmp/tallix-memory-XXXXXX";
  if (mkdtemp(dir) == nullptr) return {};
  const std::string in = std::string(dir) + "/in", out = std::string(dir) + "/out",
                    err = std::string(dir) + "/err";
  std::ofstream(in, std::ios::binary) << input;
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{static_cast<rlim_t>(megabytes) << 20, static_cast<rlim_t>(megabytes) << 20};
    setrlimit(RLIMIT_AS, &limit);
    const int fdIn = open(in.c_str(), O_RDONLY);
    const int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fdIn, 0);
    dup2(fdOut, 1);
    dup2(fdErr, 2);
    execl(TALLIX_KEYS_PATH, "tallix-keys", "--separator", ".", static_cast<char*>(nullptr));
    _exit(127);
  }
  Outcome run;
  waitpid(child, &run.status, 0);
  std::istringstream lines(slurp(out));
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  run.errors = slurp(err);
  for (const std::string& file : {in, out, err}) std::remove(file.c_str());
  rmdir(dir);
  return run;
}

struct Limit {
  long megabytes;
  bool wholeReport;  // enough memory for the conversion report quoting the paste
};

class MemoryLimit : public ::testing::TestWithParam<Limit> {};

TEST_P(MemoryLimit, AHugePasteEndsInAReportAndTheSessionGoesOn) {
  if (kSanitized) GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit";
  if (kEmulated) GTEST_SKIP() << "qemu-user does not apply an address-space limit to the program it runs";
  const Outcome run =
      runLimited("1 + paste:" + kPasted + " + 2 = ButtonCancel 4 + 5 =", GetParam().megabytes);
  ASSERT_TRUE(WIFEXITED(run.status)) << "killed by signal " << WTERMSIG(run.status) << "\n" << run.errors;
  EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.errors;
  EXPECT_EQ(run.errors, "");

  std::size_t reports = 0;
  for (const std::string& line : run.lines) {
    if (!line.starts_with("!")) continue;
    ++reports;
    EXPECT_TRUE(line == kOutOfMemory || line == kConversion) << line.substr(0, 80);
    if (GetParam().wholeReport) {
      EXPECT_EQ(line, kConversion) << line.substr(0, 80);
    }
  }
  EXPECT_EQ(reports, 1u);
  ASSERT_GE(run.lines.size(), 5u);
  // "C", then "4 + 5 =" after the failure, as on a fresh calculator.
  const std::vector<std::string> tail(run.lines.end() - 5, run.lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"=0", "=4", "=4", "=5", "=9"}));
}

INSTANTIATE_TEST_SUITE_P(Megabytes, MemoryLimit,
                         ::testing::Values(Limit{24, false}, Limit{36, false}, Limit{60, false},
                                           Limit{85, true}, Limit{140, true}),
                         [](const ::testing::TestParamInfo<Limit>& param) {
                           return std::to_string(param.param.megabytes);
                         });

}  // namespace
