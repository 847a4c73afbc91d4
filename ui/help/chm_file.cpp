#include "ui/help/chm_file.h"

#include <chm_lib.h>

#include <cstring>

#include "platform/loaded_library.h"

namespace tallix::ui {

namespace {

// A help file is small; anything bigger is not read into memory.
constexpr unsigned long long kLargestObject = 64ull * 1024 * 1024;

std::uint32_t readLe32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t readLe16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The NUL-terminated string at `offset`, or nothing past the end.
std::optional<std::string> stringAt(const std::string& table, std::size_t offset) {
  if (offset >= table.size()) return std::nullopt;
  const std::size_t end = table.find('\0', offset);
  return table.substr(offset, end == std::string::npos ? std::string::npos : end - offset);
}

// chmlib, opened the first time a help file is: the program starts without
// it (one library fewer to map and to search for every symbol the toolkit
// binds) and keeps it once the help has been opened. Opened by the name the
// dynamic loader knows the library the build found by.
struct ChmLibrary {
  decltype(&chm_open) open = nullptr;
  decltype(&chm_close) close = nullptr;
  decltype(&chm_enumerate) enumerate = nullptr;
  decltype(&chm_resolve_object) resolveObject = nullptr;
  decltype(&chm_retrieve_object) retrieveObject = nullptr;

  bool loaded() const { return open != nullptr; }
};

ChmLibrary loadChmLibrary() {
  platform::LoadedLibrary handle(TALLIX_CHM_SONAME);
  ChmLibrary library;
  if (handle.symbol(library.open, "chm_open") && handle.symbol(library.close, "chm_close") &&
      handle.symbol(library.enumerate, "chm_enumerate") &&
      handle.symbol(library.resolveObject, "chm_resolve_object") &&
      handle.symbol(library.retrieveObject, "chm_retrieve_object")) {
    handle.keepLoaded();
    return library;
  }
  return {};
}

const ChmLibrary& chm() {
  static const ChmLibrary library = loadChmLibrary();
  return library;
}

}  // namespace

// Without chmlib no file opens, and the help reads as unreadable.
ChmFile::ChmFile(const std::string& path) : file_(chm().loaded() ? chm().open(path.c_str()) : nullptr) {}

ChmFile::~ChmFile() {
  if (file_ != nullptr) chm().close(file_);
}

ChmFile::ChmFile(ChmFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

ChmFile& ChmFile::operator=(ChmFile&& other) noexcept {
  if (this != &other) {
    if (file_ != nullptr) chm().close(file_);
    file_ = std::exchange(other.file_, nullptr);
  }
  return *this;
}

bool ChmFile::isIntact() const {
  if (file_ == nullptr) return false;
  struct Walk {
    std::size_t objects = 0;
    bool whole = true;
  } walk;
  const auto readWhole = [](chmFile* file, chmUnitInfo* info, void* context) -> int {
    auto& w = *static_cast<Walk*>(context);
    ++w.objects;
    if (info->length > kLargestObject) {
      w.whole = false;
      return CHM_ENUMERATOR_FAILURE;
    }
    if (info->length == 0) return CHM_ENUMERATOR_CONTINUE;
    std::string bytes(static_cast<std::size_t>(info->length), '\0');
    const auto wanted = static_cast<LONGINT64>(info->length);
    if (chm().retrieveObject(file, info, reinterpret_cast<unsigned char*>(bytes.data()), 0, wanted) !=
        wanted) {
      w.whole = false;
      return CHM_ENUMERATOR_FAILURE;
    }
    return CHM_ENUMERATOR_CONTINUE;
  };
  const int walked = chm().enumerate(
      file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_META | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES,
      readWhole, &walk);
  return walked != 0 && walk.whole && walk.objects > 0;
}

bool ChmFile::contains(std::string_view path) const {
  if (file_ == nullptr || path.empty() || path.size() > CHM_MAX_PATHLEN) return false;
  chmUnitInfo info{};
  return chm().resolveObject(file_, std::string(path).c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::read(std::string_view path) const {
  if (file_ == nullptr || path.empty() || path.size() > CHM_MAX_PATHLEN) return std::nullopt;
  chmUnitInfo info{};
  if (chm().resolveObject(file_, std::string(path).c_str(), &info) != CHM_RESOLVE_SUCCESS)
    return std::nullopt;
  if (info.length > kLargestObject) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.length), '\0');
  if (info.length == 0) return bytes;
  const LONGINT64 got = chm().retrieveObject(file_, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                             static_cast<LONGINT64>(info.length));
  if (got != static_cast<LONGINT64>(info.length)) return std::nullopt;
  return bytes;
}

std::vector<std::pair<std::int32_t, std::string>> ChmFile::contexts() const {
  std::vector<std::pair<std::int32_t, std::string>> result;
  const auto ivb = read("/#IVB");
  const auto strings = read("/#STRINGS");
  if (!ivb || !strings || ivb->size() < 4) return result;
  // A 4-byte count of the bytes that follow, then (id, offset) pairs.
  std::size_t bytes = readLe32(*ivb, 0);
  if (bytes > ivb->size() - 4) bytes = ivb->size() - 4;
  for (std::size_t at = 4; at + 8 <= 4 + bytes; at += 8) {
    const auto id = static_cast<std::int32_t>(readLe32(*ivb, at));
    if (auto path = stringAt(*strings, readLe32(*ivb, at + 4))) result.emplace_back(id, std::move(*path));
  }
  return result;
}

std::optional<std::string> ChmFile::resolveStoredPath(std::string_view stored) const {
  std::string path(stored);
  std::string anchor;
  if (const auto hash = path.find('#'); hash != std::string::npos) {
    anchor = path.substr(hash);
    path.erase(hash);
  }
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.empty()) return std::nullopt;
  if (path.front() != '/') path.insert(path.begin(), '/');
  for (std::size_t slash = 0; slash != std::string::npos; slash = path.find('/', slash + 1)) {
    const std::string tail = path.substr(slash);
    if (tail.size() > 1 && contains(tail)) return tail + anchor;
  }
  return std::nullopt;
}

std::optional<std::string> ChmFile::contextPath(std::int32_t id) const {
  for (const auto& [number, stored] : contexts())
    if (number == id) return resolveStoredPath(stored);
  return std::nullopt;
}

std::optional<std::string> ChmFile::systemRecord(std::uint16_t code) const {
  const auto system = read("/#SYSTEM");
  if (!system) return std::nullopt;
  // A 4-byte version, then records of (code, length, data).
  for (std::size_t at = 4; at + 4 <= system->size();) {
    const std::uint16_t recordCode = readLe16(*system, at);
    const std::uint16_t length = readLe16(*system, at + 2);
    at += 4;
    if (length > system->size() - at) break;
    if (recordCode == code) return stringAt(system->substr(at, length), 0).value_or(std::string());
    at += length;
  }
  return std::nullopt;
}

std::optional<std::string> ChmFile::defaultTopic() const {
  const auto topic = systemRecord(2);
  if (!topic) return std::nullopt;
  return resolveStoredPath(*topic);
}

std::string ChmFile::title() const { return systemRecord(3).value_or(std::string()); }

}  // namespace tallix::ui
