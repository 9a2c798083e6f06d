// Surfaces, PNG files and icons.
#include "gdi_test_canvas.h"
#include "picture_file.h"

#include <gtest/gtest.h>

#include <filesystem>

using gdi_test::Canvas;
using gdi_test::kWhite;

namespace {

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("winui_gdi_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" + name);
}

TEST(GdiSurfaceTest, ColorRefsAndPixelsSwapRedAndBlue) {
  static_assert(winui::PixelFromColorRef(RGB(0x11, 0x22, 0x33)) == 0x112233);
  static_assert(winui::ColorRefFromPixel(0x112233) == RGB(0x11, 0x22, 0x33));
  Canvas c(1, 1);
  SetPixel(c.dc, 0, 0, RGB(10, 36, 106));
  EXPECT_EQ(c.surface.At(0, 0), 0x0A246Au);
}

TEST(GdiSurfaceTest, PngRoundTripKeepsEveryPixel) {
  winui::Surface picture(3, 2);
  const std::uint32_t pixels[] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) picture.At(i % 3, i / 3) = pixels[i];
  const auto path = TempPath("round_trip.png");
  std::string error;
  ASSERT_TRUE(winui_test::SavePicture(picture, path.string(), &error)) << error;
  winui::Surface back;
  ASSERT_TRUE(winui::LoadPng(path.string(), &back, &error)) << error;
  ASSERT_EQ(back.Width(), 3);
  ASSERT_EQ(back.Height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(back.At(i % 3, i / 3), pixels[i]) << i;
  std::filesystem::remove(path);
}

TEST(GdiSurfaceTest, EmptyPicturesAndBrokenFilesAreRefusedWithAMessage) {
  std::vector<std::uint8_t> png{1, 2, 3};
  std::string error;
  EXPECT_FALSE(winui::EncodePng(winui::Surface(), &png, &error));
  EXPECT_FALSE(error.empty());

  const auto notPng = TempPath("not_a_png.png");
  {
    std::FILE* f = std::fopen(notPng.c_str(), "wb");
    std::fputs("text, not a picture", f);
    std::fclose(f);
  }
  winui::Surface untouched(1, 1, 7);
  error.clear();
  EXPECT_FALSE(winui::LoadPng(notPng.string(), &untouched, &error));
  EXPECT_FALSE(error.empty());
  std::filesystem::remove(notPng);
}

TEST(GdiIconTest, BlendsStraightAlphaAtItsOwnSizeOrScaled) {
  const std::uint32_t argb[] = {0xFFFF0000, 0x00000000, 0x80FF0000, 0xFF0000FF};
  HICON icon = CreateIconFromPixels(2, 2, argb);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(winui::IconSize(icon).cx, 2);
  Canvas c(4, 4);
  DrawIconEx(c.dc, 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.surface.At(1, 1), 0xFF0000u);
  EXPECT_EQ(c.surface.At(2, 1), kWhite);     // fully transparent
  EXPECT_EQ(c.surface.At(1, 2), 0xFF8080u);  // half red over white
  EXPECT_EQ(c.surface.At(2, 2), 0x0000FFu);
  EXPECT_EQ(c.surface.At(3, 3), kWhite);

  Canvas doubled(4, 4);
  DrawIconEx(doubled.dc, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(doubled.surface.At(1, 1), 0xFF0000u);
  EXPECT_EQ(doubled.surface.At(3, 3), 0x0000FFu);

  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap;
  GetObject(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 2);
  DeleteObject(info.hbmColor);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_EQ(CreateIconFromPixels(0, 2, argb), nullptr);
}

}  // namespace
