// PNG encoding with libpng, into a temporary file that replaces the target when complete.
#include "image_io/atomic_output.h"
#include "image_io/image_writers.h"
#include "image_io/pixel_rows.h"

#include <xelfw/image_io.h>

#include <png.h>

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

struct PngPlan {
  png_uint_32 width;
  png_uint_32 height;
  WritableShape shape;
};

// The encoded rows are prepared before this runs: libpng leaves by longjmp, so nothing here may own
// memory.
bool EncodePng(png_structp png, png_infop info, std::FILE* file, const PngPlan& plan, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  const int colourType = plan.shape.samplesPerPixel == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(png, info, plan.width, plan.height, static_cast<int>(plan.shape.fileBits), colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (plan.shape.significantBits < plan.shape.fileBits) {
    png_color_8 sbit{};
    const auto bits = static_cast<png_byte>(plan.shape.significantBits);
    sbit.gray = sbit.red = sbit.green = sbit.blue = bits;
    png_set_sBIT(png, info, &sbit);
  }
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

// Big-endian samples, scaled up to the file depth as sBIT requires.
std::vector<png_byte> EncodedRows(const Image& image, const WritableShape& shape) {
  const unsigned shift = shape.fileBits - shape.significantBits;
  const std::size_t rowSamples = std::size_t{image.Width()} * shape.samplesPerPixel;
  const std::size_t rowBytes = rowSamples * (shape.fileBits / 8);
  std::vector<png_byte> encoded(rowBytes * image.Height());
  std::vector<std::uint16_t> samples;
  for (UINT y = 0; y < image.Height(); ++y) {
    ReadComponentRow(image, 0, y, samples);
    png_byte* out = encoded.data() + y * rowBytes;
    for (std::size_t i = 0; i < rowSamples; ++i) {
      const unsigned value = static_cast<unsigned>(samples[i]) << shift;
      if (shape.fileBits == 8) {
        out[i] = static_cast<png_byte>(value);
      } else {
        out[2 * i] = static_cast<png_byte>(value >> 8);
        out[2 * i + 1] = static_cast<png_byte>(value);
      }
    }
  }
  return encoded;
}

}  // namespace

void WritePng(const Image& image, const std::filesystem::path& file) {
  const std::string name = file.string();
  const WritableShape shape = ShapeForWriting(image, name);
  std::vector<png_byte> encoded = EncodedRows(image, shape);
  const std::size_t rowBytes = encoded.size() / image.Height();
  std::vector<png_bytep> rows(image.Height());
  for (UINT y = 0; y < image.Height(); ++y) rows[y] = encoded.data() + y * rowBytes;

  AtomicOutput output(file);
  std::FILE* stream = std::fopen(output.TempPath().c_str(), "wb");
  if (stream == nullptr) throw ImageIoError(name + ": cannot open for writing: " + std::strerror(errno));
  PngSink sink;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, KeepWriteError, IgnoreWriteWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const PngPlan plan{image.Width(), image.Height(), shape};
  const bool encodedOk = info != nullptr && EncodePng(png, info, stream, plan, rows.data());
  png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  const bool closedOk = std::fclose(stream) == 0;
  if (!encodedOk) throw ImageIoError(name + ": cannot write PNG: " + (sink.error[0] != '\0' ? sink.error : "out of memory"));
  if (!closedOk) throw ImageIoError(name + ": cannot write PNG: " + std::strerror(errno));
  output.Commit();
}

}  // namespace xelfw::image_io
