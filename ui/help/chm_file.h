#pragma once
// Read access to a compiled HTML Help file through chmlib: its pages and
// pictures by path, its context numbers and its default topic. The file
// stays open as long as the object lives.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct chmFile;

namespace tallix::ui {

class ChmFile {
 public:
  // Opens `path`; isOpen() tells whether it is a readable CHM file.
  explicit ChmFile(const std::string& path);
  ~ChmFile();
  ChmFile(ChmFile&&) noexcept;
  ChmFile& operator=(ChmFile&&) noexcept;

  bool isOpen() const { return file_ != nullptr; }

  // Whether every object the directory lists reads back whole: false for a
  // file cut short or overwritten in its directory or its compressed pages,
  // which may still open and answer some requests.
  bool isIntact() const;

  // Whether an object lies at `path` ("/index.htm"; matched without regard
  // to case, like every path inside the file).
  bool contains(std::string_view path) const;

  // The bytes of the object at `path`, or nothing when it is absent,
  // unreadable or larger than the reader accepts.
  std::optional<std::string> read(std::string_view path) const;

  // Every (context number, topic path) pair of the file's #IVB and #STRINGS,
  // the paths as stored (the compiler may have written its build folder).
  std::vector<std::pair<std::int32_t, std::string>> contexts() const;

  // The object that context `id` opens, resolved to a path present in the
  // file: contextPath(1000) -> "/index.htm" even when #STRINGS says
  // "/home/build/help/index.htm". Any "#anchor" is kept at the end.
  std::optional<std::string> contextPath(std::int32_t id) const;

  // The default topic and the title recorded in #SYSTEM, resolved likewise.
  std::optional<std::string> defaultTopic() const;
  std::string title() const;

  // The path inside the file that a stored topic path stands for: the
  // longest tail of it, cut at a "/", that exists. "a\\b.htm" and "b.htm"
  // read as "/a/b.htm" and "/b.htm".
  std::optional<std::string> resolveStoredPath(std::string_view stored) const;

 private:
  std::optional<std::string> systemRecord(std::uint16_t code) const;

  chmFile* file_ = nullptr;
};

}  // namespace tallix::ui
