// Deflate data in zlib format, as PNG and TIFF store it: in one call with libdeflate, or piece by piece
// with zlib for data too large to hold whole beside the image it comes from.
#pragma once

#include <xelfw/Image.h>
#include <xelhost/framework_types.h>
#include <xelhost/image_io.h>

#include <zlib.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace xelhost::image_io {

// Throws ImageIoError naming the file when memory runs out.
std::vector<BYTE> ZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName);
// The same stream appended to `out`, which grows by no more than the stream (its capacity may).
void AppendZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName,
                      xelfw::FrameBuffer& out);

// One zlib stream fed in pieces; what it compresses leaves in blocks of at most kBlockBytes.
class ZlibDeflater {
 public:
  using Output = std::function<void(std::span<const BYTE> block)>;
  static constexpr std::size_t kBlockBytes = 64 * 1024;

  // Throws ImageIoError naming the file when memory runs out.
  ZlibDeflater(ImageCompression compression, std::string fileName);
  ~ZlibDeflater();
  ZlibDeflater(const ZlibDeflater&) = delete;
  ZlibDeflater& operator=(const ZlibDeflater&) = delete;

  // `last` ends the stream: every byte still held is compressed and handed on.
  void Add(std::span<const BYTE> data, bool last, const Output& out);

 private:
  z_stream m_Stream{};
  std::vector<BYTE> m_Block;
  std::string m_FileName;
};

}  // namespace xelhost::image_io
