// PNG encoding with libpng, into a temporary file that replaces the target when complete.
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"

#include <xelfw/AtomicFile.h>
#include <xelfw/image_io.h>

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace xelfw::image_io {

namespace {

struct PngSink {
  char error[256] = "";
};

void KeepWriteError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
  std::snprintf(sink->error, sizeof sink->error, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWriteWarning(png_structp, png_const_charp) {}

// Big-endian samples of one row, scaled up to the file depth as sBIT requires. The buffers are sized
// before encoding starts, so that nothing allocates between libpng's calls.
class RowEncoder {
 public:
  RowEncoder(const Image& image, const WritableShape& shape)
      : m_Image(image),
        m_Shape(shape),
        m_Samples(std::size_t{image.Width()} * shape.samplesPerPixel),
        m_Row(m_Samples.size() * (shape.fileBits / 8)) {}

  const png_byte* Encode(UINT y) {
    ReadComponentRow(m_Image, 0, y, m_Samples);
    const unsigned shift = m_Shape.fileBits - m_Shape.significantBits;
    for (std::size_t i = 0; i < m_Samples.size(); ++i) {
      const unsigned value = static_cast<unsigned>(m_Samples[i]) << shift;
      if (m_Shape.fileBits == 8) {
        m_Row[i] = static_cast<png_byte>(value);
      } else {
        m_Row[2 * i] = static_cast<png_byte>(value >> 8);
        m_Row[2 * i + 1] = static_cast<png_byte>(value);
      }
    }
    return m_Row.data();
  }
  const WritableShape& Shape() const { return m_Shape; }
  UINT Width() const { return m_Image.Width(); }
  UINT Height() const { return m_Image.Height(); }

 private:
  const Image& m_Image;
  WritableShape m_Shape;
  std::vector<std::uint16_t> m_Samples;
  std::vector<png_byte> m_Row;
};

// Row by row, so that the encoder costs one row rather than a copy of the image. libpng leaves by
// longjmp, so nothing here may own memory.
bool EncodePng(png_structp png, png_infop info, std::FILE* file, RowEncoder& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  const WritableShape& shape = rows.Shape();
  const int colourType = shape.samplesPerPixel == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(png, info, rows.Width(), rows.Height(), static_cast<int>(shape.fileBits), colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (shape.significantBits < shape.fileBits) {
    png_color_8 sbit{};
    const auto bits = static_cast<png_byte>(shape.significantBits);
    sbit.gray = sbit.red = sbit.green = sbit.blue = bits;
    png_set_sBIT(png, info, &sbit);
  }
  png_write_info(png, info);
  for (UINT y = 0; y < rows.Height(); ++y) png_write_row(png, rows.Encode(y));
  png_write_end(png, info);
  return true;
}

}  // namespace

void WritePng(const Image& image, const std::filesystem::path& file) {
  const std::string name = file.string();
  RowEncoder rows(image, ShapeForWriting(image, name));
  AtomicFile output(file);
  const int fd = ::dup(output.Descriptor());
  std::FILE* stream = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
  if (stream == nullptr) {
    if (fd >= 0) ::close(fd);
    throw ImageIoError(name + ": cannot write PNG: " + std::strerror(errno));
  }
  PngSink sink;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, KeepWriteError, IgnoreWriteWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const bool encodedOk = info != nullptr && EncodePng(png, info, stream, rows);
  png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  const int closeError = std::fclose(stream) == 0 ? 0 : errno;
  if (!encodedOk) throw ImageIoError(name + ": cannot write PNG: " + (sink.error[0] != '\0' ? sink.error : "out of memory"));
  if (closeError != 0) throw ImageIoError(name + ": cannot write PNG: " + std::strerror(closeError));
  output.Commit();
}

}  // namespace xelfw::image_io
