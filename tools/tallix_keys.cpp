// tallix-keys: drives the whole calculator logic from standard input.
//
//   tallix-keys [--separator C]
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

#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <string_view>

#include "display/keypad_session.h"
#include "display/controls.h"
#include "engine/utf8.h"
#include "engine/conversion.h"
#include "engine/error.h"
#include "engine/regional.h"

namespace {

using tallix::KeypadSession;

// Buffered standard output; flushed at the end and when it grows large.
class Output {
 public:
  ~Output() { flush(); }
  void line(char marker, std::string_view a, std::string_view b = {}, bool tab = false) {
    buffer_ += marker;
    escaped(a);
    if (tab) {
      buffer_ += '\t';
      escaped(b);
    }
    buffer_ += '\n';
    if (buffer_.size() > (1u << 16)) flush();
  }
  void flush() {
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
    std::fflush(stdout);
  }

 private:
  // Line breaks as the two-character escapes \r and \n: one record per line.
  void escaped(std::string_view text) {
    for (char c : text) {
      if (c == '\r') {
        buffer_ += "\\r";
      } else if (c == '\n') {
        buffer_ += "\\n";
      } else {
        buffer_ += c;
      }
    }
  }
  std::string buffer_;
};

// The clipboard is a text held in the process; message boxes are written out
// as they are shown, so they precede the display line of their press.
class KeysHost : public tallix::Host {
 public:
  explicit KeysHost(Output& out) : out_(out) {}
  void showMessage(const tallix::Message& message) override {
    out_.line('!', message.caption, message.text, true);
  }
  std::string clipboardText() override { return clipboard_; }
  void setClipboardText(std::string_view text) override { clipboard_ = text; }
  std::string clipboard_;

 private:
  Output& out_;
};

constexpr const char* kUsage = "usage: tallix-keys [--separator C]\n       tallix-keys --help | --version\n";

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
      "  --separator C  the decimal separator (one UTF-8 character); by default the\n"
      "                 one of the LC_NUMERIC locale\n"
      "  --help         shows this help and exits\n"
      "  --version      shows the version and exits\n\n"
      "Example: echo '2+3*4=' | tallix-keys --separator .   (last line: =20)\n"
      "See tallix-keys(1).\n",
      kUsage);
  return 0;
}

// Only LC_NUMERIC is taken from the environment: a locale named for another
// category that is not installed must not hide the numeric one.
tallix::Separateurs separatorsFromLocale() {
  std::setlocale(LC_NUMERIC, "");
  return tallix::LireReglagesRegionaux(nl_langinfo(RADIXCHAR), nl_langinfo(THOUSEP));
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void run(KeypadSession& calculette, KeysHost& host, Output& out, std::string_view token) {
  auto done = [&] { out.line('=', calculette.displayText()); };
  if (auto control = tallix::controlFromName(token)) {
    calculette.press(*control);
    done();
  } else if (token.starts_with("paste:")) {
    host.clipboard_ = token.substr(6);
    calculette.paste();
    done();
  } else if (token == "copy") {
    calculette.copy();
    done();
  } else if (token.starts_with("separator:")) {
    tallix::Separateurs regional = calculette.separateurs();
    regional = tallix::LireReglagesRegionaux(token.substr(10), tallix::utf8(regional.milliers));
    calculette.changeRegionalSettings(regional);
    done();
  } else {
    std::size_t pos = 0;
    while (pos < token.size()) {
      calculette.typeKey(tallix::decodeUtf8(token, pos));
      done();
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool pinned = false;
  std::string separator;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      return help();
    } else if (arg == "--version") {
      std::printf("tallix-keys %s\n", TALLIX_VERSION);
      return 0;
    } else if (arg == "--separator") {
      if (i + 1 >= argc) return usage("--separator needs a value");
      separator = argv[++i];
      pinned = true;
    } else if (arg.starts_with("--separator=")) {
      separator = arg.substr(12);
      pinned = true;
    } else {
      return usage(("unknown option: " + std::string(arg)).c_str());
    }
  }
  const char32_t pinnedSeparator = pinned ? tallix::singleCharacter(separator) : 0;
  if (pinned && pinnedSeparator == 0) {
    return usage("the separator must be exactly one UTF-8 character");
  }
  tallix::Separateurs regional =
      pinned ? tallix::Separateurs{pinnedSeparator, U','} : separatorsFromLocale();

  std::string input;
  char chunk[1 << 16];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) input.append(chunk, n);

  Output out;
  KeysHost host(out);
  KeypadSession calculette(host, regional);
  std::size_t pos = 0;
  while (pos < input.size()) {
    while (pos < input.size() && isBlank(input[pos])) ++pos;
    std::size_t start = pos;
    while (pos < input.size() && !isBlank(input[pos])) ++pos;
    if (pos > start) run(calculette, host, out, std::string_view(input).substr(start, pos - start));
  }
  return 0;
}
