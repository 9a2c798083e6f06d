// xelimg pseudo: greyscale files in, RGB files out, nothing out on failure.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

// 256 x 1: every 8-bit grey value once, left to right.
std::filesystem::path WriteRamp(const ScratchDir& dir) {
  Image ramp(256, 1, PixelLayout::Grey(8, 8));
  for (UINT x = 0; x < 256; ++x) ramp.SetComponent(x, 0, 0, x);
  const auto file = dir / "ramp.pgm";
  xelhost::WriteImageFile(ramp, file);
  return file;
}

}  // namespace

TEST(PseudoCommand, GreyWedgeMapsTheRampOntoGreysFromBlackToWhite) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteRamp(dir);
  ExpectSuccess(RunXelimg({"pseudo", in.string(), (dir / "wedge.png").string(), "--profile", "grey"}));
  const Image out = xelhost::ReadImageFile(dir / "wedge.png");
  ASSERT_EQ(out.GetNumComponents(), 3u);
  ASSERT_EQ(out.GetMemBPC(), 8u);
  UINT previous = 0;
  for (UINT x = 0; x < 256; ++x) {
    const UINT red = out.GetComponent(x, 0, 0);
    EXPECT_EQ(out.GetComponent(x, 0, 1), red) << x;
    EXPECT_EQ(out.GetComponent(x, 0, 2), red) << x;
    EXPECT_GE(red, previous) << x;
    previous = red;
  }
  EXPECT_EQ(out.GetComponent(0, 0, 0), 0u);
  EXPECT_EQ(out.GetComponent(255, 0, 0), 255u);
}

TEST(PseudoCommand, WindowClampsValuesOutsideTheBounds) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteRamp(dir);
  ExpectSuccess(RunXelimg({"pseudo", in.string(), (dir / "window.tif").string(), "--profile", "1", "--lower", "0.25",
                           "--upper", "0.75", "--bits", "16", "--threads", "2"}));
  const Image out = xelhost::ReadImageFile(dir / "window.tif");
  ASSERT_EQ(out.GetMemBPC(), 16u);
  EXPECT_EQ(out.GetComponent(10, 0, 0), 0u) << "below the window: the first colour";
  EXPECT_EQ(out.GetComponent(245, 0, 0), 65535u) << "above the window: the last colour";
  EXPECT_GT(out.GetComponent(128, 0, 0), 0u);
  EXPECT_LT(out.GetComponent(128, 0, 0), 65535u);
}

TEST(PseudoCommand, DemoSceneIsAnInputByName) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto run = RunXelimg({"pseudo", "demo:", (dir / "demo.png").string(), "--auto", "contrast", "--log"});
  ExpectSuccess(run);
  EXPECT_NE(run.err.find("Entering CXelPseudoColorClass::Process"), std::string::npos) << run.err;
  const Image out = xelhost::ReadImageFile(dir / "demo.png");
  EXPECT_EQ(out.Width(), 320u);
  EXPECT_EQ(out.Height(), 240u);
}

TEST(PseudoCommand, EveryPageOfATiffIsConverted) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image pages(8, 4, PixelLayout::Grey(16, 16), 2);
  for (UINT y = 0; y < 4; ++y)
    for (UINT x = 0; x < 8; ++x) pages.SetComponent(x, y, 0, 65535, 1);  // page 0 black, page 1 white
  xelhost::WriteImageFile(pages, dir / "pages.tif");
  ExpectSuccess(RunXelimg({"pseudo", (dir / "pages.tif").string(), (dir / "out.tif").string(), "--profile", "grey"}));
  const Image out = xelhost::ReadImageFile(dir / "out.tif");
  ASSERT_EQ(out.Frames(), 2u);
  EXPECT_EQ(out.GetComponent(3, 2, 1, 0), 0u);
  EXPECT_EQ(out.GetComponent(3, 2, 1, 1), 255u);

  ExpectFailure(RunXelimg({"pseudo", (dir / "pages.tif").string(), (dir / "one.png").string()}), ".tif");
  EXPECT_FALSE(std::filesystem::exists(dir / "one.png"));
}

TEST(PseudoCommand, BadInputsLeaveNoOutputFile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto out = dir / "out.png";
  xelimg_test::WriteBytes(dir / "broken.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
  ExpectFailure(RunXelimg({"pseudo", (dir / "broken.png").string(), out.string()}), "broken.png");
  ExpectFailure(RunXelimg({"pseudo", (dir / "absent.pgm").string(), out.string()}), "absent.pgm");

  xelhost::WriteImageFile(Image(4, 4, PixelLayout::Colour(8, 3)), dir / "colour.png");
  ExpectFailure(RunXelimg({"pseudo", (dir / "colour.png").string(), out.string()}), "greyscale");
  ExpectFailure(RunXelimg({"pseudo", WriteRamp(dir).string(), (dir / "out.pgm").string()}), "colour");
  ExpectFailure(RunXelimg({"pseudo", "demo:", out.string(), "--profile", "rainbow"}), "Grey wedge");
  ExpectFailure(RunXelimg({"pseudo", "demo:", out.string(), "--profile", "9"}), "no profile 9");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"broken.png", "colour.png", "ramp.pgm"}));
}

// A forgotten output name must not turn the input into the output.
TEST(PseudoCommand, OneOperandIsAUsageErrorThatTouchesNoFile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto ramp = WriteRamp(dir);
  const auto before = xelimg_test::ReadBytes(ramp);
  ExpectFailure(RunXelimg({"pseudo", ramp.string()}), "the output");
  ExpectFailure(RunXelimg({"pseudo", (dir / "motor.png").string()}), "the output");
  EXPECT_EQ(xelimg_test::ReadBytes(ramp), before);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"ramp.pgm"}));
}

// 8-bit grey x reads 100 x / 256 degrees; the window 20..60 degrees starts after grey 51.2 and ends
// at grey 153.6.
TEST(PseudoCommand, RangeInACalibratedUnitClampsBelowAndAbove) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  xelimg_test::WriteText(dir / "cal.ini", "[Temperature display]\nPoint_0=0,273.15\nPoint_1=1,373.15\n");
  const auto run = RunXelimg({"pseudo", WriteRamp(dir).string(), (dir / "out.png").string(), "--profile", "grey",
                              "--ini", (dir / "cal.ini").string(), "--range", "20:60"});
  ExpectSuccess(run);
  const Image out = xelhost::ReadImageFile(dir / "out.png");
  for (UINT x = 0; x <= 51; ++x) EXPECT_EQ(out.GetComponent(x, 0, 0), 0u) << "colder than 20 at grey " << x;
  EXPECT_GT(out.GetComponent(52, 0, 0), 0u);
  EXPECT_LT(out.GetComponent(153, 0, 0), 255u);
  for (UINT x = 154; x < 256; ++x) EXPECT_EQ(out.GetComponent(x, 0, 0), 255u) << "hotter than 60 at grey " << x;

  // Equal ends are a threshold.
  ExpectSuccess(RunXelimg({"pseudo", WriteRamp(dir).string(), (dir / "step.png").string(), "--profile", "grey",
                           "--lower", "0.5", "--upper", "0.5"}));
  const Image step = xelhost::ReadImageFile(dir / "step.png");
  EXPECT_EQ(step.GetComponent(127, 0, 0), 0u);
  EXPECT_EQ(step.GetComponent(128, 0, 0), 255u);
}

TEST(PseudoCommand, AnAutomaticWindowNotFoundIsWarnedAboutAndExitsOne) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // Levels that contradict each other: the object finds no window and keeps the one it had.
  xelimg_test::WriteText(dir / "levels.ini",
                         "[Pseudo color lut]\nAutoContrastMinLevel=0.9\nAutoContrastMaxLevel=0.1\n");
  const auto run = RunXelimg({"pseudo", WriteRamp(dir).string(), (dir / "out.png").string(), "--settings",
                              (dir / "levels.ini").string(), "--auto", "contrast"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("ramp.pgm: no automatic window"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::exists(dir / "out.png")) << "the picture is still written";
}
