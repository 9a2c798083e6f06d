// Provenance records: the block form read back, SHA-256 against the standard's vectors, and records
// written into PNG, TIFF and float TIFF files as readers find them, the pixels untouched.
#include <xelhost/FloatTiffWriter.h>
#include <xelhost/file_description.h>
#include <xelhost/image_io.h>
#include <xelhost/provenance.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

using xelhost::Provenance;

std::filesystem::path FreshDir(const std::string& name) {
  const auto dir = std::filesystem::path(testing::TempDir()) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string Sha256Of(const std::string& text) {
  return xelhost::Sha256Hex({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

Provenance SampleRecord() {
  Provenance record = xelhost::StartProvenance("xelimg");
  xelhost::SetProvenanceSource(record, "frames/a=b.tif", 3, false);
  record.Set("Window", "0.25:0.75");
  record.Set("Unit",
             "\xC2\xB0"
             "C");
  return record;
}

xelfw::Image GreyRamp() {
  xelfw::Image image(16, 4, xelfw::PixelLayout::Grey(12, 16));
  for (UINT y = 0; y < 4; ++y)
    for (UINT x = 0; x < 16; ++x) image.SetComponent(x, y, 0, x * 250 + y);
  return image;
}

void ExpectSamePixels(const xelfw::Image& a, const xelfw::Image& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (UINT y = 0; y < a.Height(); ++y)
    for (UINT x = 0; x < a.Width(); ++x) EXPECT_EQ(a.GetComponent(x, y, 0), b.GetComponent(x, y, 0)) << x << "," << y;
}

TEST(Provenance, BlockReadsBackInOrderAndKeepsOneLineAField) {
  Provenance record = SampleRecord();
  record.Set("Window", "0.1:0.9\nInjected=yes");  // a second Set replaces in place, on one line
  const Provenance back = Provenance::Parse("ImageJ=1.11a\nvunit=\\u00B0C\n" + record.Block());
  ASSERT_EQ(back.Fields().size(), record.Fields().size());
  for (std::size_t i = 0; i < back.Fields().size(); ++i) {
    EXPECT_EQ(back.Fields()[i].key, record.Fields()[i].key);
    EXPECT_EQ(back.Fields()[i].value, record.Fields()[i].value);
  }
  EXPECT_EQ(*back.Find("Window"), "0.1:0.9 Injected=yes");
  EXPECT_EQ(*back.Find("Source"), "frames/a=b.tif");
  EXPECT_EQ(back.Find("vunit"), nullptr);  // another program's lines before ours are not ours
  EXPECT_EQ(back.Fields().front().key, "Software");
  EXPECT_NE(back.Fields().front().value.find("xelimg "), std::string::npos);
}

TEST(Provenance, Sha256OfTheStandardsVectorsAndOfAFile) {
  EXPECT_EQ(Sha256Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // 56 bytes: the length no longer fits the first padding block.
  EXPECT_EQ(Sha256Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Of(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

  const auto dir = FreshDir("provenance_sha");
  std::ofstream(dir / "calibration.ini") << "abc";
  EXPECT_EQ(xelhost::FileSha256Hex(dir / "calibration.ini"), Sha256Of("abc"));
  EXPECT_THROW(xelhost::FileSha256Hex(dir / "missing.ini"), std::runtime_error);
  std::filesystem::remove_all(dir);
}

TEST(Provenance, PngCarriesTheRecordAndTheSamePixels) {
  const auto dir = FreshDir("provenance_png");
  const xelfw::Image image = GreyRamp();
  const Provenance record = SampleRecord();
  xelhost::WriteImageFile(image, dir / "plain.png");
  xelhost::WriteImageFile(image, dir / "recorded.png", xelhost::ImageFileFormat::Png,
                          xelhost::ImageCompression::Default, &record);
  ExpectSamePixels(xelhost::ReadImageFile(dir / "recorded.png"), image);

  const xelhost::ImageFileDescription recorded = xelhost::DescribeImageFile(dir / "recorded.png");
  EXPECT_EQ(recorded.format, "PNG");
  EXPECT_EQ(recorded.bitsPerSample, 16u);
  EXPECT_EQ(recorded.samplesPerPixel, 1u);
  EXPECT_EQ(recorded.record.Block(), record.Block());
  EXPECT_TRUE(xelhost::DescribeImageFile(dir / "plain.png").record.Empty());

  // A stream's PNG is the same file.
  const std::vector<BYTE> encoded = xelhost::EncodePng(image, xelhost::ImageCompression::Default, &record);
  std::ifstream in(dir / "recorded.png", std::ios::binary);
  EXPECT_EQ(std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), encoded);
  std::filesystem::remove_all(dir);
}

TEST(Provenance, TiffPagesCarryTheRecordInTheirTags) {
  const auto dir = FreshDir("provenance_tiff");
  const xelfw::Image image = GreyRamp();
  const Provenance record = SampleRecord();
  {
    xelhost::TiffFileWriter writer(dir / "pages.tif", xelhost::ImageCompression::Default, 0);
    writer.Add(image, &record);
    writer.Add(image);
    writer.Commit();
  }
  const xelhost::ImageFileDescription pages = xelhost::DescribeImageFile(dir / "pages.tif");
  EXPECT_EQ(pages.format, "TIFF");
  EXPECT_EQ(pages.pages, 2u);
  EXPECT_EQ(*pages.record.Find("Source"), "frames/a=b.tif");
  EXPECT_EQ(*pages.record.Find("Unit"),
            "\xC2\xB0"
            "C");
  ASSERT_NE(pages.record.Find("DateTime"), nullptr);
  EXPECT_EQ(pages.record.Find("DateTime")->size(), 19u);  // "YYYY:MM:DD HH:MM:SS"
  ExpectSamePixels(*xelhost::ImageFileReader(dir / "pages.tif").Next(), image);
  std::filesystem::remove_all(dir);
}

TEST(Provenance, FloatMapStartsItsDescriptionAsImageJReadsIt) {
  const auto dir = FreshDir("provenance_map");
  Provenance record = SampleRecord();
  record.Set("Emissivity", "0.95");
  {
    xelhost::FloatTiffWriter writer(dir / "map.tif");
    writer.Add(2, 1, std::vector<float>{21.5f, std::numeric_limits<float>::quiet_NaN()}, &record);
    writer.Commit();
  }
  std::ifstream in(dir / "map.tif", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(bytes.find("ImageJ=1.11a\nvunit=\\u00B0C\nSoftware=xelimg "), std::string::npos);

  const xelhost::ImageFileDescription map = xelhost::DescribeImageFile(dir / "map.tif");
  EXPECT_TRUE(map.floatSamples);
  EXPECT_EQ(map.bitsPerSample, 32u);
  EXPECT_EQ(*map.record.Find("Emissivity"), "0.95");
  EXPECT_EQ(map.record.Fields().front().key, "Software");
  std::filesystem::remove_all(dir);
}

}  // namespace
