// The writers behind WriteImageFile, one per file format; CheckWritable has refused what the file
// cannot hold before any of them runs.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>
#include <xelhost/image_io.h>
#include <xelhost/provenance.h>

#include <filesystem>
#include <string>

namespace xelhost::image_io {

void CheckWritable(const ImageFileInfo& image, const std::filesystem::path& file, ImageFileFormat format);
// What CheckWritable asks of the image alone, for data that goes nowhere yet; name is what it is called.
void CheckShape(const ImageFileInfo& image, const std::string& name, ImageFileFormat format);

// A record, when given, goes into the file's text chunks (PNG) or each page's tags (TIFF).
void WritePng(const Image& image, const std::filesystem::path& file,
              ImageCompression compression = ImageCompression::Default, const Provenance* record = nullptr);
void WriteTiff(const Image& image, const std::filesystem::path& file,
               ImageCompression compression = ImageCompression::Default, const Provenance* record = nullptr);
void WritePgm(const Image& image, const std::filesystem::path& file);

// Deflate levels (libdeflate's 0..12) of the compression settings. On thermal pictures level 1,
// libdeflate's quickest matcher, comes within 5 % of zlib's default size in a seventh of its time;
// level 2 saves another 2 % at nearly twice the time of level 1, level 9 another 3 % at 17 times.
// Fast stores the data uncompressed: files three times larger, written at memory speed.
constexpr int DeflateLevel(ImageCompression compression) {
  switch (compression) {
    case ImageCompression::Fast:
      return 0;
    case ImageCompression::Small:
      return 9;
    case ImageCompression::Default:
      break;
  }
  return 1;
}

}  // namespace xelhost::image_io
