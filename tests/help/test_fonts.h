#pragma once
// The windows are designed in Tahoma; these tests load it exactly as the
// program does, so their renders show what the user sees.

#include "ui/common/window_font.h"

inline void loadTahoma() { tallix::ui::ensureTahoma(); }
