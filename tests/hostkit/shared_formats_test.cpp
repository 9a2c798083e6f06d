// JPEG, WebP and video writers through the host kit's own interface: what each holds, what each
// refuses, and a video that exists only once committed.
#include "test_files.h"

#include <xelhost/image_io.h>
#include <xelhost/shared_pictures.h>
#include <xelhost/video_writer.h>

#include <gtest/gtest.h>

using namespace xelimg_test;

namespace {

xelfw::Image Rgb(UINT width, UINT height, UINT bits = 8, UINT frames = 1) {
  xelfw::Image image(width, height, xelfw::PixelLayout::Colour(bits, 3, XI_ORDER_RGB), frames);
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      for (UINT c = 0; c < 3; ++c) image.SetComponent(x, y, c, (x * 7 + y * 3 + c * 50) % (1u << bits));
    }
  }
  return image;
}

bool StartsWith(const std::vector<BYTE>& bytes, std::string_view text, std::size_t at = 0) {
  return bytes.size() >= at + text.size() &&
         std::equal(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    [](char c, BYTE b) { return static_cast<BYTE>(c) == b; });
}

}  // namespace

TEST(SharedPictures, EncodeGreyAndColourAndRefuseWhatTheFormatCannotHold) {
  for (const xelfw::Image& image : {Rgb(33, 17), xelfw::Image(9, 5, xelfw::PixelLayout::Grey(6, 8))}) {
    EXPECT_TRUE(StartsWith(xelhost::EncodeJpeg(image), "\xFF\xD8\xFF"));
    EXPECT_TRUE(StartsWith(xelhost::EncodeWebp(image), "RIFF"));
    EXPECT_TRUE(StartsWith(xelhost::EncodeWebp(image, 50), "WEBP", 8));
  }
  EXPECT_THROW(xelhost::EncodeJpeg(Rgb(4, 4, 16)), xelhost::ImageIoError);
  EXPECT_THROW(xelhost::EncodeWebp(Rgb(4, 4, 8, 2)), xelhost::ImageIoError);
  EXPECT_THROW(xelhost::EncodeWebp(Rgb(16384, 1)), xelhost::ImageIoError);
  EXPECT_THROW(xelhost::EncodeJpeg(Rgb(4, 4), 0), xelhost::ImageIoError);
  EXPECT_THROW(xelhost::EncodeWebp(Rgb(4, 4), 101), xelhost::ImageIoError);
}

TEST(SharedPictures, WriteImageFileKnowsTheirExtensions) {
  ScratchDir dir;
  EXPECT_EQ(xelhost::ImageFileFormatFromPath("a.JPEG"), xelhost::ImageFileFormat::Jpeg);
  EXPECT_EQ(xelhost::ImageFileFormatFromPath("a.jpg"), xelhost::ImageFileFormat::Jpeg);
  EXPECT_EQ(xelhost::ImageFileFormatFromPath("a.WebP"), xelhost::ImageFileFormat::Webp);
  xelhost::WriteImageFile(Rgb(20, 10), dir / "a.jpg");
  xelhost::WriteImageFile(Rgb(20, 10), dir / "a.webp");
  EXPECT_EQ(ReadBytes(dir / "a.webp"), xelhost::EncodeWebp(Rgb(20, 10)));
  EXPECT_THROW(xelhost::WriteImageFile(Rgb(20, 10, 16), dir / "b.jpg"), xelhost::ImageIoError);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.jpg", "a.webp"}));
}

TEST(VideoWriter, TheFileAppearsOnlyWhenCommitted) {
  if (!xelhost::VideoOutputsAvailable()) {
    EXPECT_THROW(xelhost::CheckVideoFormatAvailable(xelhost::VideoFormat::Ffv1Matroska), xelhost::ImageIoError);
    GTEST_SKIP() << "built without GStreamer";
  }
  EXPECT_EQ(xelhost::VideoFormatFromPath("a.MKV"), xelhost::VideoFormat::Ffv1Matroska);
  EXPECT_EQ(xelhost::VideoFormatFromPath("a.webm"), xelhost::VideoFormat::Vp9Webm);
  EXPECT_EQ(xelhost::VideoFormatFromPath("a.mp4"), xelhost::VideoFormat::H264Mp4);
  EXPECT_FALSE(xelhost::VideoFormatFromPath("a.avi"));
  ScratchDir dir;
  {
    xelhost::VideoFileWriter abandoned(dir / "a.mkv", xelhost::VideoFormat::Ffv1Matroska, {});
    for (int i = 0; i < 5; ++i) abandoned.Add(Rgb(32, 24));
  }
  {
    xelhost::VideoFileWriter mixed(dir / "b.mkv", xelhost::VideoFormat::Ffv1Matroska, {});
    mixed.Add(Rgb(32, 24));
    EXPECT_THROW(mixed.Add(Rgb(24, 32)), xelhost::ImageIoError);
    EXPECT_THROW(mixed.Add(Rgb(32, 24, 16)), xelhost::ImageIoError);
  }
  {
    xelhost::VideoFileWriter empty(dir / "c.mkv", xelhost::VideoFormat::Ffv1Matroska, {});
    EXPECT_THROW(empty.Commit(), xelhost::ImageIoError);
  }
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_THROW(xelhost::VideoFileWriter(dir / "no" / "d.mkv", xelhost::VideoFormat::Vp9Webm, {}),
               xelhost::ImageIoError);

  xelhost::VideoFileWriter kept(dir / "e.webm", xelhost::VideoFormat::Vp9Webm, {30000, 1001});
  for (int i = 0; i < 5; ++i) kept.Add(Rgb(31, 17));
  EXPECT_EQ(kept.Frames(), 5u);
  kept.Commit();
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"e.webm"});
  EXPECT_TRUE(StartsWith(ReadBytes(dir / "e.webm"), "\x1A\x45\xDF\xA3"));
}
