#pragma once
// The background gradient shared by both windows: a 1 x 425 progressive JPEG
// stored in the program, decoded with libjpeg (no image plugin is loaded).

#include <QImage>

namespace tallix::ui {

// The decoded picture, 1 x 425, decoded once and cached.
const QImage& backgroundImage();

// `picture` stretched to `size` with smooth scaling, in 32-bit RGB; exactly
// what QImage::scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
// gives. A picture one pixel wide (the gradient) has the same colour all
// along each row, so only its column is scaled and each row filled with it:
// stretchedPicture(backgroundImage(), {260, 238}) costs 238 pixels of
// scaling instead of 61 880.
QImage stretchedPicture(const QImage& picture, QSize size);

}  // namespace tallix::ui
