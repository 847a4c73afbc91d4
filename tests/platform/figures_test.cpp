// The About window's two machine figures: the pattern formatting, the text
// each byte count gives, and the Linux source against what the kernel
// reports elsewhere; the regional settings the figures group with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/machine_figures.h"
#include "platform/number_pattern.h"
#include "platform/regional_settings.h"

namespace tallix::platform {
namespace {

struct KilobyteRow {
  Extended kilobytes;
  const char* text;
};

class MemoryPattern : public ::testing::TestWithParam<KilobyteRow> {};

TEST_P(MemoryPattern, GroupsThousandsWithASpace) {
  EXPECT_EQ(FormaterMotif("#,###\" KB\"", GetParam().kilobytes, U' '), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, MemoryPattern,
                         ::testing::Values(KilobyteRow{0, " KB"}, KilobyteRow{0.4990234375L, " KB"},
                                           KilobyteRow{0.5L, "1 KB"}, KilobyteRow{999, "999 KB"},
                                           KilobyteRow{1000, "1 000 KB"}, KilobyteRow{1536.5L, "1 537 KB"},
                                           KilobyteRow{523776, "523 776 KB"},
                                           KilobyteRow{4194303.9990234375L, "4 194 304 KB"},
                                           KilobyteRow{1e21L, "1 000 000 000 000 000 000 000 KB"}));

TEST(Pattern, SeparatorsAndPlaceholders) {
  EXPECT_EQ(FormaterMotif("#,###\" KB\"", 1234567, U'\u202f'), "1\u202f234\u202f567 KB");
  EXPECT_EQ(FormaterMotif("#,###\" KB\"", 1234567, 0), "1234567 KB");
  EXPECT_EQ(FormaterMotif("####", 1234567, U' '), "1234567");
  EXPECT_EQ(FormaterMotif("0000", 12, U' '), "0012");
  EXPECT_EQ(FormaterMotif("#,##0.00", 1234.5L, U' '), "1 234.50");
  EXPECT_EQ(FormaterMotif("#.##", 2.5L, U' '), "2.5");
}

TEST(MegabyteText, FormatsTheSignedInteger) {
  EXPECT_EQ(formatMegabytes(76319), "76319 MB");
  EXPECT_EQ(formatMegabytes(0), "0 MB");
  EXPECT_EQ(formatMegabytes(-12), "-12 MB");
  EXPECT_EQ(formatMegabytes(INT64_MIN), "-9223372036854775808 MB");
}

struct MemoryCase {
  const char* name;
  std::uint64_t bytes;
  char32_t milliers;
  const char* expected;
};

class MemoryFigure : public testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryFigure, Text) {
  EXPECT_EQ(memoryFigure(GetParam().bytes, GetParam().milliers), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoryFigure,
    testing::Values(
        MemoryCase{"TwoGiBWithBlank", 2147483648ull, U' ', "2 097 152 KB"},
        // 4194303.999 KB rounds half up to the next whole kilobyte.
        MemoryCase{"Largest32BitCount", 4294967295ull, U' ', "4 194 304 KB"},
        // Past 32 bits the whole amount shows, not a wrapped one.
        MemoryCase{"SixteenGiB", 17179869184ull, U' ', "16 777 216 KB"},
        MemoryCase{"OneTiBWithComma", 1099511627776ull, U',', "1,073,741,824 KB"},
        MemoryCase{"NarrowNoBreakSpace", 2147483648ull, U'\u202f', "2\u202f097\u202f152 KB"},
        MemoryCase{"HalfKilobyteRoundsUp", 512, U' ', "1 KB"},
        MemoryCase{"BelowHalfKilobyteShowsNoDigit", 511, U' ', " KB"},
        MemoryCase{"Zero", 0, U' ', " KB"},
        MemoryCase{"ThreeDigitsNoGroup", 999ull * 1024, U' ', "999 KB"},
        MemoryCase{"FourDigitsGrouped", 1023ull * 1024, U' ', "1 023 KB"}),
    [](const testing::TestParamInfo<MemoryCase>& row) { return std::string(row.param.name); });

struct DiskCase {
  const char* name;
  std::int64_t bytes;
  const char* expected;
};

class DiskFigure : public testing::TestWithParam<DiskCase> {};

TEST_P(DiskFigure, Text) { EXPECT_EQ(diskFigure(GetParam().bytes), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DiskFigure,
    testing::Values(DiskCase{"OneGiB", 1073741824, "1024 MB"},
                    // Truncated, never rounded up.
                    DiskCase{"JustBelowOneMiB", 1048575, "0 MB"},
                    DiskCase{"OneMiB", 1048576, "1 MB"},
                    DiskCase{"FourTB", 4000000000000ll, "3814697 MB"},
                    DiskCase{"FourTiB", 4398046511104ll, "4194304 MB"},
                    DiskCase{"LargestSigned64", INT64_MAX, "8796093022207 MB"},
                    DiskCase{"Empty", 0, "0 MB"}),
    [](const testing::TestParamInfo<DiskCase>& row) { return std::string(row.param.name); });

std::uint64_t memTotalFromProc() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    if (line.rfind("MemTotal:", 0) == 0) {
      std::istringstream fields(line.substr(9));
      std::uint64_t kb = 0;
      fields >> kb;
      return kb * 1024;
    }
  }
  return 0;
}

TEST(LinuxMachineFigures, MemoryIsTheKernelsTotalNotTheFreeAmount) {
  const std::uint64_t proc = memTotalFromProc();
  if (proc == 0) GTEST_SKIP() << "no /proc/meminfo";
  EXPECT_EQ(LinuxMachineFigures().totalPhysicalMemory(), proc);
}

TEST(LinuxMachineFigures, RootDiskHasACapacity) {
  const std::int64_t capacity = LinuxMachineFigures().diskCapacity();
  EXPECT_GT(capacity, 0);
}

TEST(RegionalSettings, ReadsTheEnvironmentsLocaleNotTheProcessOne) {
  const char* saved = std::getenv("LC_ALL");
  const std::string previous = saved != nullptr ? saved : "";
  // The C locale has no thousands separator: the comma stands in.
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(readRegionalSettings().milliers, U',');
  // A locale that is not installed cannot be read: the comma again.
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(readRegionalSettings().milliers, U',');
  if (saved != nullptr) setenv("LC_ALL", previous.c_str(), 1); else unsetenv("LC_ALL");
}

}  // namespace
}  // namespace tallix::platform
