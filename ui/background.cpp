#include "ui/background.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tallix::ui {
namespace {

const unsigned char kBackgroundJpeg[] = {
#include "background_jpeg.inc"
};

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// libjpeg's default error exit calls exit(); jump back instead so a damaged
// picture only costs the background.
void onJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void silent(j_common_ptr, int) {}

// Decodes into *out, which lives in the caller's frame so nothing this frame
// changes after setjmp() is needed once longjmp() has come back.
bool decodeInto(const unsigned char* data, unsigned long size, QImage* out) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onJpegError;
  errors.base.emit_message = silent;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

QImage decode(const unsigned char* data, unsigned long size) {
  QImage image;
  if (!decodeInto(data, size, &image)) return {};
  return image;
}

}  // namespace

const QImage& backgroundImage() {
  static const QImage image = decode(kBackgroundJpeg, sizeof kBackgroundJpeg);
  return image;
}

}  // namespace tallix::ui
