// Hostile image files cost what they weigh: headers that promise more than the file holds, pages
// sharing their data, too many pages, things that are not files, and the limits a reader is given.
#include "test_files.h"

#include <xelhost/image_io.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::ImageIoError;
using xelhost::ImageLimitError;
using xelhost::ReadLimits;
using xelimg_test::ScratchDir;
using xelimg_test::WriteBytes;

namespace {

using Bytes = std::vector<unsigned char>;

void Put32Be(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}
void Put16Le(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32Le(Bytes& out, std::uint32_t v) {
  Put16Le(out, v & 0xFFFF);
  Put16Le(out, v >> 16);
}

std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PngChunk(Bytes& out, const char* type, const Bytes& data) {
  Put32Be(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32Be(out, Crc32(out.data() + start, out.size() - start));
}

// An 8-bit grey PNG header for width × height, followed by a few bytes of image data and nothing else.
Bytes TruncatedPng(std::uint32_t width, std::uint32_t height) {
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  Put32Be(ihdr, width);
  Put32Be(ihdr, height);
  ihdr.insert(ihdr.end(), {8, 0, 0, 0, 0});
  PngChunk(png, "IHDR", ihdr);
  PngChunk(png, "IDAT", {0x78, 0x9C, 0x62, 0x00, 0x00});
  return png;
}

// A little-endian TIFF of `pages` 8-bit grey pages that all point at the same strip, which follows
// the page directories.
Bytes SharedStripTiff(std::uint32_t pages, std::uint32_t width, std::uint32_t height, std::uint16_t compression,
                      const Bytes& strip) {
  constexpr std::uint32_t kEntries = 9;
  constexpr std::uint32_t kIfdBytes = 2 + 12 * kEntries + 4;
  const std::uint32_t stripOffset = 8 + pages * kIfdBytes;
  Bytes tiff{'I', 'I', 42, 0};
  Put32Le(tiff, 8);
  for (std::uint32_t page = 0; page < pages; ++page) {
    Put16Le(tiff, kEntries);
    const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
      Put16Le(tiff, tag);
      Put16Le(tiff, type);
      Put32Le(tiff, 1);
      if (type == 3) {
        Put16Le(tiff, value);
        Put16Le(tiff, 0);
      } else {
        Put32Le(tiff, value);
      }
    };
    entry(256, 4, width);
    entry(257, 4, height);
    entry(258, 3, 8);
    entry(259, 3, compression);
    entry(262, 3, 1);
    entry(273, 4, stripOffset);
    entry(277, 3, 1);
    entry(278, 4, height);
    entry(279, 4, static_cast<std::uint32_t>(strip.size()));
    Put32Le(tiff, page + 1 < pages ? 8 + (page + 1) * kIfdBytes : 0);
  }
  tiff.insert(tiff.end(), strip.begin(), strip.end());
  return tiff;
}

// PackBits: each two-byte run code gives 128 bytes of `value`.
Bytes PackBitsRuns(std::size_t bytes, unsigned char value) {
  Bytes strip;
  for (std::size_t done = 0; done < bytes; done += 128) strip.insert(strip.end(), {0x81, value});
  return strip;
}

template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const ImageIoError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace

TEST(HostileImageFiles, HeadersThatPromiseMoreThanTheFileHoldsAreRefusedBeforeDecoding) {
  ScratchDir dir;
  WriteBytes(dir / "bomb.png", TruncatedPng(32768, 32768));
  WriteBytes(dir / "bomb.tif", SharedStripTiff(4, 16384, 16384, 1, Bytes(600, 0)));
  for (const char* name : {"bomb.png", "bomb.tif"}) {
    const std::string message = ErrorOf([&] { xelhost::ReadImageFile(dir / name); });
    EXPECT_NE(message.find((dir / name).string()), std::string::npos) << message;
    EXPECT_NE(message.find("can hold"), std::string::npos) << message;
    EXPECT_NE(ErrorOf([&] { xelhost::InspectImageFile(dir / name); }).find("can hold"), std::string::npos) << name;
  }
  // The same PNG header with a size the data could hold is an honest, if truncated, file.
  WriteBytes(dir / "small.png", TruncatedPng(4, 4));
  EXPECT_NE(ErrorOf([&] { xelhost::ReadImageFile(dir / "small.png"); }).find("bad PNG"), std::string::npos);
}

TEST(HostileImageFiles, PagesSharingTheirDataCannotTogetherExceedTheFile) {
  ScratchDir dir;
  // One page decodes (1 MiB from 16 KiB of runs); four of them claim four times what the file holds.
  const Bytes runs = PackBitsRuns(1024 * 1024, 7);
  WriteBytes(dir / "one.tif", SharedStripTiff(1, 1024, 1024, 32773, runs));
  WriteBytes(dir / "four.tif", SharedStripTiff(4, 1024, 1024, 32773, runs));
  const Image one = xelhost::ReadImageFile(dir / "one.tif");
  EXPECT_EQ(one.GetComponent(1023, 1023, 0), 7u);
  for (const auto& read : {+[](const std::filesystem::path& f) { xelhost::ReadImageFile(f); },
                           +[](const std::filesystem::path& f) { xelhost::InspectImageFile(f); }}) {
    EXPECT_NE(ErrorOf([&] { read(dir / "four.tif"); }).find("pages declare"), std::string::npos);
  }
}

TEST(HostileImageFiles, ByteAndPageLimitsCoverEveryPageAndAreCheckedAsPagesAreFound) {
  ScratchDir dir;
  const Image pages(64, 32, PixelLayout::Grey(16, 16), 5);  // 4 KiB a page
  xelhost::WriteImageFile(pages, dir / "pages.tif");
  EXPECT_EQ(xelhost::ReadImageFile(dir / "pages.tif", ReadLimits{5 * 4096, 5}).Frames(), 5u);
  EXPECT_THROW(xelhost::ReadImageFile(dir / "pages.tif", ReadLimits{5 * 4096 - 1, 5}), ImageLimitError);
  EXPECT_NE(ErrorOf([&] {
              xelhost::ReadImageFile(dir / "pages.tif", ReadLimits{1 << 20, 4});
            }).find("more than 4 pages"),
            std::string::npos);
  EXPECT_NE(ErrorOf([&] {
              xelhost::InspectImageFile(dir / "pages.tif", ReadLimits{1 << 20, 4});
            }).find("more than 4 pages"),
            std::string::npos);
  EXPECT_THROW(xelhost::ReadImageFile(dir / "pages.tif", ReadLimits{4095, 5}), ImageLimitError);

  const xelhost::ImageFileInfo info = xelhost::InspectImageFile(dir / "pages.tif");
  EXPECT_EQ(info.width, 64u);
  EXPECT_EQ(info.height, 32u);
  EXPECT_EQ(info.frames, 5u);
  EXPECT_EQ(info.DecodedBytes(), 5u * 4096u);

  // More pages than any file may have: refused once the limit is passed, not after reading them all.
  WriteBytes(dir / "many.tif", SharedStripTiff(xelhost::kMaxImageFrames + 5, 1, 1, 1, {9}));
  EXPECT_NE(ErrorOf([&] { xelhost::InspectImageFile(dir / "many.tif"); }).find("more than 65535 pages"),
            std::string::npos);
}

TEST(HostileImageFiles, ManyPagesAreReadInOneOrderlyPass) {
  ScratchDir dir;
  WriteBytes(dir / "pages.tif", SharedStripTiff(20000, 1, 1, 1, {9}));
  // A hang guard rather than a timing: reading each page from the first one again took minutes.
  const Image image = xelhost::ReadImageFile(dir / "pages.tif", ReadLimits{1 << 20, 20000});
  ASSERT_EQ(image.Frames(), 20000u);
  EXPECT_EQ(image.GetComponent(0, 0, 0, 19999), 9u);
}

TEST(HostileImageFiles, OnlyRegularFilesAreReadAndTheMessageNamesThePath) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.png");
  for (const std::filesystem::path& path : {dir / "fifo.png", dir / "folder.png", std::filesystem::path("/dev/zero")}) {
    const std::string message = ErrorOf([&] { xelhost::ReadImageFile(path); });
    EXPECT_EQ(message.rfind(path.string() + ":", 0), 0u) << message;
    EXPECT_THROW(xelhost::ImageFileReader{path}, ImageIoError);
  }
  // A large file that is not an image is refused from its first bytes, however large it is.
  { std::ofstream sparse(dir / "big.png"); }
  std::filesystem::resize_file(dir / "big.png", std::uintmax_t{3} << 30);
  EXPECT_NE(ErrorOf([&] { xelhost::ReadImageFile(dir / "big.png"); }).find("not a PNG"), std::string::npos);
}

TEST(ImageFileReader, ReadsOnePageAtATimeFromTheFileItOpenedOnce) {
  ScratchDir dir;
  Image pages(8, 4, PixelLayout::Grey(12, 16), 3);
  for (UINT f = 0; f < 3; ++f) pages.SetComponent(1, 2, 0, 100 * (f + 1), f);
  xelhost::WriteImageFile(pages, dir / "pages.tif");

  // Each frame counts against the limit on its own.
  xelhost::ImageFileReader reader(dir / "pages.tif", ReadLimits{8 * 4 * 2, 3});
  EXPECT_EQ(reader.FrameInfo().width, 8u);
  std::filesystem::remove(dir / "pages.tif");  // the reader holds the file open
  for (UINT f = 0; f < 3; ++f) {
    const std::optional<Image> frame = reader.Next();
    ASSERT_TRUE(frame.has_value()) << f;
    EXPECT_EQ(frame->Frames(), 1u);
    EXPECT_EQ(frame->GetImgBPC(), 12u);
    EXPECT_EQ(frame->GetComponent(1, 2, 0), 100 * (f + 1));
  }
  EXPECT_FALSE(reader.Next().has_value());

  xelhost::WriteImageFile(pages, dir / "again.tif");
  xelhost::ImageFileReader limited(dir / "again.tif", ReadLimits{1 << 20, 2});
  EXPECT_TRUE(limited.Next().has_value());
  EXPECT_TRUE(limited.Next().has_value());
  EXPECT_THROW(limited.Next(), ImageIoError);
}

TEST(ImageFileWrite, WhatTheFileCannotHoldIsRefusedFromTheShapeAlone) {
  ScratchDir dir;
  const auto shape = [](UINT width, UINT height, UINT frames, const PixelLayout& layout) {
    return xelhost::ImageFileInfo{width, height, frames, layout};
  };
  const PixelLayout rgb = PixelLayout::Colour(8, 3);
  EXPECT_NO_THROW(xelhost::CheckImageFileWritable(shape(1000000, 1, 1, rgb), dir / "wide.png"));
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(1000001, 1, 1, rgb), dir / "wide.png"), ImageIoError);
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(2, 2, 2, rgb), dir / "pages.png"), ImageIoError);
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(2, 2, 1, rgb), dir / "colour.pgm"), ImageIoError);
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(2, 2, 70000, rgb), dir / "pages.tif"), ImageIoError);
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(2, 2, 1, rgb), dir / "missing" / "a.tif"), ImageIoError);
  EXPECT_THROW(xelhost::CheckImageFileWritable(shape(2, 2, 1, rgb), dir / "a.bmp"), ImageIoError);
  EXPECT_TRUE(dir.Entries().empty());
}
