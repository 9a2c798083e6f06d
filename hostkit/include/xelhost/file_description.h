// What an image file is and what it records of how it was made, read from its headers and tags
// without decoding pixels: what `xelimg info` prints.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/provenance.h>

#include <filesystem>
#include <string>

namespace xelhost {

struct ImageFileDescription {
  std::string format;  // "PNG", "TIFF", "BigTIFF", "PGM", "JPEG", "WebP"
  UINT width = 0;      // of the first page
  UINT height = 0;
  UINT bitsPerSample = 0;     // as stored (a PNG's or PGM's depth, a TIFF's BitsPerSample)
  UINT samplesPerPixel = 0;   // 1 grey, 3 RGB, 2 or 4 with alpha
  bool floatSamples = false;  // IEEE floats (a temperature map), else unsigned integers
  UINT pages = 0;
  // The file's record (a TIFF's first page): its provenance block when it has one, else what it has
  // of its text chunks (PNG) or of the Software and PageName tags (TIFF); a TIFF's DateTime too.
  Provenance record;
};

// Throws ImageIoError naming the file when it cannot be read or is no PNG, TIFF, PGM, JPEG or WebP.
XEL_HOST_API ImageFileDescription DescribeImageFile(const std::filesystem::path& file);

}  // namespace xelhost
