// libdeflate for whole buffers, with one compressor a thread and level kept from frame to frame:
// allocating one costs as much as compressing a small strip. zlib's deflate for the streams
// libdeflate cannot make, as it compresses whole buffers only.
#include "image_io/zlib_stream.h"

#include "image_io/image_writers.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace xelhost::image_io {

namespace {

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

libdeflate_compressor& ThreadCompressor(ImageCompression compression, const std::string& fileName) {
  constexpr int kLevels = 13;  // libdeflate's 0..12
  thread_local std::array<std::unique_ptr<libdeflate_compressor, CompressorDeleter>, kLevels> compressors;
  const int level = std::clamp(DeflateLevel(compression), 0, kLevels - 1);
  auto& compressor = compressors[static_cast<std::size_t>(level)];
  if (!compressor) compressor.reset(libdeflate_alloc_compressor(level));
  if (!compressor) throw ImageIoError(fileName + ": cannot compress: out of memory");
  return *compressor;
}

// Compresses into `out` from `offset` on, which holds at least the bound from there; the stream's size.
template <class Buffer>
std::size_t CompressInto(libdeflate_compressor& compressor, std::span<const BYTE> data, const std::string& fileName,
                         Buffer& out, std::size_t offset) {
  const std::size_t size =
      libdeflate_zlib_compress(&compressor, data.data(), data.size(), out.data() + offset, out.size() - offset);
  if (size == 0) throw ImageIoError(fileName + ": cannot compress: the output did not fit its bound");
  return size;
}

}  // namespace

std::vector<BYTE> ZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName) {
  libdeflate_compressor& compressor = ThreadCompressor(compression, fileName);
  std::vector<BYTE> out(libdeflate_zlib_compress_bound(&compressor, data.size()));
  out.resize(CompressInto(compressor, data, fileName, out, 0));
  // The bound is about the size of the input: kept as capacity, a page of strips would hold the
  // whole page again.
  out.shrink_to_fit();
  return out;
}

void AppendZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName,
                      xelfw::FrameBuffer& out) {
  libdeflate_compressor& compressor = ThreadCompressor(compression, fileName);
  const std::size_t start = out.size();
  out.resize(start + libdeflate_zlib_compress_bound(&compressor, data.size()));
  out.resize(start + CompressInto(compressor, data, fileName, out, start));
}

ZlibDeflater::ZlibDeflater(ImageCompression compression, std::string fileName)
    : m_Block(kBlockBytes), m_FileName(std::move(fileName)) {
  // libdeflate's levels 0, 1 and 9 mean to zlib what they mean to libdeflate.
  const int level = std::min(DeflateLevel(compression), Z_BEST_COMPRESSION);
  if (deflateInit(&m_Stream, level) != Z_OK) throw ImageIoError(m_FileName + ": cannot compress: out of memory");
}

ZlibDeflater::~ZlibDeflater() { deflateEnd(&m_Stream); }

void ZlibDeflater::Add(std::span<const BYTE> data, bool last, const Output& out) {
  // zlib counts its input in uInt; larger pieces go in parts.
  constexpr std::size_t kMaxPiece = std::numeric_limits<uInt>::max();
  do {
    const std::size_t piece = std::min(data.size(), kMaxPiece);
    const bool finish = last && piece == data.size();
    m_Stream.next_in = const_cast<Bytef*>(data.data());  // zlib's input is not written; its type predates const
    m_Stream.avail_in = static_cast<uInt>(piece);
    int result = Z_OK;
    do {
      m_Stream.next_out = m_Block.data();
      m_Stream.avail_out = static_cast<uInt>(m_Block.size());
      result = deflate(&m_Stream, finish ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR) throw ImageIoError(m_FileName + ": cannot compress: zlib refused the data");
      const std::size_t made = m_Block.size() - m_Stream.avail_out;
      if (made > 0) out({m_Block.data(), made});
    } while (m_Stream.avail_out == 0 || (finish && result != Z_STREAM_END));
    data = data.subspan(piece);
  } while (!data.empty());
}

}  // namespace xelhost::image_io
