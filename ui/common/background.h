#pragma once
// The background gradient shared by both windows: a 1 x 425 progressive JPEG
// stored in the program, decoded with libjpeg (no image plugin is loaded).

#include <QImage>

namespace tallix::ui {

// The decoded picture, 1 x 425, decoded once and cached.
const QImage& backgroundImage();

}  // namespace tallix::ui
