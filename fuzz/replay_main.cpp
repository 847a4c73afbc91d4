// A plain main for a fuzz target: runs LLVMFuzzerTestOneInput on each file
// named on the command line (directories are walked), so a crash input reruns
// under gdb without libFuzzer: `replay_fuzz_touches crash-1234`. Valgrind
// suits the key sessions only: it computes long double in double precision.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void runFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...\n", argv[0]);
    return 2;
  }
  std::size_t count = 0;
  for (int a = 1; a < argc; ++a) {
    const std::filesystem::path path(argv[a]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) { runFile(entry.path()); ++count; }
      }
    } else {
      runFile(path);
      ++count;
    }
  }
  std::printf("%zu input(s) replayed, no failure\n", count);
  return 0;
}
