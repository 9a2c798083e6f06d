// The writers behind WriteImageFile, one per file format.
#pragma once

#include <xelfw/Image.h>
#include <xelfw/image_io.h>

#include <filesystem>

namespace xelfw::image_io {

void WritePng(const Image& image, const std::filesystem::path& file,
              ImageCompression compression = ImageCompression::Default);
void WriteTiff(const Image& image, const std::filesystem::path& file,
               ImageCompression compression = ImageCompression::Default);
void WritePgm(const Image& image, const std::filesystem::path& file);

// Deflate levels (libdeflate's 1..12, which libtiff shares) of the compression settings. Level 2 is
// within a few per cent of zlib's default size at a tenth of its time on thermal pictures; level 9
// is about 10 % smaller again at 30 times the time of level 2.
constexpr int DeflateLevel(ImageCompression compression) {
  switch (compression) {
    case ImageCompression::Fast:
      return 1;
    case ImageCompression::Small:
      return 9;
    case ImageCompression::Default:
      break;
  }
  return 2;
}

}  // namespace xelfw::image_io
