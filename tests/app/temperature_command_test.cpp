// xelimg temperature: one reading a frame, in text or JSON.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelfw/image_io.h>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

// 8-bit, left half grey 0, right half grey 128.
std::filesystem::path WriteHalves(const ScratchDir& dir) {
  Image image(20, 10, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < 10; ++y)
    for (UINT x = 10; x < 20; ++x) image.SetComponent(x, y, 0, 128);
  const auto file = dir / "halves.pgm";
  xelfw::WriteImageFile(image, file);
  return file;
}

}  // namespace

// With the default calibration grey g of 256 levels reads 20 + 180 * g / 256 degrees Celsius.
TEST(TemperatureCommand, DefaultCalibrationInsideTheAoi) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  const auto hot = RunXelimg({"temperature", in.string(), "--aoi", "10,0,10,10"});
  ExpectSuccess(hot);
  EXPECT_EQ(hot.out, "frame 0: mean grey 128.00, epsilon 1.000, temperature 110.0 \xC2\xB0" "C\n");

  const auto whole = RunXelimg({"temperature", in.string()});
  ExpectSuccess(whole);
  EXPECT_NE(whole.out.find("mean grey 64.00"), std::string::npos) << whole.out;
  EXPECT_NE(whole.out.find("temperature 65.0 "), std::string::npos) << whole.out;
}

TEST(TemperatureCommand, EmissivityAgainstABackgroundAtTheSameTemperatureChangesNothing) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto run = RunXelimg({"temperature", WriteHalves(dir).string(), "--aoi", "0,0,10,10", "--epsilon", "0.5", "--json"});
  ExpectSuccess(run);
  EXPECT_NE(run.out.find("\"page\": 0, \"mean_grey\": 0.000000, \"epsilon\": 0.500, \"temperature\": 20.0, "
                         "\"unit\": \"\xC2\xB0" "C\"}\n"),
            std::string::npos)
      << run.out;
}

TEST(TemperatureCommand, OneLinePerTiffPageAndCalibrationFromTheSample) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image pages(4, 4, PixelLayout::Grey(16, 16), 3);
  for (UINT f = 0; f < 3; ++f)
    for (UINT y = 0; y < 4; ++y)
      for (UINT x = 0; x < 4; ++x) pages.SetComponent(x, y, 0, 10000 * (f + 1), f);
  xelfw::WriteImageFile(pages, dir / "pages.tif");
  const auto run = RunXelimg({"temperature", (dir / "pages.tif").string(), "--ini", XELIMG_SAMPLES_DIR "/calibration.ini"});
  ExpectSuccess(run);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
  EXPECT_NE(run.out.find("frame 2: mean grey 30000.00"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("N.A."), std::string::npos) << run.out;
}

TEST(TemperatureCommand, RefusalsAreReported) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "15,0,10,10"}), "inside");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "1,2,3"}), "X,Y,W,H");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--epsilon", "1.5"}), "--epsilon");
  xelimg_test::WriteText(dir / "one-point.ini", "[Temperature display]\nPoint_0=0.5,300\n");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--ini", (dir / "one-point.ini").string()}), "calibration");
  xelfw::WriteImageFile(Image(2, 2, PixelLayout::Colour(8, 3)), dir / "colour.png");
  ExpectFailure(RunXelimg({"temperature", (dir / "colour.png").string()}), "greyscale");
}

TEST(DemoCommand, WritesTheSceneAndOnePicturePerProfile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto run = RunXelimg({"demo", (dir / "out").string()});
  ExpectSuccess(run);
  const Image scene = xelfw::ReadImageFile(dir / "out" / "demo-scene.png");
  EXPECT_EQ(scene.GetImgBPC(), 16u);
  std::size_t pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
    if (entry.path().filename() == "demo-scene.png") continue;
    const Image picture = xelfw::ReadImageFile(entry.path());
    EXPECT_EQ(picture.GetNumComponents(), 3u) << entry.path();
    EXPECT_EQ(picture.Width(), scene.Width());
    ++pictures;
  }
  EXPECT_EQ(pictures, 5u);
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "demo-1-grey-wedge.png"));
}
