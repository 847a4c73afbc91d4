#pragma once
// The two figures the About window shows about the machine: its total
// physical memory and the capacity of the disk holding the root file system.
// The program reads the Linux figures; a test hands its own through the
// windows' services. The number texts of both figures are here too.

#include <cstdint>
#include <string>

namespace tallix::platform {

class MachineFigures {
 public:
  virtual ~MachineFigures() = default;
  // Total physical memory in bytes, the whole 64-bit amount; 0 when unknown.
  virtual std::uint64_t totalPhysicalMemory() const = 0;
  // Total bytes of the disk holding "/", or -1 when it cannot be queried.
  virtual std::int64_t diskCapacity() const = 0;
};

// Reads sysinfo() and statvfs("/").
class LinuxMachineFigures final : public MachineFigures {
 public:
  std::uint64_t totalPhysicalMemory() const override;
  std::int64_t diskCapacity() const override;
};

// The memory figure: bytes / 1024 in extended precision, rounded half up to
// whole kilobytes and grouped with `thousandsSeparator`.
// memoryFigure(2147483648, U' ') == "2 097 152 KB".
std::string memoryFigure(std::uint64_t bytes, char32_t thousandsSeparator);

// The disk figure: bytes / 1024 / 1024 in extended precision, truncated
// toward zero. diskFigure(1073741824) == "1024 MB"; diskFigure(1048575) ==
// "0 MB". The caller keeps its "0" when the capacity is -1.
std::string diskFigure(std::int64_t bytes);

}  // namespace tallix::platform
