// A PNG taken whole: its chunks checked as libpng checks them, its image data inflated in one call,
// its rows unfiltered and put into the frame's byte order in one pass each. Anything unusual (a
// palette, interlacing, an odd sBIT, a critical chunk we do not know) is left to libpng.
#include "image_io/png_whole_decoder.h"

#include "image_io/big_endian.h"
#include "image_io/byte_lanes.h"
#include "image_io/pixel_rows.h"

#include <xelhost/image_io.h>

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace xelhost::image_io {

namespace {

// Files and decoded rows above this are streamed by libpng: held whole they would double the memory
// of a large frame.
constexpr std::uint64_t kWholeBytes = 16u << 20;
// libpng's limits as the libpng decoder sets them: sides, and the ancillary chunks it buffers.
constexpr std::uint32_t kMaxSide = 1u << 20;
constexpr std::size_t kMaxAncillaryBytes = 8u << 20;
constexpr BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Chunk {
  std::string_view type;
  std::span<const BYTE> data;
  std::uint32_t storedCrc;

  bool Critical() const { return (static_cast<unsigned char>(type[0]) & 0x20) == 0; }
  bool CrcGood() const {
    // The CRC covers the type and the data, which follow each other in the file.
    return libdeflate_crc32(0, type.data(), type.size() + data.size()) == storedCrc;
  }
};

// The chunks one after another; none once one does not fit in the file.
class ChunkReader {
 public:
  explicit ChunkReader(std::span<const BYTE> file) : m_File(file) {}

  std::optional<Chunk> Next() {
    if (m_File.size() - m_Pos < 12) return std::nullopt;
    const std::uint32_t length = BigEndian32(&m_File[m_Pos]);
    if (length > 0x7FFFFFFFu || length > m_File.size() - m_Pos - 12) return std::nullopt;
    const auto* type = reinterpret_cast<const char*>(&m_File[m_Pos + 4]);
    const Chunk chunk{{type, 4}, m_File.subspan(m_Pos + 8, length), BigEndian32(&m_File[m_Pos + 8 + length])};
    m_Pos += std::size_t{length} + 12;
    return chunk;
  }

 private:
  std::span<const BYTE> m_File;
  std::size_t m_Pos = 8;  // past the signature
};

struct WholePng {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  unsigned depth = 0;    // 8 or 16
  unsigned samples = 0;  // 1 grey, 3 RGB
  unsigned significantBits = 0;
  bool bitsDeclared = false;
  std::vector<std::span<const BYTE>> imageData;  // the IDAT chunks' data in order

  std::size_t RowBytes() const { return std::size_t{width} * samples * (depth / 8); }
  std::size_t StoredBytes() const { return (RowBytes() + 1) * height; }
};

std::optional<WholePng> ReadHeader(const Chunk& chunk) {
  if (chunk.type != "IHDR" || chunk.data.size() != 13 || !chunk.CrcGood()) return std::nullopt;
  const BYTE* d = chunk.data.data();
  WholePng png;
  png.width = BigEndian32(d);
  png.height = BigEndian32(d + 4);
  png.depth = d[8];
  const BYTE colourType = d[9];
  const bool methodsKnown = d[10] == 0 && d[11] == 0 && d[12] == 0;  // deflate, adaptive filters, not interlaced
  if (png.width == 0 || png.height == 0 || png.width > kMaxSide || png.height > kMaxSide) return std::nullopt;
  if ((png.depth != 8 && png.depth != 16) || (colourType != 0 && colourType != 2) || !methodsKnown) return std::nullopt;
  png.samples = colourType == 0 ? 1 : 3;
  png.significantBits = png.depth;
  return png;
}

// An sBIT chunk as the libpng decoder applies it; false for one libpng would ignore or warn about.
bool ReadSignificantBits(const Chunk& chunk, WholePng& png) {
  if (!chunk.CrcGood() || chunk.data.size() != png.samples) return false;
  for (const BYTE bits : chunk.data) {
    if (bits == 0 || bits > png.depth) return false;
  }
  const bool uniform = png.samples == 1 || (chunk.data[0] == chunk.data[1] && chunk.data[1] == chunk.data[2]);
  if (uniform) {
    png.bitsDeclared = true;
    png.significantBits = chunk.data[0];
  }
  return true;
}

// Signature, header, image data and end, each where libpng wants it.
std::optional<WholePng> ReadChunks(std::span<const BYTE> file) {
  ChunkReader chunks(file);
  const std::optional<Chunk> first = chunks.Next();
  if (!first) return std::nullopt;
  std::optional<WholePng> png = ReadHeader(*first);
  if (!png) return std::nullopt;
  bool significantBitsSeen = false;
  bool imageDataEnded = false;
  while (const std::optional<Chunk> chunk = chunks.Next()) {
    if (chunk->type == "IEND") {
      if (png->imageData.empty() || !chunk->data.empty() || !chunk->CrcGood()) return std::nullopt;
      return png;
    }
    if (chunk->type == "IDAT") {
      if (imageDataEnded || !chunk->CrcGood()) return std::nullopt;
      png->imageData.push_back(chunk->data);
      continue;
    }
    imageDataEnded = !png->imageData.empty();
    if (chunk->Critical() || chunk->data.size() > kMaxAncillaryBytes) return std::nullopt;
    if (chunk->type == "sBIT") {
      if (significantBitsSeen || imageDataEnded || !ReadSignificantBits(*chunk, *png)) return std::nullopt;
      significantBitsSeen = true;
    }
  }
  return std::nullopt;
}

BYTE Paeth(BYTE left, BYTE up, BYTE upLeft) {
  const int pa = std::abs(int{up} - int{upLeft});
  const int pb = std::abs(int{left} - int{upLeft});
  const int pc = std::abs(int{left} + int{up} - 2 * int{upLeft});
  if (pa <= pb && pa <= pc) return left;
  return pb <= pc ? up : upLeft;
}

// Undoes a row's filter in place; `prior` is the row above, already unfiltered (zeros above the
// first). The left and upper-left neighbours stay in registers: read back from the row, each byte
// would wait for the store of the one before.
template <std::size_t kPixelBytes>
void UnfilterPixels(BYTE filter, BYTE* row, const BYTE* prior, std::size_t bytes) {
  BYTE left[kPixelBytes] = {};
  BYTE upLeft[kPixelBytes] = {};
  switch (filter) {
    case 1:
      for (std::size_t i = 0; i < bytes; i += kPixelBytes) {
        for (std::size_t c = 0; c < kPixelBytes; ++c) row[i + c] = left[c] = static_cast<BYTE>(row[i + c] + left[c]);
      }
      break;
    case 2:
      AddBytes(row, row, prior, bytes);
      break;
    case 3:
      for (std::size_t i = 0; i < bytes; i += kPixelBytes) {
        for (std::size_t c = 0; c < kPixelBytes; ++c) {
          row[i + c] = left[c] = static_cast<BYTE>(row[i + c] + ((left[c] + prior[i + c]) >> 1));
        }
      }
      break;
    case 4:
      for (std::size_t i = 0; i < bytes; i += kPixelBytes) {
        for (std::size_t c = 0; c < kPixelBytes; ++c) {
          const BYTE up = prior[i + c];
          row[i + c] = left[c] = static_cast<BYTE>(row[i + c] + Paeth(left[c], up, upLeft[c]));
          upLeft[c] = up;
        }
      }
      break;
    default:
      break;
  }
}

// Grey or RGB, 8 or 16 bits: 1, 2, 3 or 6 bytes a pixel.
void UnfilterRow(BYTE filter, BYTE* row, const BYTE* prior, std::size_t bytes, std::size_t pixelBytes) {
  switch (pixelBytes) {
    case 1:
      return UnfilterPixels<1>(filter, row, prior, bytes);
    case 2:
      return UnfilterPixels<2>(filter, row, prior, bytes);
    case 3:
      return UnfilterPixels<3>(filter, row, prior, bytes);
    default:
      return UnfilterPixels<6>(filter, row, prior, bytes);
  }
}

// The file's big-endian samples as the frame's units, shifted down to the significant bits.
void StoreRow(const BYTE* row, BYTE* out, std::size_t samples, unsigned depth, unsigned shift) {
  if (depth == 8) {
    if (shift == 0) {
      std::memcpy(out, row, samples);
    } else {
      for (std::size_t i = 0; i < samples; ++i) out[i] = static_cast<BYTE>(row[i] >> shift);
    }
    return;
  }
  BigEndianToUnits(out, row, samples, shift);
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

class WholePngDecoder final : public FrameDecoder {
 public:
  WholePngDecoder(ByteSource& source, FrameAllowance& allowance, DecoderOpener libpng, FrameBuffer file, WholePng png)
      : m_Source(source),
        m_Allowance(allowance),
        m_AllowanceBefore(allowance),
        m_Libpng(libpng),
        m_File(std::move(file)),
        m_Png(std::move(png)) {
    m_Info.width = m_Png.width;
    m_Info.height = m_Png.height;
    m_Info.frames = 1;
    m_Info.layout = DecodedLayout(m_Png.samples, m_Png.depth, m_Png.significantBits);
    m_BitsDeclared = m_Png.bitsDeclared;
    m_FrameBytes = allowance.FrameBytes(m_Info.width, m_Info.height, m_Info.layout);
  }

  bool Next(FrameBuffer& frame) override {
    if (!Skip()) return false;
    FrameBuffer rows;
    if (!Inflate(rows)) return NextByLibpng(frame);
    m_File = {};
    ChargeFrame(m_Source.Name());
    frame.resize(m_FrameBytes);
    Unfilter(rows, frame);
    return true;
  }

  bool Skip() override {
    if (m_Done) return false;
    m_Done = true;
    m_Allowance.Admit(m_FrameBytes, m_Png.StoredBytes(), m_Source.Size(), kDeflateMaxRatio);
    return true;
  }

 private:
  // The filtered rows, whose filter types are all known; false for data libpng should judge.
  bool Inflate(FrameBuffer& rows) const {
    thread_local const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) return false;
    FrameBuffer joined;
    std::span<const BYTE> data = m_Png.imageData.front();
    if (m_Png.imageData.size() > 1) {
      std::size_t total = 0;
      for (const auto& part : m_Png.imageData) total += part.size();
      joined.resize(total);
      BYTE* end = joined.data();
      for (const auto& part : m_Png.imageData) end = std::copy(part.begin(), part.end(), end);
      data = joined;
    }
    rows.resize(m_Png.StoredBytes());
    std::size_t used = 0;
    if (libdeflate_zlib_decompress_ex(decompressor.get(), data.data(), data.size(), rows.data(), rows.size(), &used,
                                      nullptr) != LIBDEFLATE_SUCCESS ||
        used != data.size()) {
      return false;
    }
    const std::size_t stride = m_Png.RowBytes() + 1;
    for (std::size_t offset = 0; offset < rows.size(); offset += stride) {
      if (rows[offset] > 4) return false;
    }
    return true;
  }

  void Unfilter(FrameBuffer& rows, FrameBuffer& frame) const {
    const std::size_t rowBytes = m_Png.RowBytes();
    const std::size_t pixelBytes = std::size_t{m_Png.samples} * (m_Png.depth / 8);
    const std::size_t samples = std::size_t{m_Png.width} * m_Png.samples;
    const std::size_t frameStride = samples * (m_Png.depth / 8);
    const unsigned shift = m_Png.depth - m_Png.significantBits;
    const std::vector<BYTE> zeros(rowBytes, 0);
    const BYTE* prior = zeros.data();
    for (std::size_t y = 0; y < m_Png.height; ++y) {
      BYTE* row = rows.data() + y * (rowBytes + 1);
      UnfilterRow(row[0], row + 1, prior, rowBytes, pixelBytes);
      StoreRow(row + 1, frame.data() + y * frameStride, samples, m_Png.depth, shift);
      prior = row + 1;
    }
  }

  // libpng decodes the file again from a fresh start and reports what is wrong with it.
  bool NextByLibpng(FrameBuffer& frame) {
    m_Source.Seek(0);
    FrameAllowance allowance = m_AllowanceBefore;
    return m_Libpng(m_Source, allowance)->Next(frame);
  }

  ByteSource& m_Source;
  FrameAllowance& m_Allowance;
  FrameAllowance m_AllowanceBefore;
  DecoderOpener m_Libpng;
  FrameBuffer m_File;
  WholePng m_Png;
  std::size_t m_FrameBytes = 0;
  bool m_Done = false;
};

}  // namespace

std::unique_ptr<FrameDecoder> OpenWholePngDecoder(ByteSource& source, FrameAllowance& allowance, DecoderOpener libpng) {
  if (source.Size() > kWholeBytes || source.Size() < sizeof kSignature) return nullptr;
  FrameBuffer file(static_cast<std::size_t>(source.Size()));
  std::size_t got = 0;
  try {
    source.Seek(0);
    got = source.Read(file.data(), file.size());
  } catch (const ImageIoError&) {
    got = 0;  // libpng reads it again and reports the error its own way
  }
  source.Seek(0);
  if (got != file.size() || std::memcmp(file.data(), kSignature, sizeof kSignature) != 0) return nullptr;
  std::optional<WholePng> png = ReadChunks(file);
  if (!png || png->StoredBytes() > kWholeBytes) return nullptr;
  return std::make_unique<WholePngDecoder>(source, allowance, libpng, std::move(file), std::move(*png));
}

}  // namespace xelhost::image_io
