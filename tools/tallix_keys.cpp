// tallix-keys: drives the whole calculator logic from standard input.
//
//   tallix-keys [--separator C]
//   tallix-keys [--separator C] -e TOKENS | --expression TOKENS
//   tallix-keys --list-controls
//   tallix-keys --help | --version
//
// Standard input is split on whitespace into tokens. A control name
// ("Button7", "AdditionButton", ...) clicks that control; "paste:TEXT" puts
// TEXT on the clipboard and pastes it; "copy" copies the display;
// "separator:C" is a regional-settings change to the decimal separator C;
// any other token, a bare "paste" included, is typed character by character
// through the key table. For each of these presses the program
// writes one line "!CAPTION<TAB>TEXT" per message box, then "=DISPLAY".
//
//   echo '2+3*4=' | tallix-keys --separator .   ->  =2 =2 =3 =5 =4 =20
//
// The one-shot form -e (--expression) performs its tokens instead of
// standard input and writes only the final display, and before it the text
// of every message box on standard error:
//
//   tallix-keys -e '2+3*4='   ->  20
//
// --list-controls writes the control names, one a line, in the order of
// tallix::Control ("Button0" first), for the scripts that make seeds.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "display/controls.h"
#include "display/keypad_session.h"
#include "display/report.h"
#include "engine/error.h"
#include "engine/regional.h"
#include "engine/utf8.h"
#include "platform/regional_settings.h"

namespace {

using tallix::KeypadSession;

// Buffered standard output in a fixed buffer: writing a line never asks for
// memory, so a report of memory exhaustion always gets out, and a line of
// 10 MB streams through without a copy of its own.
class Output {
 public:
  explicit Output(std::FILE* stream) : stream_(stream) {}
  ~Output() { flush(); }
  // One record: the marker (none for '\0'), the text, and with `tab` a tab
  // and the second text.
  void line(char marker, std::string_view a, std::string_view b = {}, bool tab = false) {
    if (marker != '\0') put(marker);
    escaped(a);
    if (tab) {
      put('\t');
      escaped(b);
    }
    put('\n');
  }
  void flush() {
    if (used_ != 0) std::fwrite(buffer_, 1, used_, stream_);
    used_ = 0;
    std::fflush(stream_);
  }

 private:
  void put(char c) {
    if (used_ == sizeof buffer_) flush();
    buffer_[used_++] = c;
  }
  // Line breaks as the two-character escapes \r and \n: one record per line.
  void escaped(std::string_view text) {
    for (char c : text) {
      if (c == '\r') {
        put('\\');
        put('r');
      } else if (c == '\n') {
        put('\\');
        put('n');
      } else {
        put(c);
      }
    }
  }
  std::FILE* stream_;
  char buffer_[1 << 16];
  std::size_t used_ = 0;
};

// What a session writes: the transcript (every box and the display after
// every press, on standard output), or in the one-shot form the text of each
// box on standard error and the last display alone at the end.
class Report {
 public:
  explicit Report(bool oneShot) : oneShot_(oneShot) {}
  void message(const tallix::Message& message) {
    if (oneShot_) {
      err_.line('\0', message.text);
    } else {
      out_.line('!', message.caption, message.text, true);
    }
  }
  void display(std::string_view text) {
    if (!oneShot_) out_.line('=', text);
  }
  void finalDisplay(std::string_view text) {
    err_.flush();
    if (oneShot_) out_.line('\0', text);
  }

 private:
  bool oneShot_;
  Output out_{stdout};
  Output err_{stderr};
};

// The clipboard is a text held in the process; message boxes are written out
// as they are shown, so they precede the display line of their press.
class KeysHost : public tallix::Host {
 public:
  explicit KeysHost(Report& out) : out_(out) {}
  void showMessage(const tallix::Message& message) override { out_.message(message); }
  std::string clipboardText() override { return clipboard_; }
  void setClipboardText(std::string_view text) override { clipboard_ = text; }
  std::string clipboard_;

 private:
  Report& out_;
};

constexpr const char* kUsage =
    "usage: tallix-keys [--separator C] [-e TOKENS]\n"
    "       tallix-keys --list-controls | --help | --version\n";

int usage(const char* message) {
  std::fprintf(stderr, "tallix-keys: %s\n%s", message, kUsage);
  return 2;
}

// --help: the usage and the token language, on standard output.
int help() {
  std::printf(
      "%s\n"
      "Drives the Tallix calculator's logic from standard input, without a window.\n"
      "Tokens are separated by white space:\n"
      "  CONTROL       clicks the control of that name (Button7, AdditionButton, ...)\n"
      "  paste:TEXT    puts TEXT on the clipboard and pastes it\n"
      "  copy          copies the display to the clipboard\n"
      "  separator:C   changes the regional decimal separator to C\n"
      "  anything else is typed character by character through the keyboard\n"
      "For every press: one line !CAPTION<TAB>TEXT per message box, then =DISPLAY.\n\n"
      "  -e, --expression TOKENS\n"
      "                 performs TOKENS instead of standard input and prints only the\n"
      "                 final display; message box texts go to standard error\n"
      "  --separator C  the decimal separator (one UTF-8 character); by default the\n"
      "                 one of the LC_NUMERIC locale\n"
      "  --list-controls  prints the names of the 28 controls, one a line, and exits\n"
      "  --help         shows this help and exits\n"
      "  --version      shows the version and exits\n\n"
      "Example: echo '2+3*4=' | tallix-keys --separator .   (last line: =20)\n"
      "         tallix-keys -e '2+3*4='                      (prints 20)\n"
      "See tallix-keys(1).\n",
      kUsage);
  return 0;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// One token. An error outside the calculator's own presses (memory running
// out while the pasted text is put on the clipboard) takes the same path as
// a press's error: its report, then the display line.
void run(KeypadSession& session, KeysHost& host, Report& out, std::string& token) {
  auto done = [&] { out.display(session.displayText()); };
  try {
    if (auto control = tallix::controlFromName(token)) {
      session.press(*control);
      done();
    } else if (token.starts_with("paste:")) {
      // The token becomes the clipboard in place: no second copy of a huge text.
      token.erase(0, 6);
      host.clipboard_ = std::move(token);
      session.paste();
      done();
    } else if (token == "copy") {
      session.copy();
      done();
    } else if (token.starts_with("separator:")) {
      tallix::Separateurs regional = session.separateurs();
      regional =
          tallix::LireReglagesRegionaux(std::string_view(token).substr(10), tallix::utf8(regional.milliers));
      session.changeRegionalSettings(regional);
      done();
    } else {
      std::size_t pos = 0;
      while (pos < token.size()) {
        session.typeKey(tallix::decodeUtf8(token, pos));
        done();
      }
    }
  } catch (...) {
    tallix::reportCurrentError(host);
    done();
  }
}

// Splits standard input into tokens as it reads, so only the token at hand
// is held. A token too long for the memory left is dropped as it is read:
// its press reports "Mémoire insuffisante." and leaves the display as it
// was, and reading goes on after it.
class TokenReader {
 public:
  TokenReader(KeypadSession& session, KeysHost& host, Report& out)
      : session_(session), host_(host), out_(out) {}

  void feed(std::string_view chunk) {
    std::size_t pos = 0;
    while (pos < chunk.size()) {
      if (isBlank(chunk[pos])) {
        finish();
        ++pos;
        continue;
      }
      std::size_t end = pos;
      while (end < chunk.size() && !isBlank(chunk[end])) ++end;
      take(chunk.substr(pos, end - pos));
      pos = end;
    }
  }
  void finish() {
    if (!token_.empty()) run(session_, host_, out_, token_);
    std::string().swap(token_);  // a huge token's memory goes back now
    dropping_ = false;
  }

 private:
  void take(std::string_view piece) {
    if (dropping_) return;
    try {
      token_.append(piece);
    } catch (...) {
      std::string().swap(token_);
      dropping_ = true;
      tallix::reportCurrentError(host_);
      out_.display(session_.displayText());
    }
  }

  KeypadSession& session_;
  KeysHost& host_;
  Report& out_;
  std::string token_;
  bool dropping_ = false;  // the rest of a token that could not be held
};

}  // namespace

int main(int argc, char** argv) {
  bool pinned = false;
  std::string separator;
  bool oneShot = false;
  std::string expression;  // the -e tokens, in the order given
  auto addExpression = [&](std::string_view tokens) {
    expression.append(tokens).push_back(' ');
    oneShot = true;
  };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      return help();
    } else if (arg == "--version") {
      std::printf("tallix-keys %s (arithmetic: %s)\n", TALLIX_VERSION, tallix::arith::kName);
      return 0;
    } else if (arg == "--list-controls") {
      for (int c = 0; c < tallix::kControlCount; ++c) {
        const std::string_view name = tallix::controlName(static_cast<tallix::Control>(c));
        std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
      }
      return 0;
    } else if (arg == "--separator") {
      if (i + 1 >= argc) return usage("--separator needs a value");
      separator = argv[++i];
      pinned = true;
    } else if (arg.starts_with("--separator=")) {
      separator = arg.substr(12);
      pinned = true;
    } else if (arg == "-e" || arg == "--expression") {
      if (i + 1 >= argc) return usage(("option " + std::string(arg) + " needs a value").c_str());
      addExpression(argv[++i]);
    } else if (arg.starts_with("--expression=")) {
      addExpression(arg.substr(13));
    } else if (arg.starts_with("-e")) {
      addExpression(arg.substr(2));
    } else if (arg.starts_with("-")) {
      return usage(("unknown option: " + std::string(arg)).c_str());
    } else {
      return usage(
          ("unexpected argument: " + std::string(arg) + " (tokens go to -e or standard input)").c_str());
    }
  }
  const char32_t pinnedSeparator = pinned ? tallix::singleCharacter(separator) : 0;
  if (pinned && pinnedSeparator == 0) {
    return usage("the separator must be exactly one UTF-8 character");
  }
  tallix::Separateurs regional =
      pinned ? tallix::Separateurs{pinnedSeparator, U','} : tallix::platform::readRegionalSettings();

  Report out(oneShot);
  KeysHost host(out);
  KeypadSession session(host, regional);
  TokenReader reader(session, host, out);
  if (oneShot) {
    reader.feed(expression);
  } else {
    char chunk[1 << 16];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) {
      reader.feed(std::string_view(chunk, n));
    }
  }
  reader.finish();
  out.finalDisplay(session.displayText());
  return 0;
}
