// A TIFF sequence from a stream that passes the 4 GiB a classic TIFF can address: written whole and
// readable, not thrown away at the limit. Minutes and gigabytes of disk, so built and run only on
// request (-DXEL_BIG_OUTPUT_TESTS=ON, ctest -L big).
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/GstFrameSource.h>
#include <xelhost/image_io.h>

#include <cstdlib>

using namespace xelimg_test;

TEST(BigOutput, AStreamIntoOneTiffPastFourGibibytesIsWrittenWholeAsABigTiff) {
  REQUIRE_PLUGIN();
  if (!xelhost::StreamsAvailable() || std::system("gst-launch-1.0 --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "built without GStreamer, or gst-launch-1.0 missing";
  }
  ScratchDir dir;
  // Noise in 16-bit colour, stored fast: about 1.84 MB a page, so 2,500 pages pass 4 GiB.
  constexpr int kFrames = 2500;
  const std::string source = "gst:videotestsrc pattern=snow num-buffers=" + std::to_string(kFrames) +
                             " ! video/x-raw,format=GRAY8,width=640,height=480";
  const auto out = dir / "run.tif";
  ExpectSuccess(RunXelimg({"pseudo", source, out.string(), "--bits", "16", "--compression", "fast", "--quiet"}));
  ASSERT_GT(std::filesystem::file_size(out), std::uintmax_t{1} << 32);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"run.tif"});
  const std::vector<unsigned char> head = [&] {
    std::vector<unsigned char> bytes(4);
    std::FILE* file = std::fopen(out.c_str(), "rb");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) {
      EXPECT_EQ(std::fread(bytes.data(), 1, 4, file), 4u);
      std::fclose(file);
    }
    return bytes;
  }();
  EXPECT_EQ(head[2] | head[3] << 8, 43) << "BigTIFF";
  xelhost::ImageFileReader reader(out);
  int pages = 0;
  while (const std::optional<xelfw::Image> page = reader.Next()) {
    ASSERT_EQ(page->Width(), 640u);
    ++pages;
  }
  EXPECT_EQ(pages, kFrames);
}
