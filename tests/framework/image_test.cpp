// Images through the interface objects use: format descriptors and row addressing for every layout.
#include <xelfw/Aoi.h>
#include <xelfw/Image.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using xelfw::Aoi;
using xelfw::Image;
using xelfw::PixelLayout;

namespace {

struct LayoutCase {
  const char* name;
  PixelLayout layout;
  UINT bytesPerPixel;
  UINT mask;
  UINT componentPos[3];
};

UINT ReadUnit(const BYTE* address, UINT memBPC) {
  UINT value = 0;
  std::memcpy(&value, address, memBPC / 8);  // little-endian host
  return value;
}

}  // namespace

TEST(ImageTest, DescribesEveryLayout) {
  const LayoutCase cases[] = {
      {"grey 8", PixelLayout::Grey(8, 8), 1, 0xFF, {0, 0, 0}},
      {"grey 1 of 8 at bit 7", PixelLayout::Grey(1, 8, 7), 1, 0x80, {0, 0, 0}},
      {"grey 12 of 16", PixelLayout::Grey(12, 16), 2, 0x0FFF, {0, 0, 0}},
      {"grey 12 of 16 at bit 4", PixelLayout::Grey(12, 16, 4), 2, 0xFFF0, {0, 0, 0}},
      {"grey 16 of 32 at bit 8", PixelLayout::Grey(16, 32, 8), 4, 0x00FFFF00, {0, 0, 0}},
      {"RGB 3 bytes", PixelLayout::Colour(8, 3), 3, 0xFF, {0, 1, 2}},
      {"BGRX 4 bytes", PixelLayout::Colour(8, 4, XI_ORDER_BGR), 4, 0xFF, {2, 1, 0}},
      {"RGB 6 bytes", PixelLayout::Colour(16, 3), 6, 0xFFFF, {0, 1, 2}},
      {"BGRX 8 bytes, 10 bits", PixelLayout::Colour(16, 4, XI_ORDER_BGR, 10), 8, 0x03FF, {2, 1, 0}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Image image(5, 3, c.layout);
    const XI_IMGFORMAT format = image.GetFormat();
    EXPECT_EQ(XiFormatClass(format), c.layout.formatClass);
    EXPECT_EQ(XiFormatBitDepth(format), c.layout.imgBPC);
    EXPECT_EQ(XiFormatMemBPC(format), c.layout.memBPC);
    EXPECT_EQ(XiFormatNumComponents(format), image.GetNumComponents());
    EXPECT_EQ(image.GetBitsPerPixel(), c.bytesPerPixel * 8);
    EXPECT_EQ(image.GetComponentMask(), c.mask);
    EXPECT_EQ(image.GetMsbPos() - image.GetLsbPos() + 1, c.layout.imgBPC);
    for (UINT i = 0; i < image.GetNumComponents(); ++i) EXPECT_EQ(image.GetComponentPos(i), c.componentPos[i]);
  }
}

TEST(ImageTest, RowAddressesReachEveryPixelOfEveryLayout) {
  const PixelLayout layouts[] = {PixelLayout::Grey(8, 8),
                                 PixelLayout::Grey(12, 16, 2),
                                 PixelLayout::Grey(16, 32, 16),
                                 PixelLayout::Colour(8, 3),
                                 PixelLayout::Colour(8, 4, XI_ORDER_BGR),
                                 PixelLayout::Colour(16, 3, XI_ORDER_BGR),
                                 PixelLayout::Colour(16, 4)};
  for (const PixelLayout& layout : layouts) {
    Image image(7, 5, layout);
    const UINT maxValue = (1u << layout.imgBPC) - 1;
    for (UINT y = 0; y < 5; ++y)
      for (UINT x = 0; x < 7; ++x)
        for (UINT c = 0; c < layout.numComponents; ++c) image.SetComponent(x, y, c, (x * 31 + y * 7 + c) & maxValue);
    const Aoi aoi = Aoi::FromSize(2, 1, 4, 3);
    ASSERT_EQ(image.GetAoiWidth(&aoi), 4u);
    ASSERT_EQ(image.GetAoiHeight(&aoi), 3u);
    for (UINT row = 0; row < 3; ++row) {
      const BYTE* pixel = image.GetRowAddress(row, 0, 0, &aoi, XI_ACCESS_READ);
      ASSERT_NE(pixel, nullptr);
      for (UINT column = 0; column < 4; ++column, pixel += image.GetBitsPerPixel() / 8) {
        ASSERT_EQ(image.GetRowAddress(row, column, 0, &aoi, XI_ACCESS_WRITE), pixel);
        for (UINT c = 0; c < layout.numComponents; ++c) {
          const UINT unit = ReadUnit(pixel + image.GetComponentPos(c) * layout.memBPC / 8, layout.memBPC);
          const UINT expected = ((column + 2) * 31 + (row + 1) * 7 + c) & maxValue;
          EXPECT_EQ((unit & image.GetComponentMask()) >> image.GetLsbPos(), expected)
              << "row " << row << " column " << column << " component " << c;
        }
      }
    }
  }
}

TEST(ImageTest, AoisAreClippedAndOutsidePixelsHaveNoAddress) {
  Image image(10, 8, PixelLayout::Grey(8, 8), 2);
  EXPECT_EQ(image.GetAoiWidth(nullptr), 10u);
  EXPECT_EQ(image.GetAoiHeight(nullptr), 8u);
  const Aoi overhang(RECT{6, -2, 20, 3});
  EXPECT_EQ(image.GetAoiWidth(&overhang), 4u);
  EXPECT_EQ(image.GetAoiHeight(&overhang), 3u);
  EXPECT_EQ(image.GetRowAddress(0, 0, 0, &overhang, XI_ACCESS_READ), image.Data() + 6);
  EXPECT_EQ(image.GetRowAddress(0, 4, 0, &overhang, XI_ACCESS_READ), nullptr);
  EXPECT_EQ(image.GetRowAddress(3, 0, 0, &overhang, XI_ACCESS_READ), nullptr);
  const Aoi outside(RECT{12, 0, 15, 5});
  EXPECT_EQ(image.GetAoiWidth(&outside), 0u);
  EXPECT_EQ(image.GetRowAddress(0, 0, 0, &outside, XI_ACCESS_READ), nullptr);

  EXPECT_EQ(image.GetRowAddress(2, 3, 1, nullptr, XI_ACCESS_READ), image.Data(1) + 2 * 10 + 3) << "frame 1";
  EXPECT_EQ(image.GetRowAddress(0, 0, 2, nullptr, XI_ACCESS_READ), nullptr) << "no frame 2";
  EXPECT_EQ(image.GetRowAddress(0, 0, 0, nullptr, 7), nullptr) << "unknown access mode";
}

TEST(ImageTest, ComponentsKeepTheBitsOutsideTheirMask) {
  Image image(1, 1, PixelLayout::Grey(4, 8, 2));
  image.SetUnit(0, 0, 0, 0xFF);
  image.SetComponent(0, 0, 0, 0x5);
  EXPECT_EQ(image.GetUnit(0, 0, 0), 0xC3u | (0x5u << 2));
  EXPECT_EQ(image.GetComponent(0, 0, 0), 0x5u);
  image.SetComponent(0, 0, 0, 0x1F);  // wider than 4 bits: only the significant bits land
  EXPECT_EQ(image.GetComponent(0, 0, 0), 0xFu);
  EXPECT_THROW(image.GetComponent(1, 0, 0), std::out_of_range);
}

TEST(ImageTest, RefusesLayoutsThatDoNotFit) {
  EXPECT_THROW(PixelLayout::Grey(0, 8), std::invalid_argument);
  EXPECT_THROW(PixelLayout::Grey(17, 32), std::invalid_argument);
  EXPECT_THROW(PixelLayout::Grey(12, 16, 5), std::invalid_argument);
  EXPECT_THROW(PixelLayout::Grey(8, 12), std::invalid_argument);
  EXPECT_THROW(PixelLayout::Colour(8, 2), std::invalid_argument);
  EXPECT_THROW(PixelLayout::Colour(8, 3, 5), std::invalid_argument);
  EXPECT_THROW(Image(4, 4, PixelLayout::Grey(8, 8), 0), std::invalid_argument);
  EXPECT_NO_THROW(PixelLayout::Colour(32, 4));
}

TEST(ImageTest, FramesFilledElsewhereBecomeTheImageWithoutACopy) {
  std::vector<xelfw::FrameBuffer> frames(2, xelfw::FrameBuffer(3 * 2 * 2));
  frames[1][2] = 0x34;
  frames[1][3] = 0x12;
  const BYTE* second = frames[1].data();
  const Image image(3, 2, PixelLayout::Grey(16, 16), std::move(frames));
  EXPECT_EQ(image.Frames(), 2u);
  EXPECT_EQ(image.Data(1), second) << "the decoder's buffer is the frame";
  EXPECT_EQ(image.GetUnit(1, 0, 0, 1), 0x1234u);

  EXPECT_THROW(Image(3, 2, PixelLayout::Grey(8, 8), std::vector<xelfw::FrameBuffer>{}), std::invalid_argument);
  EXPECT_THROW(Image(3, 2, PixelLayout::Grey(8, 8), std::vector<xelfw::FrameBuffer>(1, xelfw::FrameBuffer(5))),
               std::invalid_argument);
  // Sides whose product cannot be addressed are refused before any memory is taken.
  EXPECT_THROW(Image(0x7FFFFFFF, 0x7FFFFFFF, PixelLayout::Colour(32, 4)), std::invalid_argument);
}
