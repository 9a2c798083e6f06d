// Each stage as plainly as a fast hand-written tool would do it, so their sum is a floor.
#include "stages.h"

#include <xelhost/image_io.h>

#include <fcntl.h>
#include <libdeflate.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <stdexcept>

namespace codec_floor {

namespace {

std::uint32_t BigEndian32(const BYTE* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
         std::uint32_t{bytes[3]};
}

struct MemoryReader {
  const Bytes* file;
  std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (reader->file->size() - reader->pos < count) png_error(png, "truncated");
  std::memcpy(out, reader->file->data() + reader->pos, count);
  reader->pos += count;
}

bool ReadRows(png_structp png, png_infop info, Bytes& pixels) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  if (png_get_bit_depth(png, info) == 16) png_set_swap(png);
  png_read_update_info(png, info);
  const std::size_t stride = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  pixels.resize(stride * height);
  for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels.data() + y * stride, nullptr);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

Bytes ReadFile(const std::filesystem::path& file) {
  Bytes bytes(std::filesystem::file_size(file));
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  const ssize_t got = fd < 0 ? -1 : ::read(fd, bytes.data(), bytes.size());
  if (fd >= 0) ::close(fd);
  if (got != static_cast<ssize_t>(bytes.size())) throw std::runtime_error(file.string() + ": cannot read");
  return bytes;
}

void WriteFile(const std::filesystem::path& file, std::span<const BYTE> bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const ssize_t put = fd < 0 ? -1 : ::write(fd, bytes.data(), bytes.size());
  if (fd >= 0) ::close(fd);
  if (put != static_cast<ssize_t>(bytes.size())) throw std::runtime_error(file.string() + ": cannot write");
}

xelfw::Image DecodeOurs(const Bytes& file, const std::string& name) { return xelhost::DecodePng(file, name); }

Bytes DecodeLibpng(const Bytes& file) {
  MemoryReader reader{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_read_fn(png, &reader, ReadFromMemory);
  Bytes pixels;
  const bool read = ReadRows(png, info, pixels);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!read) throw std::runtime_error("libpng could not read a frame");
  return pixels;
}

Bytes InflateOnly(const Bytes& file) {
  Bytes data;
  std::size_t stored = 0;
  for (std::size_t pos = 8; pos + 12 <= file.size();) {
    const std::uint32_t length = BigEndian32(&file[pos]);
    const BYTE* type = &file[pos + 4];
    if (std::memcmp(type, "IHDR", 4) == 0) {
      const std::size_t bytesPerPixel = (file[pos + 17] == 0 ? 1 : 3) * std::size_t{file[pos + 16]} / 8;
      stored = (BigEndian32(&file[pos + 8]) * bytesPerPixel + 1) * BigEndian32(&file[pos + 12]);
    }
    if (std::memcmp(type, "IDAT", 4) == 0) data.insert(data.end(), type + 4, type + 4 + length);
    pos += std::size_t{length} + 12;
  }
  thread_local libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  Bytes rows(stored);
  if (libdeflate_zlib_decompress(decompressor, data.data(), data.size(), rows.data(), rows.size(), nullptr) !=
      LIBDEFLATE_SUCCESS) {
    throw std::runtime_error("libdeflate could not inflate a frame");
  }
  return rows;
}

Window AutoWindow(const xelfw::Image& grey) {
  std::vector<std::uint32_t> histogram(65536, 0);
  const auto* units = reinterpret_cast<const std::uint16_t*>(grey.Data());
  const std::size_t count = std::size_t{grey.Width()} * grey.Height();
  for (std::size_t i = 0; i < count; ++i) ++histogram[units[i]];
  const auto point = [&](double fraction) {
    const auto wanted = static_cast<std::uint64_t>(fraction * static_cast<double>(count));
    std::uint64_t seen = 0;
    for (std::size_t value = 0; value < histogram.size(); ++value) {
      seen += histogram[value];
      if (seen > wanted) return static_cast<std::uint16_t>(value);
    }
    return std::uint16_t{65535};
  };
  return {point(0.02), point(0.98)};
}

Table BuildTable(Window window) {
  static constexpr BYTE kStops[6][3] = {{0, 0, 0},     {0, 0, 255}, {0, 255, 0},
                                        {255, 255, 0}, {255, 0, 0}, {255, 255, 255}};
  const double span = std::max(1.0, static_cast<double>(window.high) - static_cast<double>(window.low));
  Table table(65536);
  for (std::size_t grey = 0; grey < table.size(); ++grey) {
    const double position = std::clamp((static_cast<double>(grey) - window.low) / span, 0.0, 1.0) * 5.0;
    const auto stop = std::min<std::size_t>(4, static_cast<std::size_t>(position));
    const double t = position - static_cast<double>(stop);
    for (std::size_t c = 0; c < 3; ++c) {
      table[grey][c] = static_cast<BYTE>(std::lround(kStops[stop][c] + t * (kStops[stop + 1][c] - kStops[stop][c])));
    }
  }
  return table;
}

xelfw::Image ApplyTable(const xelfw::Image& grey, const Table& table) {
  xelfw::Image rgb(grey.Width(), grey.Height(), xelfw::PixelLayout::Colour(8, 3, XI_ORDER_RGB));
  const auto* units = reinterpret_cast<const std::uint16_t*>(grey.Data());
  BYTE* out = rgb.Data();
  const std::size_t count = std::size_t{grey.Width()} * grey.Height();
  for (std::size_t i = 0; i < count; ++i) std::memcpy(out + 3 * i, table[units[i]].data(), 3);
  return rgb;
}

Bytes EncodeOurs(const xelfw::Image& rgb) { return xelhost::EncodePng(rgb); }

}  // namespace codec_floor
