// PNGs too large to compress in one call go through the deflate stream a chunk of rows at a time; they
// must read back exactly as the small ones do.
#include <xelhost/image_io.h>

#include "test_files.h"

#include <gtest/gtest.h>

#include <cstring>

using xelfw::Image;
using xelfw::PixelLayout;
using xelimg_test::ScratchDir;

namespace {

// Smooth ramps with a little noise, as thermal pictures are: runs of small differences.
Image Scene(UINT width, UINT height, const PixelLayout& layout) {
  Image image(width, height, layout);
  const std::size_t units = image.FrameBytes() / (layout.memBPC / 8);
  const unsigned mask = (1u << layout.imgBPC) - 1;
  std::uint32_t noise = 12345;
  for (std::size_t i = 0; i < units; ++i) {
    noise = noise * 1103515245u + 12345u;
    const unsigned value = (static_cast<unsigned>(i / 7) + (noise >> 28)) & mask;
    if (layout.memBPC == 8) {
      image.Data()[i] = static_cast<BYTE>(value);
    } else {
      const auto unit = static_cast<std::uint16_t>(value);
      std::memcpy(image.Data() + 2 * i, &unit, sizeof unit);
    }
  }
  return image;
}

void ExpectSamePixels(const Image& read, const Image& written) {
  ASSERT_EQ(read.Width(), written.Width());
  ASSERT_EQ(read.Height(), written.Height());
  EXPECT_EQ(read.Layout().imgBPC, written.Layout().imgBPC);
  ASSERT_EQ(read.FrameBytes(), written.FrameBytes());
  EXPECT_EQ(std::memcmp(read.Data(), written.Data(), written.FrameBytes()), 0);
}

}  // namespace

TEST(LargePng, StreamedImagesReadBackExactlyAtEveryCompression) {
  ScratchDir dir;
  // 9 MiB of filtered RGB rows and 8.2 MiB of 12-bit grey ones: both beyond the one-call size.
  const Image colour = Scene(2048, 1536, PixelLayout::Colour(8, 3, XI_ORDER_RGB));
  const Image grey = Scene(2048, 2100, PixelLayout::Grey(12, 16));
  for (const auto compression :
       {xelhost::ImageCompression::Fast, xelhost::ImageCompression::Default, xelhost::ImageCompression::Small}) {
    for (const Image* image : {&colour, &grey}) {
      const auto file = dir / "large.png";
      xelhost::WriteImageFile(*image, file, xelhost::ImageFileFormat::Png, compression);
      ExpectSamePixels(xelhost::ReadImageFile(file), *image);
      const std::vector<BYTE> bytes = xelhost::EncodePng(*image, compression);
      EXPECT_EQ(bytes, xelimg_test::ReadBytes(file));
    }
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"large.png"});
}

TEST(LargePng, RowsWiderThanAChunkGoOneAtATime) {
  const Image colour = Scene(1000000, 3, PixelLayout::Colour(8, 3, XI_ORDER_RGB));
  for (const Image& image : {colour, Scene(1000000, 5, PixelLayout::Grey(16, 16))}) {
    ExpectSamePixels(xelhost::DecodePng(xelhost::EncodePng(image), "wide.png"), image);
  }
}
