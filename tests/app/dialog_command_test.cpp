// xelimg dialog: pictures of the three dialogs, and refusals that leave no file behind.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

constexpr UINT kCaption = 19;  // caption bar height below the top frame

struct Rgb {
  UINT r, g, b;
};
Rgb PixelAt(const Image& image, UINT x, UINT y) {
  return {image.GetComponent(x, y, 0), image.GetComponent(x, y, 1), image.GetComponent(x, y, 2)};
}

// Pixels below the caption whose channels lie far apart: the colours of a profile, not the greys
// and the pale blues of the window frame.
std::size_t VividPixels(const Image& image) {
  std::size_t count = 0;
  for (UINT y = kCaption + 4; y < image.Height(); ++y) {
    for (UINT x = 0; x < image.Width(); ++x) {
      const Rgb p = PixelAt(image, x, y);
      count += std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 100;
    }
  }
  return count;
}

// Dark pixels: text, glyphs, outlines.
std::size_t DarkPixels(const Image& image) {
  std::size_t count = 0;
  for (UINT y = kCaption + 4; y < image.Height(); ++y) {
    for (UINT x = 0; x < image.Width(); ++x) {
      const Rgb p = PixelAt(image, x, y);
      count += p.r + p.g + p.b < 3 * 64;
    }
  }
  return count;
}

struct Picture {
  const char* dialog;
  std::vector<std::string> extra;
  // Template size in dialog units (6 x 13 base units) plus frame and caption, worked out by hand.
  UINT width, height;
  bool showsProfile;
};

// Test names show the dialog; gtest's default would print the struct's bytes, padding and all.
void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.dialog; }

class DialogPictureTest : public testing::TestWithParam<Picture> {};

TEST_P(DialogPictureTest, WritesTheDialogWindowAtItsSizeWithItsContent) {
  REQUIRE_PLUGIN();
  const Picture& p = GetParam();
  ScratchDir dir;
  std::vector<std::string> args = {"dialog", p.dialog, "demo:", "--out", (dir / "dialog.png").string()};
  args.insert(args.end(), p.extra.begin(), p.extra.end());
  const auto run = RunXelimg(args);
  ExpectSuccess(run);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"dialog.png"}) << "no temporary left beside it";

  const Image picture = xelhost::ReadImageFile(dir / "dialog.png");
  EXPECT_EQ(picture.Width(), p.width);
  EXPECT_EQ(picture.Height(), p.height);
  if (p.showsProfile) {
    EXPECT_GT(VividPixels(picture), 1000u) << "the colour profile is drawn";
  }
  EXPECT_GT(DarkPixels(picture), 400u) << "texts are drawn";
}

INSTANTIATE_TEST_SUITE_P(
    ThreeDialogs, DialogPictureTest,
    testing::Values(Picture{"pseudo", {}, 348 + 6, 310 + 6 + kCaption, true},  // 232 x 191, modal frame
                    Picture{"scale", {}, 116 + 6, 478 + 6 + kCaption, true},   // 77 x 294, halves rounded up
                    Picture{"temperature",
                            {"--ini", XELIMG_SAMPLES_DIR "/calibration.ini"},
                            266 + 8,
                            68 + 8 + kCaption,
                            false}),  // 177 x 42, sizing frame
    [](const testing::TestParamInfo<Picture>& test) { return std::string(test.param.dialog); });

TEST(DialogCommand, ProfileAndInputReachThePicture) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image ramp(64, 8, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < 8; ++y)
    for (UINT x = 0; x < 64; ++x) ramp.SetComponent(x, y, 0, x * 4);
  xelhost::WriteImageFile(ramp, dir / "ramp.pgm");

  const auto run = RunXelimg({"dialog", "pseudo", (dir / "ramp.pgm").string(), "--profile", "grey", "--auto",
                              "contrast", "--out", (dir / "grey.png").string()});
  ExpectSuccess(run);
  const Image grey = xelhost::ReadImageFile(dir / "grey.png");
  EXPECT_EQ(VividPixels(grey), 0u) << "slider bar and preview in the grey wedge";
}

TEST(DialogCommand, RefusalsExitWithOneLineAndWriteNothing) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const std::string out = (dir / "out.png").string();
  xelhost::WriteImageFile(Image(8, 8, PixelLayout::Colour(8, 3)), dir / "colour.png");
  struct Refusal {
    std::vector<std::string> args;
    std::string mention;
  };
  const std::vector<Refusal> refusals = {
      {{"dialog", "--out", out}, "pseudo, scale or temperature"},
      {{"dialog", "histogram", "--out", out}, "histogram"},
      {{"dialog", "pseudo", "demo:"}, "--out"},
      {{"dialog", "pseudo", "--out", out}, "demo:"},
      {{"dialog", "pseudo", "demo:", "--out", out, "--epsilon", "0.5"}, "--epsilon"},
      {{"dialog", "temperature", "demo:", "--out", out, "--profile", "1"}, "--profile"},
      {{"dialog", "scale", "demo:", "--out", out, "--auto", "sometimes"}, "sometimes"},
      {{"dialog", "pseudo", "demo:", "--out", out, "--profile", "no such profile"}, "no such profile"},
      {{"dialog", "pseudo", (dir / "missing.png").string(), "--out", out}, "missing.png"},
      {{"dialog", "temperature", (dir / "colour.png").string(), "--out", out}, "greyscale"},
      {{"dialog", "temperature", "demo:", "--out", out, "--ini", (dir / "missing.ini").string()}, "missing.ini"},
      {{"dialog", "scale", "demo:", "--out", (dir / "no-dir" / "out.png").string()}, "no-dir"},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.args.back());
    ExpectFailure(RunXelimg(refusal.args), refusal.mention);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"colour.png"});
  }
}

}  // namespace
