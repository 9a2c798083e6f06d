// PNGs as other programs write them (every row filter, image data split over many chunks, sBIT)
// must read back exactly, and damaged ones must be refused with the file named, whichever decoder
// takes them.
#include <xelhost/image_io.h>

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using xelfw::Image;

namespace {

struct PngSpec {
  UINT width = 97;
  UINT height = 61;
  int depth = 16;
  int colourType = PNG_COLOR_TYPE_GRAY;
  std::vector<png_byte> significantBits;  // one per channel; none: no sBIT chunk
  int interlace = PNG_INTERLACE_NONE;
};

unsigned Channels(const PngSpec& spec) { return spec.colourType == PNG_COLOR_TYPE_GRAY ? 1 : 3; }

// Big-endian samples of a noisy ramp within the significant bits, as the file stores them.
std::vector<png_byte> Samples(const PngSpec& spec) {
  const unsigned bits = spec.significantBits.empty() ? static_cast<unsigned>(spec.depth) : spec.significantBits[0];
  const std::size_t count = std::size_t{spec.width} * spec.height * Channels(spec);
  std::vector<png_byte> bytes(count * static_cast<std::size_t>(spec.depth / 8));
  std::uint32_t noise = 7;
  for (std::size_t i = 0; i < count; ++i) {
    noise = noise * 1103515245u + 12345u;
    const unsigned value = ((static_cast<unsigned>(i) / 5 + (noise >> 27)) & ((1u << bits) - 1)) << (spec.depth - bits);
    if (spec.depth == 8) {
      bytes[i] = static_cast<png_byte>(value);
    } else {
      bytes[2 * i] = static_cast<png_byte>(value >> 8);
      bytes[2 * i + 1] = static_cast<png_byte>(value);
    }
  }
  return bytes;
}

void Append(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<BYTE>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

// libpng reports errors by longjmp: this step keeps only trivially destructible locals.
bool WriteRows(png_structp png, png_infop info, const PngSpec& spec, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_filter(png, 0, PNG_ALL_FILTERS);
  png_set_compression_buffer_size(png, 1024);
  png_set_IHDR(png, info, spec.width, spec.height, spec.depth, spec.colourType, spec.interlace,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.significantBits.empty()) {
    png_color_8 sbit{};
    sbit.gray = spec.significantBits[0];
    if (Channels(spec) == 3) {
      sbit.red = spec.significantBits[0];
      sbit.green = spec.significantBits[1];
      sbit.blue = spec.significantBits[2];
    }
    png_set_sBIT(png, info, &sbit);
  }
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

// libpng with every row filter and image data in chunks of 1 KiB.
std::vector<BYTE> WriteWithLibpng(const PngSpec& spec, std::vector<png_byte> samples) {
  std::vector<BYTE> file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &file, Append, nullptr);
  std::vector<png_bytep> rows(spec.height);
  const std::size_t stride = samples.size() / spec.height;
  for (UINT y = 0; y < spec.height; ++y) rows[y] = samples.data() + y * stride;
  EXPECT_TRUE(WriteRows(png, info, spec, rows.data()));
  png_destroy_write_struct(&png, &info);
  return file;
}

bool Uniform(const PngSpec& spec) {
  const auto& bits = spec.significantBits;
  return !bits.empty() && std::equal(bits.begin() + 1, bits.end(), bits.begin());
}

// What a reader must give for the samples: host-order units shifted down to the declared bits.
std::vector<BYTE> ExpectedUnits(const PngSpec& spec, const std::vector<png_byte>& samples) {
  const bool uniform = Uniform(spec);
  const unsigned shift = uniform ? static_cast<unsigned>(spec.depth) - spec.significantBits[0] : 0;
  std::vector<BYTE> units(samples.size());
  for (std::size_t i = 0; i < samples.size(); i += static_cast<std::size_t>(spec.depth / 8)) {
    if (spec.depth == 8) {
      units[i] = static_cast<BYTE>(samples[i] >> shift);
    } else {
      const auto value = static_cast<std::uint16_t>(((samples[i] << 8) | samples[i + 1]) >> shift);
      std::memcpy(&units[i], &value, 2);
    }
  }
  return units;
}

void ExpectReadsBack(const PngSpec& spec) {
  const std::vector<png_byte> samples = Samples(spec);
  const Image image = xelhost::DecodePng(WriteWithLibpng(spec, samples), "test.png");
  ASSERT_EQ(image.Width(), spec.width);
  ASSERT_EQ(image.Height(), spec.height);
  const std::vector<BYTE> expected = ExpectedUnits(spec, samples);
  ASSERT_EQ(image.FrameBytes(), expected.size());
  EXPECT_EQ(std::memcmp(image.Data(), expected.data(), expected.size()), 0);
  const bool uniform = Uniform(spec);
  EXPECT_EQ(image.Layout().imgBPC, uniform ? spec.significantBits[0] : static_cast<unsigned>(spec.depth));
  EXPECT_EQ(image.SignificantBitsDeclared(), uniform);
}

std::string DecodeError(const std::vector<BYTE>& file) {
  try {
    xelhost::DecodePng(file, "damaged.png");
  } catch (const xelhost::ImageIoError& error) {
    return error.what();
  }
  return "";
}

}  // namespace

TEST(PngDecode, EveryFilterDepthAndChannelCountReadsBackExactly) {
  for (const int depth : {8, 16}) {
    for (const int colourType : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB}) {
      SCOPED_TRACE("depth " + std::to_string(depth) + ", colour type " + std::to_string(colourType));
      ExpectReadsBack({97, 61, depth, colourType, {}});
      ExpectReadsBack({1, 3, depth, colourType, {}});  // one pixel a row: no left neighbour anywhere
    }
  }
}

TEST(PngDecode, SignificantBitsShiftOnlyWhenAllChannelsAgree) {
  ExpectReadsBack({64, 40, 16, PNG_COLOR_TYPE_GRAY, {12}});
  ExpectReadsBack({64, 40, 8, PNG_COLOR_TYPE_GRAY, {5}});
  ExpectReadsBack({64, 40, 16, PNG_COLOR_TYPE_RGB, {10, 10, 10}});
  ExpectReadsBack({64, 40, 16, PNG_COLOR_TYPE_RGB, {10, 11, 12}});
}

TEST(PngDecode, InterlacedFilesReadBackToo) { ExpectReadsBack({50, 33, 16, PNG_COLOR_TYPE_GRAY, {}, 1}); }

TEST(PngDecode, DamagedImageDataIsRefusedWithTheFileNamed) {
  const PngSpec spec{80, 50, 16, PNG_COLOR_TYPE_GRAY, {}};
  const std::vector<BYTE> good = WriteWithLibpng(spec, Samples(spec));
  // The first image data chunk starts after the signature and the header chunk.
  const std::size_t firstData = 8 + 25 + 8;
  ASSERT_EQ(std::memcmp(&good[firstData - 4], "IDAT", 4), 0);

  std::vector<BYTE> badCrc = good;
  badCrc[firstData + 20] ^= 0x40;
  EXPECT_NE(DecodeError(badCrc).find("damaged.png: bad PNG"), std::string::npos) << DecodeError(badCrc);

  std::vector<BYTE> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  EXPECT_NE(DecodeError(truncated).find("damaged.png: bad PNG"), std::string::npos) << DecodeError(truncated);

  std::vector<BYTE> noEnd(good.begin(), good.end() - 12);
  EXPECT_NE(DecodeError(noEnd).find("damaged.png"), std::string::npos);
}
