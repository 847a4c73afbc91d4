// A library opened by its SONAME: typed entry points, a missing library or
// symbol reported as such, never a crash.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/loaded_library.h"

namespace tallix::platform {
namespace {

TEST(LoadedLibrary, FindsTypedEntryPointsAndReportsMissingOnes) {
  LoadedLibrary libc("libc.so.6");
  ASSERT_TRUE(libc.isOpen());
  decltype(&std::strlen) length = nullptr;
  ASSERT_TRUE(libc.symbol(length, "strlen"));
  EXPECT_EQ(length("Tallix"), 6u);
  EXPECT_NE(libc.address("environ"), nullptr) << "a data symbol";

  decltype(&std::strlen) absent = &std::strlen;
  EXPECT_FALSE(libc.symbol(absent, "tallix_no_such_symbol"));
  EXPECT_EQ(absent, nullptr);
}

TEST(LoadedLibrary, AMissingLibraryIsClosedAndHasNoSymbols) {
  LoadedLibrary missing("libtallix-no-such-library.so.0");
  EXPECT_FALSE(missing.isOpen());
  decltype(&std::strlen) length = &std::strlen;
  EXPECT_FALSE(missing.symbol(length, "strlen"));
  EXPECT_EQ(length, nullptr);
  EXPECT_EQ(missing.address("strlen"), nullptr);
}

}  // namespace
}  // namespace tallix::platform
