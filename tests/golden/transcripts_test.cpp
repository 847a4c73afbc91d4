// Runs the golden transcripts: each block of a *.keys file is fed to one
// fresh tallix-keys process with its separator pinned, and the output must
// match the block's expected lines exactly.
//
// Transcript format (UTF-8):
//
//   # comment lines, between blocks
//   [separator ,] name of the case
//   input tokens, on one or more lines
//   --
//   expected output lines, exactly as tallix-keys writes them
//   (a blank line ends the block)
//
// A tab in an expected line is written as a real tab. The expected lines
// were captured from tallix-keys and then checked one by one against the
// worked examples of the calculator's behaviour; a changed line must be
// checked the same way, never re-captured blindly.
//
//   golden_transcripts [TALLIX_KEYS [FILE.keys...]]
//   golden_transcripts --locale [TALLIX_KEYS]     the regional separator check alone;
//                                                 exit 77 when it cannot run here
//
// In a cross build tallix-keys is started through the build's emulator
// (TALLIX_KEYS_LAUNCHER, its words separated by spaces; empty otherwise).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Block {
  std::string file;
  int line = 0;
  std::string separator;
  std::string name;
  std::string input;
  std::string expected;
};

struct Run {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Reads one descriptor to its end.
std::string drain(int fd) {
  std::string text;
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  return text;
}

// Starts the program with `args`, standard input from `input`, and collects
// its standard output and error (error into a temporary file, so that the
// two pipes can never block each other). Each `environment` entry "NAME=value"
// is set for the child, a bare "NAME" is removed.
Run runProgram(const std::vector<std::string>& args, const std::string& input,
               const std::vector<std::string>& environment = {}) {
  Run run;
  std::FILE* in = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int out[2];
  if (!in || !err || pipe(out) != 0) {
    run.err = "cannot create the pipes";
    return run;
  }
  std::fwrite(input.data(), 1, input.size(), in);
  std::fflush(in);
  lseek(fileno(in), 0, SEEK_SET);

  pid_t pid = fork();
  if (pid == 0) {
    dup2(fileno(in), 0);
    dup2(out[1], 1);
    dup2(fileno(err), 2);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : environment) {
      const std::size_t eq = e.find('=');
      if (eq == std::string::npos) {
        unsetenv(e.c_str());
      } else {
        setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
      }
    }
    execv(argv[0], argv.data());
    std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
  }
  close(out[1]);
  run.out = drain(out[0]);
  close(out[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  lseek(fileno(err), 0, SEEK_SET);
  run.err = drain(fileno(err));
  std::fclose(in);
  std::fclose(err);
  return run;
}

#ifndef TALLIX_KEYS_LAUNCHER
#define TALLIX_KEYS_LAUNCHER ""
#endif

// The whole --version line when the build says which program it made; the
// package test of an installed tallix-keys knows no build and checks the start.
#if defined(TALLIX_VERSION) && defined(TALLIX_ARITHMETIC_NAME)
constexpr const char* kVersionLine =
    "tallix-keys " TALLIX_VERSION " (arithmetic: " TALLIX_ARITHMETIC_NAME ")\n";
#else
constexpr const char* kVersionLine = "tallix-keys ";
#endif

// The command line that starts tallix-keys `program` with `args`, behind the
// launcher when there is one.
std::vector<std::string> keys(const std::string& program, const std::vector<std::string>& args = {}) {
  std::vector<std::string> command;
  std::istringstream launcher(TALLIX_KEYS_LAUNCHER);
  for (std::string word; launcher >> word;) command.push_back(word);
  command.push_back(program);
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

bool parse(const std::string& path, std::vector<Block>& blocks) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "%s: cannot read\n", path.c_str());
    return false;
  }
  enum { Between, Input, Expected } where = Between;
  std::string line;
  int number = 0;
  Block block;
  auto finish = [&] {
    blocks.push_back(block);
    where = Between;
  };
  while (std::getline(file, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    switch (where) {
      case Between:
        if (line.empty() || line[0] == '#') break;
        if (line.rfind("[separator ", 0) != 0 || line.find(']', 11) == std::string::npos) {
          std::fprintf(stderr, "%s:%d: expected \"[separator C] name\"\n", path.c_str(), number);
          return false;
        }
        block = Block{};
        block.file = path;
        block.line = number;
        block.separator = line.substr(11, line.find(']', 11) - 11);
        block.name = line.substr(line.find(']', 11) + 1);
        block.name.erase(0, block.name.find_first_not_of(' '));
        where = Input;
        break;
      case Input:
        if (line == "--") {
          where = Expected;
        } else {
          block.input += line + "\n";
        }
        break;
      case Expected:
        if (line.empty()) {
          finish();
        } else {
          block.expected += line + "\n";
        }
        break;
    }
  }
  if (where == Expected) finish();
  if (where == Input) {
    std::fprintf(stderr, "%s:%d: block without \"--\"\n", path.c_str(), block.line);
    return false;
  }
  return true;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Prints the first differing line and a little context.
void explain(const Block& block, const Run& run) {
  std::printf("FAIL %s:%d: %s\n", block.file.c_str(), block.line, block.name.c_str());
  if (run.exitCode != 0) std::printf("  exit code %d, stderr: %s\n", run.exitCode, run.err.c_str());
  std::vector<std::string> want = lines(block.expected), got = lines(run.out);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  std::printf("  first difference at output line %zu\n", i + 1);
  for (std::size_t k = i; k < std::min(i + 3, std::max(want.size(), got.size())); ++k) {
    std::printf("  expected: %s\n", k < want.size() ? want[k].c_str() : "(nothing)");
    std::printf("  actual:   %s\n", k < got.size() ? got[k].c_str() : "(nothing)");
  }
}

// Bad options end with exit code 2 and a message on standard error.
int checkOptions(const std::string& program) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"}, {"--separator"}, {"--separator", ""}, {"--separator", ",,"}, {"--separator", "\xFF"},
      {"extra"},   {"-e"},          {"--expression"},    {"-x", "1"},
  };
  int failures = 0;
  for (const auto& args : bad) {
    Run run = runProgram(keys(program, args), "1\n");
    if (run.exitCode != 2 || run.err.empty() || !run.out.empty()) {
      std::printf("FAIL option check:");
      for (const std::string& arg : args) std::printf(" '%s'", arg.c_str());
      std::printf(": exit %d, stdout '%s', stderr '%s'\n", run.exitCode, run.out.c_str(), run.err.c_str());
      ++failures;
    }
  }
  // --help and --version answer on standard output with exit code 0 and
  // read no input.
  const std::vector<std::pair<std::string, std::string>> informative = {
      {"--help", "usage: tallix-keys [--separator C] [-e TOKENS]\n"},
      {"--version", kVersionLine},
  };
  for (const auto& [option, start] : informative) {
    Run run = runProgram(keys(program, {option, "--bogus"}), "1\n");
    if (run.exitCode != 0 || run.out.rfind(start, 0) != 0 || run.out.find("\n=") != std::string::npos) {
      std::printf("FAIL option check: '%s': exit %d, stdout '%s'\n", option.c_str(), run.exitCode,
                  run.out.c_str());
      ++failures;
    }
  }
  // The one-shot form: standard input unread, the last display alone on
  // standard output, each message's text on standard error, exit code 0.
  struct OneShot {
    std::vector<std::string> args;
    std::string out;
    std::string err;
  };
  const std::vector<OneShot> oneShots = {
      {{"-e", "2+3*4="}, "20\n", ""},
      {{"--expression", "2+3*4="}, "20\n", ""},
      {{"--expression=2+3*4="}, "20\n", ""},
      {{"-e2+3*4="}, "20\n", ""},
      {{"--separator", ",", "-e", "1.5+1="}, "2,5\n", ""},
      {{"--separator", ".", "-e", "2 RacineCarreeButton", "-e", "ButtonLimiterADeuxDecimales"}, "1.41\n", ""},
      {{"--separator", ".", "-e", "paste:abc +"},
       "abc\n",
       "'abc' n'est pas une valeur en virgule flottante correcte.\n"},
      {{"--separator", ".", "-e", "0 PuissanceCubeButton 2 ButtonNeg ="},
       "-2\n",
       "Division par zéro en virgule flottante.\n"},
      {{"-e", ""}, "0\n", ""},
  };
  for (const OneShot& shot : oneShots) {
    const Run run = runProgram(keys(program, shot.args), "9\n");
    if (run.exitCode != 0 || run.out != shot.out || run.err != shot.err) {
      std::printf("FAIL one-shot '%s': exit %d, stdout '%s', stderr '%s'\n", shot.args.back().c_str(),
                  run.exitCode, run.out.c_str(), run.err.c_str());
      ++failures;
    }
  }
  return failures;
}

constexpr int kSkipped = 77;

// Without --separator the separator is the one of LC_NUMERIC, even when
// another category names a locale that is not installed. The comma locale is
// compiled into a scratch folder named by LOCPATH, so the machine needs no
// generated locale, only localedef and the locale sources (Debian's locales
// package); without them the check is skipped and says why.
int checkLocaleSeparator(const std::string& program) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tallix-locale-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string locale = (folder / "de_DE.UTF-8").string();
  const Run made = runProgram({"/usr/bin/localedef", "-i", "de_DE", "-f", "UTF-8", locale}, "");
  int failures = 0;
  if (made.exitCode > 1 || !std::filesystem::exists(locale)) {
    std::printf(
        "SKIPPED: localedef could not compile de_DE.UTF-8 into %s (exit %d): the locale "
        "sources (/usr/share/i18n/locales, Debian's locales package) are missing\n%s",
        folder.c_str(), made.exitCode, made.err.c_str());
    failures = -1;
  } else {
    const std::vector<std::vector<std::string>> environments = {
        {"LOCPATH=" + folder.string(), "LC_ALL", "LANG=C", "LC_NUMERIC=de_DE.UTF-8"},
        {"LOCPATH=" + folder.string(), "LC_ALL", "LANG=C", "LC_NUMERIC=de_DE.UTF-8",
         "LC_MESSAGES=xx_XX.UTF-8"},
        {"LOCPATH=" + folder.string(), "LC_ALL=de_DE.UTF-8"},
    };
    for (const auto& environment : environments) {
      const Run run = runProgram(keys(program), "1.5+1=\n", environment);
      if (run.exitCode != 0 || run.out != "=1\n=1,\n=1,5\n=1,5\n=1\n=2,5\n") {
        std::printf("FAIL locale separator with %s: exit %d, stdout '%s'\n", environment.back().c_str(),
                    run.exitCode, run.out.c_str());
        ++failures;
      }
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return failures;
}

int runLocaleCheck(const std::string& program) {
  const int failures = checkLocaleSeparator(program);
  if (failures < 0) return kSkipped;
  std::printf("locale separator: %s\n", failures == 0 ? "passed" : "FAILED");
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--locale") {
    return runLocaleCheck(argc > 2 ? argv[2] : TALLIX_KEYS);
  }
  std::string program = argc > 1 ? argv[1] : TALLIX_KEYS;
  std::vector<std::string> files;
  for (int i = 2; i < argc; ++i) files.emplace_back(argv[i]);
  if (files.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(TALLIX_GOLDEN_DIR)) {
      if (entry.path().extension() == ".keys") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
  }

  std::vector<Block> blocks;
  for (const std::string& file : files) {
    if (!parse(file, blocks)) return 1;
  }
  int failures = checkOptions(program);
  for (const Block& block : blocks) {
    Run run = runProgram(keys(program, {"--separator", block.separator}), block.input);
    if (run.exitCode != 0 || run.out != block.expected) {
      explain(block, run);
      ++failures;
    }
  }
  std::printf("%zu blocks in %zu files, %d failed\n", blocks.size(), files.size(), failures);
  return failures == 0 ? 0 : 1;
}
