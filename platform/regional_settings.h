#pragma once
// The regional separators of the locale the environment names: the one
// reader of the system's settings, for the window and tallix-keys alike.

#include "engine/regional.h"

namespace tallix::platform {

// Reads the decimal and thousands separators of the numeric locale the
// environment names (LC_ALL, else LC_NUMERIC, else LANG), through the
// engine's one-character rule, without changing the process locale. A
// locale named for another category never hides the numeric one, and a
// locale the system does not have reads as "C".
// fr_FR.UTF-8 -> {',', U+202F}; C -> {'.', ','} (empty thousands falls back).
Separateurs readRegionalSettings();

}  // namespace tallix::platform
