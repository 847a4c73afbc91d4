// golden_seeds OUT_DIR FILE.keys...: the key lines of golden transcripts as
// seeds of the key-sequence fuzz target, one seed per block, in the byte
// language of fuzz/key_script.h. The block's "[separator C]" becomes a
// separator change, a control name clicks that control, paste:TEXT pastes
// (at most 255 bytes of it), copy copies, separator:C changes the separator;
// any other token is typed as it stands, without the bytes the language
// reserves for its own actions. A separator the table lacks becomes the
// table's first one outside ASCII.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "display/controls.h"
#include "engine/utf8.h"
#include "key_script.h"

namespace {

namespace ks = tallix::keyscript;

// The index of the table's pair whose decimal separator is written `text`.
std::uint8_t separatorIndex(std::string_view text) {
  int fallback = -1;
  for (int k = 0; k < ks::kSeparatorPairs; ++k) {
    const char32_t decimal = ks::separatorPair(static_cast<std::uint8_t>(k)).decimal;
    if (tallix::utf8(decimal) == text) return static_cast<std::uint8_t>(k);
    if (fallback < 0 && decimal > 0x7F) fallback = k;
  }
  return static_cast<std::uint8_t>(fallback);
}

std::string separatorChange(std::string_view text) {
  return {static_cast<char>(ks::kSeparators), static_cast<char>(separatorIndex(text))};
}

std::string seedOfToken(std::string_view token) {
  if (auto control = tallix::controlFromName(token)) {
    return std::string(1, static_cast<char>(ks::kClickBase + static_cast<int>(*control)));
  }
  if (token == "copy") return std::string(1, static_cast<char>(ks::kCopy));
  if (token.starts_with("paste:")) {
    const std::string_view text = token.substr(6, 255);
    return std::string{static_cast<char>(ks::kPaste), static_cast<char>(text.size())} + std::string(text);
  }
  if (token.starts_with("separator:")) return separatorChange(token.substr(10));
  std::string typed;
  for (char c : token) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b != ks::kPaste && b != ks::kPasteClipboard && b != ks::kCopy && b != ks::kBusy &&
        b != ks::kSeparators) {
      typed += c;
    }
  }
  return typed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: golden_seeds OUT_DIR FILE.keys...\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  int blocks = 0;
  for (int f = 2; f < argc; ++f) {
    std::ifstream in(argv[f], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "golden_seeds: cannot read %s\n", argv[f]);
      return 1;
    }
    const std::string base = std::filesystem::path(argv[f]).stem().string();
    std::string line, seed;
    bool inBlock = false;
    int n = 0;
    while (std::getline(in, line)) {
      if (line.starts_with("[separator ")) {
        std::istringstream words(line);
        std::string word, separator;
        words >> word >> separator;
        if (separator.ends_with(']')) separator.pop_back();
        seed = separatorChange(separator);
        inBlock = true;
      } else if (line.starts_with("--")) {
        if (inBlock) {
          std::ofstream(out / ("golden-" + base + "-" + std::to_string(++n)), std::ios::binary) << seed;
        }
        inBlock = false;
      } else if (inBlock && !line.starts_with("#")) {
        std::istringstream tokens(line);
        for (std::string token; tokens >> token;) seed += seedOfToken(token);
      }
    }
    blocks += n;
  }
  std::printf("golden seeds: %d blocks from %d transcript file(s)\n", blocks, argc - 2);
  return 0;
}
