// Image files: what is written reads back the same, and broken files are refused cleanly.
#include "test_files.h"

#include <xelhost/image_io.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::ImageIoError;
using xelimg_test::ReadBytes;
using xelimg_test::ScratchDir;
using xelimg_test::WriteBytes;

namespace {

// Every component gets a value that differs from its neighbours and uses the top bit.
Image Patterned(UINT width, UINT height, const PixelLayout& layout, UINT frames = 1) {
  Image image(width, height, layout, frames);
  const UINT top = (1u << layout.imgBPC) - 1;
  for (UINT f = 0; f < frames; ++f)
    for (UINT y = 0; y < height; ++y)
      for (UINT x = 0; x < width; ++x)
        for (UINT c = 0; c < layout.numComponents; ++c)
          image.SetComponent(x, y, c, (x * 977 + y * 131 + c * 59 + f * 7 + (x == 0 ? top : 0)) & top, f);
  return image;
}

void ExpectSameComponents(const Image& expected, const Image& actual) {
  ASSERT_EQ(expected.Width(), actual.Width());
  ASSERT_EQ(expected.Height(), actual.Height());
  ASSERT_EQ(expected.Frames(), actual.Frames());
  ASSERT_EQ(expected.Layout().numComponents, actual.Layout().numComponents);
  for (UINT f = 0; f < expected.Frames(); ++f)
    for (UINT y = 0; y < expected.Height(); ++y)
      for (UINT x = 0; x < expected.Width(); ++x)
        for (UINT c = 0; c < expected.Layout().numComponents; ++c)
          ASSERT_EQ(expected.GetComponent(x, y, c, f), actual.GetComponent(x, y, c, f))
              << "frame " << f << " pixel " << x << "," << y << " component " << c;
}

Image RoundTrip(const Image& image, const ScratchDir& dir, const std::string& name) {
  const auto file = dir / name;
  xelhost::WriteImageFile(image, file);
  return xelhost::ReadImageFile(file);
}

}  // namespace

TEST(ImageFileRoundTrip, GreyscaleKeepsValuesAndSignificantBitsInEveryFormat) {
  ScratchDir dir;
  for (const char* ext : {".png", ".pgm", ".tif"}) {
    for (const UINT bits : {8u, 16u}) {
      const Image grey = Patterned(37, 11, PixelLayout::Grey(bits, bits));
      const Image back = RoundTrip(grey, dir, std::string("grey") + std::to_string(bits) + ext);
      SCOPED_TRACE(std::string(ext) + " " + std::to_string(bits));
      EXPECT_EQ(back.Layout().formatClass, XI_IMGFORMAT_CLASS_GREYSCALE);
      EXPECT_EQ(back.GetMemBPC(), bits);
      EXPECT_EQ(back.GetImgBPC(), bits);
      ExpectSameComponents(grey, back);
    }
  }
}

TEST(ImageFileRoundTrip, TwelveBitGreyComesBackAsTwelveBitsFromPngAndPgm) {
  ScratchDir dir;
  const Image grey = Patterned(16, 9, PixelLayout::Grey(12, 16));
  for (const char* name : {"g12.png", "g12.pgm"}) {
    const Image back = RoundTrip(grey, dir, name);
    EXPECT_EQ(back.GetImgBPC(), 12u) << name;
    ExpectSameComponents(grey, back);
  }
  // A 12-bit PNG is scaled up to 16 bits in the file, so other viewers show the full range.
  const Image raw = xelhost::DecodePng(ReadBytes(dir / "g12.png"), "g12.png");
  EXPECT_EQ(raw.GetImgBPC(), 12u);
}

TEST(ImageFileRoundTrip, ColourInAnyPackingIsWrittenAsPlainRgb) {
  ScratchDir dir;
  const Image bgrx = Patterned(13, 7, PixelLayout::Colour(8, 4, XI_ORDER_BGR));
  const Image rgb16 = Patterned(13, 7, PixelLayout::Colour(16, 3, XI_ORDER_RGB));
  for (const char* ext : {".png", ".tiff"}) {
    for (const Image* image : {&bgrx, &rgb16}) {
      const Image back = RoundTrip(*image, dir, std::string("colour") + ext);
      EXPECT_EQ(back.Layout().unitsPerPixel, 3u);
      EXPECT_EQ(back.GetComponentPos(0), 0u) << "read back in RGB order";
      EXPECT_EQ(back.GetMemBPC(), image->GetMemBPC());
      ExpectSameComponents(*image, back);
    }
  }
}

TEST(ImageFileRoundTrip, MultiPageTiffKeepsEveryPageInOrder) {
  ScratchDir dir;
  const Image pages = Patterned(20, 10, PixelLayout::Grey(16, 16), 3);
  const Image back = RoundTrip(pages, dir, "pages.tif");
  EXPECT_EQ(back.Frames(), 3u);
  ExpectSameComponents(pages, back);
}

TEST(ImageFileRoundTrip, OnePageFormatsRefuseSeveralFrames) {
  ScratchDir dir;
  const Image pages = Patterned(4, 4, PixelLayout::Grey(8, 8), 2);
  EXPECT_THROW(xelhost::WriteImageFile(pages, dir / "pages.png"), ImageIoError);
  EXPECT_THROW(xelhost::WriteImageFile(pages, dir / "pages.pgm"), ImageIoError);
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(ImageFileRoundTrip, EveryCompressionKeepsThePixelsAndSmallerCostsMore) {
  using xelhost::ImageCompression;
  ScratchDir dir;
  // A smooth picture with a little texture, as pseudo-colour output is.
  Image rgb(96, 40, PixelLayout::Colour(8, 3));
  for (UINT y = 0; y < 40; ++y)
    for (UINT x = 0; x < 96; ++x)
      for (UINT c = 0; c < 3; ++c) rgb.SetComponent(x, y, c, (x * (c + 1) + y + ((x * y) % 3)) & 255);
  const Image grey12 = Patterned(33, 17, PixelLayout::Grey(12, 16));
  const Image rgb16 = Patterned(21, 5, PixelLayout::Colour(16, 3));
  std::vector<std::uintmax_t> pngSizes;
  for (const ImageCompression compression :
       {ImageCompression::Fast, ImageCompression::Default, ImageCompression::Small}) {
    for (const xelhost::ImageFileFormat format : {xelhost::ImageFileFormat::Png, xelhost::ImageFileFormat::Tiff}) {
      for (const Image* image : {static_cast<const Image*>(&rgb), &grey12, &rgb16}) {
        const auto file = dir / (format == xelhost::ImageFileFormat::Png ? "c.png" : "c.tif");
        xelhost::WriteImageFile(*image, file, format, compression);
        ExpectSameComponents(*image, xelhost::ReadImageFile(file));
        if (format == xelhost::ImageFileFormat::Png) {
          EXPECT_EQ(xelhost::EncodePng(*image, compression), ReadBytes(file))
              << "the bytes of a stream and a file agree";
          if (image == &rgb) pngSizes.push_back(std::filesystem::file_size(file));
        }
      }
    }
  }
  EXPECT_GT(pngSizes[0], pngSizes[1]);
  EXPECT_GE(pngSizes[1], pngSizes[2]);
}

TEST(ImageFileWrite, TiffWrittenPageByPageAppearsOnlyOnCommit) {
  ScratchDir dir;
  const Image pages = Patterned(20, 10, PixelLayout::Grey(16, 16), 3);
  {
    xelhost::TiffFileWriter writer(dir / "pages.tif", xelhost::ImageCompression::Default, 0);
    for (UINT f = 0; f < 3; ++f) {
      Image page(20, 10, pages.Layout());
      std::memcpy(page.Data(), pages.Data(f), pages.FrameBytes());
      writer.Add(page);
    }
    EXPECT_EQ(writer.Pages(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir / "pages.tif"));
    writer.Commit();
  }
  ExpectSameComponents(pages, xelhost::ReadImageFile(dir / "pages.tif"));
  {
    xelhost::TiffFileWriter abandoned(dir / "abandoned.tif", xelhost::ImageCompression::Fast, 2);
    abandoned.Add(pages);
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"pages.tif"});
}

TEST(ImageFileRead, PgmHeaderWithCommentsAndSmallMaxval) {
  const std::string text = "P5\n# made by hand\n3 2\n# maxval next\n15\n";
  std::vector<unsigned char> bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), {0, 1, 2, 13, 14, 15});
  const Image image = xelhost::DecodePgm(bytes, "hand.pgm");
  EXPECT_EQ(image.GetImgBPC(), 4u);
  EXPECT_EQ(image.GetMemBPC(), 8u);
  EXPECT_EQ(image.GetComponent(2, 0, 0), 2u);
  EXPECT_EQ(image.GetComponent(2, 1, 0), 15u);
}

TEST(ImageFileRead, BrokenFilesAreRefusedWithTheFileNamed) {
  ScratchDir dir;
  const Image grey = Patterned(64, 64, PixelLayout::Grey(16, 16), 2);
  xelhost::WriteImageFile(grey, dir / "good.tif");
  xelhost::WriteImageFile(Patterned(64, 64, PixelLayout::Grey(16, 16)), dir / "good.png");
  xelhost::WriteImageFile(Patterned(64, 64, PixelLayout::Grey(16, 16)), dir / "good.pgm");

  for (const char* name : {"good.png", "good.tif", "good.pgm"}) {
    std::vector<unsigned char> bytes = ReadBytes(dir / name);
    bytes.resize(bytes.size() / 2);
    const auto cut = dir / (std::string("cut-") + name);
    WriteBytes(cut, bytes);
    try {
      xelhost::ReadImageFile(cut);
      ADD_FAILURE() << name << " cut in half was read";
    } catch (const ImageIoError& error) {
      EXPECT_NE(std::string(error.what()).find(cut.string()), std::string::npos) << error.what();
    }
  }
  WriteBytes(dir / "text.png", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_THROW(xelhost::ReadImageFile(dir / "text.png"), ImageIoError);
  EXPECT_THROW(xelhost::ReadImageFile(dir / "missing.png"), ImageIoError);
}

TEST(ImageFileRead, PgmValuesAboveMaxvalAndAbsurdSizesAreRefused) {
  const std::string header = "P5 2 1 100\n";
  std::vector<unsigned char> bytes(header.begin(), header.end());
  bytes.push_back(100);
  bytes.push_back(101);
  EXPECT_THROW(xelhost::DecodePgm(bytes, "over.pgm"), ImageIoError);

  const std::string huge = "P5 4000000000 4000000000 255\n";
  EXPECT_THROW(xelhost::DecodePgm(std::vector<unsigned char>(huge.begin(), huge.end()), "huge.pgm"), ImageIoError);
}

TEST(ImageFileWrite, FailedWriteLeavesTheTargetAsItWasAndNoTemporaryFile) {
  ScratchDir dir;
  const auto target = dir / "keep.png";
  xelhost::WriteImageFile(Patterned(8, 8, PixelLayout::Grey(8, 8)), target);
  const auto before = ReadBytes(target);

  // 32 significant bits fit no image file: refused after the target exists.
  const Image wide(8, 8, PixelLayout::Colour(32, 3));
  EXPECT_THROW(xelhost::WriteImageFile(wide, target), ImageIoError);
  EXPECT_EQ(ReadBytes(target), before);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"keep.png"});

  EXPECT_THROW(xelhost::WriteImageFile(Patterned(2, 2, PixelLayout::Colour(8, 3)), dir / "colour.pgm"), ImageIoError);
  EXPECT_THROW(xelhost::WriteImageFile(wide, dir / "image.bmp"), ImageIoError);
  EXPECT_THROW(xelhost::WriteImageFile(Patterned(2, 2, PixelLayout::Grey(8, 8)), dir / "no-such-dir" / "a.png"),
               ImageIoError);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"keep.png"});
}

TEST(ImageFileWrite, WrittenFilesAreReadableByOthers) {
  ScratchDir dir;
  const mode_t previous = ::umask(022);
  xelhost::WriteImageFile(Patterned(2, 2, PixelLayout::Grey(8, 8)), dir / "shared.png");
  ::umask(previous);
  struct stat info {};
  ASSERT_EQ(::stat((dir / "shared.png").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}
