#include "platform/machine_figures.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include "engine/extended.h"
#include "platform/number_pattern.h"

namespace tallix::platform {

std::uint64_t LinuxMachineFigures::totalPhysicalMemory() const {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return 0;
  const std::uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
  return static_cast<std::uint64_t>(info.totalram) * unit;
}

std::int64_t LinuxMachineFigures::diskCapacity() const {
  struct statvfs fs {};
  if (statvfs("/", &fs) != 0) return -1;
  const unsigned long long blocks = fs.f_blocks;
  const unsigned long long size = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
  // A capacity past the signed 64-bit range cannot be told apart from a
  // query failure by the caller, so it saturates instead of wrapping.
  if (size != 0 && blocks > static_cast<unsigned long long>(INT64_MAX) / size) return INT64_MAX;
  return static_cast<std::int64_t>(blocks * size);
}

std::string memoryFigure(std::uint64_t bytes, char32_t thousandsSeparator) {
  const Extended kilobytes = static_cast<Extended>(bytes) / Extended(1024);
  return FormaterMotif("#,###\" KB\"", kilobytes, thousandsSeparator);
}

std::string diskFigure(std::int64_t bytes) {
  const Extended megabytes = static_cast<Extended>(bytes) / Extended(1024) / Extended(1024);
  return formatMegabytes(arith::toInt64(megabytes));  // toward zero
}

}  // namespace tallix::platform
