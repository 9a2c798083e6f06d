// Deflate data in zlib format, as PNG and TIFF store it, with libdeflate in one call.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/image_io.h>

#include <span>
#include <string>
#include <vector>

namespace xelhost::image_io {

// Throws ImageIoError naming the file when memory runs out.
std::vector<BYTE> ZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName);

}  // namespace xelhost::image_io
