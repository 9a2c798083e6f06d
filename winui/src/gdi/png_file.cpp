// PNG in and out of surfaces. Pictures are encoded into memory: writing files is the host's job,
// done through its one atomic writer.
#include <winui/surface.h>

#include <png.h>

#include <cstdio>
#include <memory>
#include <new>

namespace winui {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
}

[[noreturn]] void RaiseError(png_structp png, png_const_charp message) {
  auto* text = static_cast<std::string*>(png_get_error_ptr(png));
  if (text) *text = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void AppendToBuffer(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  // A failed append must not unwind through libpng: it becomes a libpng error.
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");
  }
}

void FlushNothing(png_structp) {}

// libpng reports errors with longjmp; everything it touches here is plain data or sized before, so
// no destructor is skipped.
bool WriteRows(std::vector<std::uint8_t>& png_bytes, const Surface& surface, std::vector<png_byte>& rowBuffer,
               std::string& problem) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &problem, RaiseError, IgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &png_bytes, AppendToBuffer, FlushNothing);
  png_set_IHDR(png, info, surface.Width(), surface.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* row = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      rowBuffer[3 * x] = static_cast<png_byte>(row[x] >> 16);
      rowBuffer[3 * x + 1] = static_cast<png_byte>(row[x] >> 8);
      rowBuffer[3 * x + 2] = static_cast<png_byte>(row[x]);
    }
    png_write_row(png, rowBuffer.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool EncodePng(const Surface& surface, std::vector<std::uint8_t>* png, std::string* error) {
  if (surface.Width() <= 0 || surface.Height() <= 0) {
    Fail(error, "cannot encode an empty picture");
    return false;
  }
  png->clear();
  std::vector<png_byte> rowBuffer(static_cast<std::size_t>(surface.Width()) * 3);
  std::string problem;
  if (!WriteRows(*png, surface, rowBuffer, problem)) {
    png->clear();
    Fail(error, "cannot encode the picture as PNG" + (problem.empty() ? std::string() : ": " + problem));
    return false;
  }
  return true;
}

namespace {

bool ReadRows(std::FILE* file, Surface* surface, std::vector<png_byte>& row, std::string& problem) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &problem, RaiseError, IgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_user_limits(png, 1 << 15, 1 << 15);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);
  png_read_update_info(png, info);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  row.resize(png_get_rowbytes(png, info));
  surface->Resize(width, height);
  for (int y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    std::uint32_t* out = surface->Row(y);
    for (int x = 0; x < width; ++x) {
      out[x] = (std::uint32_t{row[3 * x]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) | row[3 * x + 2];
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool LoadPng(const std::string& path, Surface* surface, std::string* error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    Fail(error, "cannot open " + path);
    return false;
  }
  std::string problem;
  std::vector<png_byte> row;
  if (!ReadRows(file.get(), surface, row, problem)) {
    Fail(error, "cannot read " + path + (problem.empty() ? std::string() : ": " + problem));
    return false;
  }
  return true;
}

}  // namespace winui
