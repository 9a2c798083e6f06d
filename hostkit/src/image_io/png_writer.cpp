// PNG encoding: rows filtered here and compressed as they are filtered, so that an image costs little
// more than itself. Images up to a few megabytes go to libdeflate in one call, several times faster
// than zlib at the same size; larger ones through zlib's stream, a chunk of rows at a time, into the
// output as they are compressed. The file goes into a temporary file that replaces the target when
// complete.
#include "image_io/byte_lanes.h"
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"
#include "image_io/png_text.h"
#include "image_io/zlib_stream.h"

#include <xelhost/AtomicFile.h>
#include <xelhost/image_io.h>

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace xelhost::image_io {

namespace {

// Sub (each byte minus the same byte of the pixel before) compresses thermal pictures best for its
// cost: smooth rows become runs of small differences. Measured against Up, Paeth and per-row
// adaptive choice, it gave the smallest files at every level but the slowest.
constexpr BYTE kFilterSub = 1;

// Filtered image data up to this size is compressed whole; larger images row chunk by row chunk.
constexpr std::size_t kWholeImageBytes = 8u << 20;
// Filtered rows handed to zlib at once.
constexpr std::size_t kRowChunkBytes = 1u << 20;

using ByteSink = std::function<void(std::span<const BYTE> bytes)>;

constexpr BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void PutBigEndian32(BYTE* out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) *out++ = static_cast<BYTE>(value >> shift);
}

void PutBigEndian32(std::vector<BYTE>& out, std::uint32_t value) {
  out.resize(out.size() + 4);
  PutBigEndian32(out.data() + out.size() - 4, value);
}

// Length, type, data and the CRC of type and data. Chunks gather in one buffer that leaves in one
// piece when the file is complete, or when it has grown large, so a frame's file is one write.
class ChunkWriter {
 public:
  using DataWriter = std::function<void(FrameBuffer& file)>;
  static constexpr std::size_t kFlushBytes = 4u << 20;

  explicit ChunkWriter(const ByteSink& sink) : m_Sink(sink) {}

  void Put(std::string_view type, std::span<const BYTE> data) {
    Put(type, [&](FrameBuffer& file) {
      // Resized and copied: inserting a range constructs its bytes one by one under this allocator.
      const std::size_t start = file.size();
      file.resize(start + data.size());
      std::copy(data.begin(), data.end(), file.data() + start);
    });
  }

  // A chunk whose data `write` appends to the file's buffer.
  void Put(std::string_view type, const DataWriter& write) {
    const std::size_t start = m_File.size();
    m_File.resize(start + 8);
    std::memcpy(m_File.data() + start + 4, type.data(), 4);
    write(m_File);
    const std::size_t length = m_File.size() - start - 8;
    PutBigEndian32(m_File.data() + start, static_cast<std::uint32_t>(length));
    const std::uint32_t crc = libdeflate_crc32(0, m_File.data() + start + 4, length + 4);
    m_File.resize(m_File.size() + 4);
    PutBigEndian32(m_File.data() + m_File.size() - 4, crc);
    if (m_File.size() >= kFlushBytes) Flush();
  }

  void Flush() {
    if (!m_File.empty()) m_Sink(m_File);
    m_File.clear();
  }

 private:
  const ByteSink& m_Sink;
  FrameBuffer m_File{kSignature, kSignature + sizeof kSignature};
};

// One row's big-endian samples, scaled up to the file depth as sBIT requires.
void FileRow(const Image& image, UINT y, const WritableShape& shape, std::vector<std::uint16_t>& samples, BYTE* out) {
  if (const BYTE* plain = FileSampleRow(image, 0, y)) {
    std::memcpy(out, plain, std::size_t{image.Width()} * shape.samplesPerPixel);
    return;
  }
  ReadComponentRow(image, 0, y, samples);
  const unsigned shift = shape.fileBits - shape.significantBits;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const unsigned value = static_cast<unsigned>(samples[i]) << shift;
    if (shape.fileBits == 8) {
      out[i] = static_cast<BYTE>(value);
    } else {
      out[2 * i] = static_cast<BYTE>(value >> 8);
      out[2 * i + 1] = static_cast<BYTE>(value);
    }
  }
}

// Rows [first, first + count) as PNG stores them before compression, appended to `filtered`: each
// its filter byte and the filtered samples, taken straight from the image where it holds them as the
// file does.
void FilterRows(const Image& image, const WritableShape& shape, UINT first, UINT count, FrameBuffer& filtered) {
  const std::size_t bytesPerPixel = std::size_t{shape.samplesPerPixel} * (shape.fileBits / 8);
  const std::size_t rowBytes = std::size_t{image.Width()} * bytesPerPixel;
  const std::size_t start = filtered.size();
  filtered.resize(start + (rowBytes + 1) * count);
  std::vector<BYTE> converted;
  std::vector<std::uint16_t> samples;
  for (UINT i = 0; i < count; ++i) {
    const BYTE* row = FileSampleRow(image, 0, first + i);
    if (row == nullptr) {
      converted.resize(rowBytes);
      FileRow(image, first + i, shape, samples, converted.data());
      row = converted.data();
    }
    BYTE* out = filtered.data() + start + i * (rowBytes + 1);
    *out++ = kFilterSub;
    const std::size_t head = std::min(bytesPerPixel, rowBytes);
    std::memcpy(out, row, head);
    SubtractBytes(out + head, row + head, row, rowBytes - head);
  }
}

void PutImageData(const Image& image, const WritableShape& shape, ImageCompression compression, const std::string& name,
                  ChunkWriter& chunks) {
  const std::size_t filteredRowBytes = std::size_t{image.Width()} * shape.samplesPerPixel * (shape.fileBits / 8) + 1;
  FrameBuffer filtered;
  if (filteredRowBytes * image.Height() <= kWholeImageBytes) {
    FilterRows(image, shape, 0, image.Height(), filtered);
    chunks.Put("IDAT", [&](FrameBuffer& file) { AppendZlibStream(filtered, compression, name, file); });
    return;
  }
  ZlibDeflater deflater(compression, name);
  const auto rowsPerChunk = static_cast<UINT>(std::max<std::size_t>(1, kRowChunkBytes / filteredRowBytes));
  for (UINT first = 0; first < image.Height(); first += rowsPerChunk) {
    const UINT count = std::min(rowsPerChunk, image.Height() - first);
    filtered.clear();
    FilterRows(image, shape, first, count, filtered);
    deflater.Add(filtered, first + count == image.Height(),
                 [&](std::span<const BYTE> block) { chunks.Put("IDAT", block); });
  }
}

void EncodePngTo(const Image& image, ImageCompression compression, const std::string& name, const ByteSink& sink,
                 const Provenance* record) {
  if (image.Frames() != 1)
    throw ImageIoError(name + ": a PNG holds one frame, the image has " + std::to_string(image.Frames()));
  const WritableShape shape = ShapeForWriting(image, name);
  ChunkWriter chunks(sink);
  std::vector<BYTE> header;
  PutBigEndian32(header, image.Width());
  PutBigEndian32(header, image.Height());
  const BYTE colourType = shape.samplesPerPixel == 1 ? 0 : 2;
  // Depth, colour type, then deflate, adaptive filtering and no interlace, the only methods PNG has.
  header.insert(header.end(), {static_cast<BYTE>(shape.fileBits), colourType, 0, 0, 0});
  chunks.Put("IHDR", header);
  if (shape.significantBits < shape.fileBits) {
    const std::vector<BYTE> sbit(shape.samplesPerPixel, static_cast<BYTE>(shape.significantBits));
    chunks.Put("sBIT", sbit);
  }
  if (record) {
    for (const PngTextChunk& text : ProvenanceTextChunks(*record)) chunks.Put(text.type, text.data);
  }
  PutImageData(image, shape, compression, name, chunks);
  chunks.Put("IEND", std::span<const BYTE>{});
  chunks.Flush();
}

}  // namespace

void WritePng(const Image& image, const std::filesystem::path& file, ImageCompression compression,
              const Provenance* record) {
  AtomicFile out(file);
  EncodePngTo(
      image, compression, file.string(), [&](std::span<const BYTE> bytes) { out.Write(bytes); }, record);
  out.Commit();
}

}  // namespace xelhost::image_io

std::vector<BYTE> xelhost::EncodePng(const Image& image, ImageCompression compression, const Provenance* record) {
  std::vector<BYTE> file;
  image_io::EncodePngTo(
      image, compression, "PNG data",
      [&](std::span<const BYTE> bytes) { file.insert(file.end(), bytes.begin(), bytes.end()); }, record);
  return file;
}
