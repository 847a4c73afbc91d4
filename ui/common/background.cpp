#include "ui/common/background.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/loaded_library.h"

namespace tallix::ui {
namespace {

const unsigned char kBackgroundJpeg[] = {
#include "background_jpeg.inc"
};

// libjpeg is needed for one decode at start-up and never again: it is
// loaded for that decode and unloaded after it, so the running program does
// not keep half a megabyte of decoder mapped. The build names the library
// it found: "libjpeg.so.62" for libjpeg 6.2, "libjpeg.so.8" for 8.
constexpr const char* kJpegLibrary = TALLIX_JPEG_SONAME;

// The few entry points the decode calls, found in the loaded library.
struct JpegApi {
  decltype(&jpeg_std_error) stdError = nullptr;
  decltype(&jpeg_CreateDecompress) createDecompress = nullptr;
  decltype(&jpeg_mem_src) memSrc = nullptr;
  decltype(&jpeg_read_header) readHeader = nullptr;
  decltype(&jpeg_start_decompress) startDecompress = nullptr;
  decltype(&jpeg_read_scanlines) readScanlines = nullptr;
  decltype(&jpeg_finish_decompress) finishDecompress = nullptr;
  decltype(&jpeg_destroy_decompress) destroyDecompress = nullptr;
};

class LoadedJpeg {
 public:
  LoadedJpeg() : library_(kJpegLibrary) {
    found_ = library_.symbol(api_.stdError, "jpeg_std_error") &&
             library_.symbol(api_.createDecompress, "jpeg_CreateDecompress") &&
             library_.symbol(api_.memSrc, "jpeg_mem_src") &&
             library_.symbol(api_.readHeader, "jpeg_read_header") &&
             library_.symbol(api_.startDecompress, "jpeg_start_decompress") &&
             library_.symbol(api_.readScanlines, "jpeg_read_scanlines") &&
             library_.symbol(api_.finishDecompress, "jpeg_finish_decompress") &&
             library_.symbol(api_.destroyDecompress, "jpeg_destroy_decompress");
  }

  // Null when the library or one of its entry points is missing.
  const JpegApi* api() const { return found_ ? &api_ : nullptr; }

 private:
  platform::LoadedLibrary library_;  // closed again with this object
  JpegApi api_;
  bool found_ = false;
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
bool decodeInto(const JpegApi& jpeg, const unsigned char* data, unsigned long size, QImage* out) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg.stdError(&errors.base);
  errors.base.error_exit = onJpegError;
  errors.base.emit_message = silent;
  if (setjmp(errors.jump)) {
    jpeg.destroyDecompress(&info);
    return false;
  }
  jpeg.createDecompress(&info, JPEG_LIB_VERSION, sizeof info);
  jpeg.memSrc(&info, data, size);
  jpeg.readHeader(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg.startDecompress(&info);
  *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->scanLine(static_cast<int>(info.output_scanline));
    jpeg.readScanlines(&info, &row, 1);
  }
  jpeg.finishDecompress(&info);
  jpeg.destroyDecompress(&info);
  return true;
}

// A missing libjpeg costs the background only, as a damaged picture does.
QImage decode(const unsigned char* data, unsigned long size) {
  const LoadedJpeg library;
  const JpegApi* jpeg = library.api();
  if (jpeg == nullptr) {
    std::fprintf(stderr, "tallix: %s cannot be loaded; the background stays plain.\n", kJpegLibrary);
    return {};
  }
  QImage image;
  if (!decodeInto(*jpeg, data, size, &image)) return {};
  return image;
}

}  // namespace

QImage stretchedPicture(const QImage& picture, QSize size) {
  // 32-bit first: only those are scaled directly; others go through a painter.
  const QImage source = picture.convertToFormat(QImage::Format_RGB32);
  if (source.width() != 1 || size.isEmpty()) {
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  const QImage column = source.scaled(1, size.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage out(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    std::fill(line, line + size.width(), column.pixel(0, y));
  }
  return out;
}

const QImage& backgroundImage() {
  static const QImage image = decode(kBackgroundJpeg, sizeof kBackgroundJpeg);
  return image;
}

}  // namespace tallix::ui
