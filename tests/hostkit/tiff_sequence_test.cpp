// A TIFF written page by page that outgrows what a classic TIFF can address.
#include "test_files.h"

#include <xelhost/image_io.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using xelimg_test::ReadBytes;
using xelimg_test::ScratchDir;

TEST(TiffSequence, ASequenceThatOutgrowsAClassicTiffBecomesABigTiffWithEveryPage) {
  ScratchDir dir;
  // Noise, which does not compress.
  std::mt19937 random(7);
  std::vector<Image> pages;
  for (UINT p = 0; p < 6; ++p) {
    Image page(64, 48, PixelLayout::Colour(8, 3, XI_ORDER_RGB));
    for (UINT y = 0; y < 48; ++y)
      for (UINT x = 0; x < 64; ++x)
        for (UINT c = 0; c < 3; ++c) page.SetComponent(x, y, c, random() & 255);
    pages.push_back(std::move(page));
  }
  const auto file = dir / "run.tif";
  // The limit made small (a page's directory is given 64 KiB of room, a page here takes about 9 KB):
  // what matters is that the pages before the switch and after it survive.
  xelhost::TiffFileWriter writer(file, xelhost::ImageCompression::Default, 0, 100000);
  for (const Image& page : pages) writer.Add(page);
  EXPECT_TRUE(writer.IsBigTiff());
  writer.Commit();
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"run.tif"}) << "the classic temporary is gone";
  const std::vector<unsigned char> bytes = ReadBytes(file);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[2] | bytes[3] << 8, 43) << "BigTIFF version";
  const Image back = xelhost::ReadImageFile(file);
  ASSERT_EQ(back.Frames(), pages.size());
  for (UINT p = 0; p < pages.size(); ++p) {
    for (UINT y = 0; y < 48; y += 7)
      for (UINT x = 0; x < 64; x += 5)
        ASSERT_EQ(back.GetComponent(x, y, 1, p), pages[p].GetComponent(x, y, 1))
            << "page " << p << " pixel " << x << "," << y;
  }

  xelhost::TiffFileWriter small(dir / "small.tif", xelhost::ImageCompression::Default, 0);
  small.Add(pages[0]);
  EXPECT_FALSE(small.IsBigTiff()) << "a sequence that fits stays a classic TIFF";
}
