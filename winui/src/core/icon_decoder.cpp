// Decoding .ico files (BMP- and PNG-coded images) and .png files into ARGB pixels.
#include "resource_store.h"

#include <png.h>

#include <cstring>

namespace winui::core {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool IsPng(const std::uint8_t* data, std::size_t size) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

bool DecodePng(const std::uint8_t* data, std::size_t size, IconImage* out, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    if (error) *error = std::string("bad PNG: ") + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  if (image.width > 1024 || image.height > 1024) {
    png_image_free(&image);
    if (error) *error = "icon image larger than 1024 pixels";
    return false;
  }
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->argb.assign(static_cast<std::size_t>(out->width) * out->height, 0);
  if (!png_image_finish_read(&image, nullptr, out->argb.data(), 0, nullptr)) {
    if (error) *error = std::string("bad PNG: ") + image.message;
    return false;
  }
  return true;
}

// A DIB as icons store it: the header, a palette for low bit depths, the colour rows bottom-up and
// then a 1-bit transparency mask.
bool DecodeDib(const std::uint8_t* data, std::size_t size, IconImage* out, std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = std::string("bad icon image: ") + what;
    return false;
  };
  if (size < 40) return fail("short header");
  const std::uint32_t headerSize = Le32(data);
  const int width = static_cast<int>(Le32(data + 4));
  const int height = static_cast<int>(Le32(data + 8)) / 2;  // colour rows and mask rows
  const int bpp = Le16(data + 14);
  if (headerSize < 40 || headerSize > size || width <= 0 || height <= 0 || width > 1024 || height > 1024) {
    return fail("bad size");
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return fail("unsupported bit depth");
  std::uint32_t colors = Le32(data + 32);
  if (bpp <= 8 && colors == 0) colors = 1u << bpp;
  const std::size_t paletteOffset = headerSize;
  const std::size_t pixelOffset = paletteOffset + (bpp <= 8 ? colors * 4 : 0);
  const std::size_t colorStride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
  const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t maskOffset = pixelOffset + colorStride * height;
  if (maskOffset > size) return fail("truncated pixels");
  const bool hasMask = maskOffset + maskStride * height <= size;
  out->width = width;
  out->height = height;
  out->argb.assign(static_cast<std::size_t>(width) * height, 0);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + pixelOffset + colorStride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::uint32_t argb;
      if (bpp == 32) {
        argb = Le32(row + x * 4);
        anyAlpha = anyAlpha || (argb >> 24) != 0;
      } else if (bpp == 24) {
        argb = 0xFF000000u | row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
      } else {
        const int perByte = 8 / bpp;
        const int shift = (perByte - 1 - x % perByte) * bpp;
        const std::uint32_t index = (row[x / perByte] >> shift) & ((1u << bpp) - 1);
        if (index >= colors || paletteOffset + index * 4 + 4 > size) return fail("palette index out of range");
        argb = 0xFF000000u | (Le32(data + paletteOffset + index * 4) & 0xFFFFFF);
      }
      out->argb[static_cast<std::size_t>(y) * width + x] = argb;
    }
  }
  // Without an alpha channel the mask says which pixels are transparent.
  if (hasMask && !anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* mask = data + maskOffset + maskStride * (height - 1 - y);
      for (int x = 0; x < width; ++x) {
        std::uint32_t& p = out->argb[static_cast<std::size_t>(y) * width + x];
        p = (mask[x / 8] & (0x80 >> (x % 8))) ? 0 : (p | 0xFF000000u);
      }
    }
  } else if (!anyAlpha) {
    for (std::uint32_t& p : out->argb) p |= 0xFF000000u;
  }
  return true;
}

}  // namespace

bool DecodeIcon(const std::vector<std::uint8_t>& data, std::vector<IconImage>* images, std::string* error) {
  images->clear();
  if (IsPng(data.data(), data.size())) {
    IconImage image;
    if (!DecodePng(data.data(), data.size(), &image, error)) return false;
    images->push_back(std::move(image));
    return true;
  }
  if (data.size() < 6 || Le16(data.data()) != 0 || Le16(data.data() + 2) != 1) {
    if (error) *error = "neither an .ico nor a .png file";
    return false;
  }
  const int count = Le16(data.data() + 4);
  if (count == 0 || data.size() < 6 + 16u * count) {
    if (error) *error = "bad .ico directory";
    return false;
  }
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = data.data() + 6 + 16 * i;
    const std::uint32_t bytes = Le32(entry + 8), offset = Le32(entry + 12);
    if (offset > data.size() || bytes > data.size() - offset) {
      if (error) *error = "icon image outside the file";
      return false;
    }
    IconImage image;
    const std::uint8_t* p = data.data() + offset;
    const bool ok = IsPng(p, bytes) ? DecodePng(p, bytes, &image, error) : DecodeDib(p, bytes, &image, error);
    if (!ok) return false;
    images->push_back(std::move(image));
  }
  return true;
}

}  // namespace winui::core
