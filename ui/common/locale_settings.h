#pragma once
// The regional separators of the process locale (LC_NUMERIC and friends).

#include "engine/regional.h"

namespace tallix::ui {

// Reads the decimal and thousands separators of the locale the environment
// names (LC_ALL, LC_NUMERIC, LANG), without changing the process locale.
// fr_FR.UTF-8 -> {',', U+202F}; C -> {'.', ','} (empty thousands falls back).
Separateurs readRegionalSettings();

}  // namespace tallix::ui
