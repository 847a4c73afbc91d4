#pragma once
// The About window's number texts, apart from the window so they can be
// checked without one.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/extended.h"

namespace tallix::platform {

// Formats with a pattern such as #,###" KB": digit placeholders, ',' turns on
// grouping with `milliers`, a quoted literal. FormaterMotif("#,###\" KB\"",
// 1536.5L, U' ') == "1 537 KB"; a value that rounds to 0 gives " KB".
std::string FormaterMotif(std::string_view pattern, Extended v, char32_t milliers);

// The disk figure, format "%d MB": formatMegabytes(76319) == "76319 MB".
std::string formatMegabytes(std::int64_t megabytes);

}  // namespace tallix::platform
