// Deflate data in zlib format, as PNG and TIFF store it, with libdeflate in one call.
#pragma once

#include <xelfw/image_io.h>

#include <span>
#include <string>
#include <vector>

namespace xelfw::image_io {

// Throws ImageIoError naming the file when memory runs out.
std::vector<BYTE> ZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName);

}  // namespace xelfw::image_io
