// PNG decoding with libpng, from a byte source.
#include "image_io/frame_decoder.h"
#include "image_io/pixel_rows.h"
#include "image_io/png_whole_decoder.h"

#include <xelhost/image_io.h>

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace xelhost {

namespace {

using image_io::ByteSource;
using image_io::DecodedLayout;
using image_io::FrameAllowance;
using image_io::FrameDecoder;
using image_io::kDeflateMaxRatio;

struct PngSource {
  ByteSource* bytes;
  char error[256] = "";
};

// libpng cannot unwind C++ exceptions: a read error becomes a libpng error with its message.
void ReadFromSource(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  std::size_t got = 0;
  try {
    got = source->bytes->Read(out, count);
  } catch (const std::exception& error) {
    std::snprintf(source->error, sizeof source->error, "%s", error.what());
    png_longjmp(png, 1);
  }
  if (got != count) png_error(png, "file is truncated");
}

void KeepError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->error, sizeof source->error, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

struct PngHeader {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  unsigned samples = 0;
  unsigned unitBits = 0;
  unsigned significantBits = 0;
  bool bitsDeclared = false;      // an sBIT chunk said how many bits count
  std::uint64_t storedBytes = 0;  // filtered rows as the file stores them, before unpacking
};

// libpng reports errors by longjmp, so the two steps that call it keep only trivially destructible
// locals and report failure as false; the caller turns that into an exception.
bool ReadHeader(png_structp png, png_infop info, PngHeader& header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const std::uint64_t pixelBits = std::uint64_t{png_get_channels(png, info)} * static_cast<unsigned>(bitDepth);
  header.storedBytes = std::uint64_t{png_get_image_height(png, info)} *
                       ((std::uint64_t{png_get_image_width(png, info)} * pixelBits + 7) / 8 + 1);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
  // Low-depth grey stays at its own range (0..2^n-1) in one byte a pixel: the significant bits are the
  // file's, not a stretched copy.
  if (bitDepth < 8) png_set_packing(png);
  if (bitDepth == 16) png_set_swap(png);

  const bool grey = (colourType & PNG_COLOR_MASK_COLOR) == 0;
  header.samples = grey ? 1 : 3;
  header.unitBits = bitDepth == 16 ? 16 : 8;
  header.significantBits = colourType == PNG_COLOR_TYPE_PALETTE ? 8 : static_cast<unsigned>(bitDepth);
  png_color_8p sbit = nullptr;
  if (bitDepth >= 8 && colourType != PNG_COLOR_TYPE_PALETTE && png_get_sBIT(png, info, &sbit) != 0 && sbit != nullptr) {
    const unsigned bits = grey ? sbit->gray : sbit->red;
    const bool uniform = grey || (sbit->red == sbit->green && sbit->green == sbit->blue);
    if (uniform && bits >= 1 && bits <= static_cast<unsigned>(bitDepth)) {
      header.bitsDeclared = true;
      if (bits < static_cast<unsigned>(bitDepth)) {
        png_set_shift(png, sbit);
        header.significantBits = bits;
      }
    }
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header.width = png_get_image_width(png, info);
  header.height = png_get_image_height(png, info);
  return true;
}

bool ReadPixels(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

class PngReadStruct {
 public:
  explicit PngReadStruct(PngSource& source) {
    m_Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, KeepError, IgnoreWarning);
    if (m_Png != nullptr) m_Info = png_create_info_struct(m_Png);
  }
  ~PngReadStruct() { png_destroy_read_struct(&m_Png, m_Info != nullptr ? &m_Info : nullptr, nullptr); }
  PngReadStruct(const PngReadStruct&) = delete;
  PngReadStruct& operator=(const PngReadStruct&) = delete;
  png_structp Png() const { return m_Png; }
  png_infop Info() const { return m_Info; }

 private:
  png_structp m_Png = nullptr;
  png_infop m_Info = nullptr;
};

class PngDecoder final : public FrameDecoder {
 public:
  PngDecoder(ByteSource& source, FrameAllowance& allowance)
      : m_Source{&source}, m_Reader(m_Source), m_Allowance(allowance) {
    if (m_Reader.Png() == nullptr || m_Reader.Info() == nullptr) throw ImageIoError(source.Name() + ": out of memory");
    png_set_read_fn(m_Reader.Png(), &m_Source, ReadFromSource);
    png_set_user_limits(m_Reader.Png(), 1u << 20, 1u << 20);
    // Text and other ancillary chunks are skipped, but libpng still buffers each one whole.
    png_set_chunk_malloc_max(m_Reader.Png(), 8u << 20);
    if (!ReadHeader(m_Reader.Png(), m_Reader.Info(), m_Header)) Fail();
    m_Info.width = m_Header.width;
    m_Info.height = m_Header.height;
    m_Info.frames = 1;
    m_Info.layout = DecodedLayout(m_Header.samples, m_Header.unitBits, m_Header.significantBits);
    m_BitsDeclared = m_Header.bitsDeclared;
    m_FrameBytes = allowance.FrameBytes(m_Info.width, m_Info.height, m_Info.layout);
    if (png_get_rowbytes(m_Reader.Png(), m_Reader.Info()) !=
        std::size_t{m_Info.width} * m_Info.layout.BytesPerPixel()) {
      throw ImageIoError(source.Name() + ": unsupported PNG pixel layout");
    }
  }

  bool Next(FrameBuffer& frame) override {
    if (!Skip()) return false;
    ChargeFrame(m_Source.bytes->Name());
    frame.resize(m_FrameBytes);
    std::vector<png_bytep> rows(m_Info.height);
    const std::size_t stride = std::size_t{m_Info.width} * m_Info.layout.BytesPerPixel();
    for (png_uint_32 y = 0; y < m_Info.height; ++y) rows[y] = frame.data() + y * stride;
    if (!ReadPixels(m_Reader.Png(), m_Reader.Info(), rows.data())) Fail();
    return true;
  }

  bool Skip() override {
    if (m_Done) return false;
    m_Done = true;
    m_Allowance.Admit(m_FrameBytes, m_Header.storedBytes, m_Source.bytes->Size(), kDeflateMaxRatio);
    return true;
  }

 private:
  [[noreturn]] void Fail() const { throw ImageIoError(m_Source.bytes->Name() + ": bad PNG: " + m_Source.error); }

  PngSource m_Source;
  PngReadStruct m_Reader;
  FrameAllowance& m_Allowance;
  PngHeader m_Header;
  std::size_t m_FrameBytes = 0;
  bool m_Done = false;
};

std::unique_ptr<FrameDecoder> OpenLibpngDecoder(ByteSource& source, FrameAllowance& allowance) {
  return std::make_unique<PngDecoder>(source, allowance);
}

}  // namespace

namespace image_io {

std::unique_ptr<FrameDecoder> OpenPngDecoder(ByteSource& source, FrameAllowance& allowance) {
  if (auto whole = OpenWholePngDecoder(source, allowance, OpenLibpngDecoder)) return whole;
  return OpenLibpngDecoder(source, allowance);
}

}  // namespace image_io

Image DecodePng(std::span<const BYTE> bytes, const std::string& sourceName) {
  return image_io::DecodeBytes(bytes, sourceName, image_io::OpenPngDecoder);
}

}  // namespace xelhost
