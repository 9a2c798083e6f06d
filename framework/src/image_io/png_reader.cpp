// PNG decoding with libpng, from memory.
#include "image_io/pixel_rows.h"

#include <xelfw/image_io.h>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

namespace xelfw {

namespace {

struct PngSource {
  std::span<const BYTE> bytes;
  std::size_t pos = 0;
  char error[256] = "";
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->bytes.size() - source->pos) png_error(png, "file is truncated");
  std::memcpy(out, source->bytes.data() + source->pos, count);
  source->pos += count;
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
  bool bitsDeclared = false;  // an sBIT chunk said how many bits count
};

// libpng reports errors by longjmp, so the two steps that call it keep only trivially destructible
// locals and report failure as false; the caller turns that into an exception.
bool ReadHeader(png_structp png, png_infop info, PngHeader& header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
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

}  // namespace

Image DecodePng(std::span<const BYTE> bytes, const std::string& sourceName) {
  PngSource source{bytes};
  PngReadStruct reader(source);
  if (reader.Png() == nullptr || reader.Info() == nullptr) throw ImageIoError(sourceName + ": out of memory");
  png_set_read_fn(reader.Png(), &source, ReadFromMemory);
  png_set_user_limits(reader.Png(), 1u << 20, 1u << 20);

  PngHeader header;
  if (!ReadHeader(reader.Png(), reader.Info(), header)) {
    throw ImageIoError(sourceName + ": bad PNG: " + source.error);
  }
  const PixelLayout layout = image_io::DecodedLayout(header.samples, header.unitBits, header.significantBits);
  image_io::CheckDecodedSize(header.width, header.height, 1, layout, sourceName);
  if (png_get_rowbytes(reader.Png(), reader.Info()) != std::size_t{header.width} * layout.BytesPerPixel()) {
    throw ImageIoError(sourceName + ": unsupported PNG pixel layout");
  }

  Image image(header.width, header.height, layout);
  image.SetSignificantBitsDeclared(header.bitsDeclared);
  std::vector<png_bytep> rows(header.height);
  for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = image.Data() + y * image.Stride();
  if (!ReadPixels(reader.Png(), reader.Info(), rows.data())) {
    throw ImageIoError(sourceName + ": bad PNG: " + source.error);
  }
  return image;
}

}  // namespace xelfw
