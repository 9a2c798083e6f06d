// One libdeflate compressor per call: allocating it is cheap next to compressing a frame.
#include <xelhost/framework_types.h>
#include "image_io/zlib_stream.h"

#include "image_io/image_writers.h"

#include <libdeflate.h>

#include <memory>

namespace xelhost::image_io {

namespace {

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

}  // namespace

std::vector<BYTE> ZlibStream(std::span<const BYTE> data, ImageCompression compression, const std::string& fileName) {
  const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
      libdeflate_alloc_compressor(DeflateLevel(compression)));
  if (!compressor) throw ImageIoError(fileName + ": cannot compress: out of memory");
  std::vector<BYTE> out(libdeflate_zlib_compress_bound(compressor.get(), data.size()));
  const std::size_t size = libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), out.data(), out.size());
  if (size == 0) throw ImageIoError(fileName + ": cannot compress: the output did not fit its bound");
  out.resize(size);
  return out;
}

}  // namespace xelhost::image_io
