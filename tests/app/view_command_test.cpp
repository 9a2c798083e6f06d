// xelimg view without a display: what the snapshot of the screen shows after N frames, and the
// inputs it refuses before any window opens.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <ostream>
#include <set>
#include <tuple>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

struct Rgb {
  UINT r, g, b;
  bool operator==(const Rgb&) const = default;
  bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb At(const Image& shot, UINT x, UINT y) {
  return {shot.GetComponent(x, y, 0), shot.GetComponent(x, y, 1), shot.GetComponent(x, y, 2)};
}

constexpr Rgb kDesktop{0, 128, 128};
constexpr Rgb kButtonFace{212, 208, 200};
constexpr Rgb kHighlight{255, 255, 255};
constexpr Rgb kActiveCaption{10, 36, 106};
constexpr Rgb kInactiveCaption{128, 128, 128};

// Where the viewer lays its windows out (outer top-left corners), and the image window's client
// area: 480 x 360 of picture and an 18-pixel status line inside a 4-pixel sizing frame and a 19-pixel
// caption.
struct Placed {
  const char* name;
  UINT x, y;
};
constexpr Placed kImageWindow{"image window", 8, 8};
constexpr Placed kDialogs[] = {{"Pseudo color", 504, 8}, {"Scale", 868, 8}, {"Temperature", 8, 426}};
constexpr UINT kClientLeft = 12, kClientTop = 31, kClientWidth = 480, kClientHeight = 360;

Image Snapshot(const ScratchDir& dir, std::vector<std::string> inputs, UINT frames) {
  const auto shot = dir / ("shot-" + std::to_string(frames) + ".png");
  inputs.insert(inputs.begin(), "view");
  inputs.insert(inputs.end(), {"--snapshot", shot.string(), "--frames", std::to_string(frames)});
  const auto run = RunXelimg(inputs);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return xelhost::ReadImageFile(shot);
}

Rgb PictureMiddle(const Image& shot) {
  return At(shot, kClientLeft + kClientWidth / 2, kClientTop + kClientHeight / 2);
}

bool Near(const Rgb& a, const Rgb& b) {
  const auto close = [](UINT u, UINT v) { return (u > v ? u - v : v - u) <= 2; };
  return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

// The classic frame: light edge, white highlight inside it, then the caption's first colour (a
// narrow caption's gradient has moved on by a step or two a few pixels in).
void ExpectWindowAt(const Image& shot, const Placed& window, const Rgb& caption) {
  SCOPED_TRACE(window.name);
  EXPECT_EQ(At(shot, window.x, window.y), kButtonFace);
  EXPECT_EQ(At(shot, window.x + 1, window.y + 1), kHighlight);
  EXPECT_PRED2(Near, At(shot, window.x + 6, window.y + 6), caption);
  EXPECT_EQ(At(shot, window.x - 1, window.y + 40), kDesktop) << "something left of the window";
}

Image Grey8(UINT value, UINT frames = 1) {
  Image image(64, 48, PixelLayout::Grey(8, 8), frames);
  for (UINT frame = 0; frame < frames; ++frame) {
    for (UINT y = 0; y < 48; ++y) {
      for (UINT x = 0; x < 64; ++x) image.SetComponent(x, y, 0, value + frame * 128, frame);
    }
  }
  return image;
}

}  // namespace

TEST(ViewSnapshot, DemoPictureWithTheThreeDialogsBesideIt) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const Image shot = Snapshot(dir, {}, 5);
  ASSERT_EQ(shot.Width(), 1024u);
  ASSERT_EQ(shot.Height(), 768u);

  // The image window is the active one (its keys drive playback); the dialogs stand beside it.
  ExpectWindowAt(shot, kImageWindow, kActiveCaption);
  for (const Placed& dialog : kDialogs) {
    ExpectWindowAt(shot, dialog, kInactiveCaption);
    EXPECT_EQ(At(shot, dialog.x + 8, dialog.y + 32), kButtonFace) << dialog.name << ": dialog body";
  }

  // A pseudo-coloured thermal picture fills the client area: many colours, no background left.
  std::set<Rgb> colours;
  for (UINT y = kClientTop; y < kClientTop + kClientHeight; y += 6) {
    for (UINT x = kClientLeft; x < kClientLeft + kClientWidth; x += 6) {
      const Rgb c = At(shot, x, y);
      ASSERT_NE(c, kDesktop) << x << ", " << y;
      ASSERT_NE(c, (Rgb{32, 32, 32})) << "the window's background shows at " << x << ", " << y;
      colours.insert(c);
    }
  }
  EXPECT_GT(colours.size(), 50u);
}

TEST(ViewSnapshot, DemoMovesFromFrameToFrame) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const Image first = Snapshot(dir, {}, 1);
  const Image later = Snapshot(dir, {}, 30);
  UINT changed = 0, samples = 0;
  for (UINT y = kClientTop; y < kClientTop + kClientHeight; y += 8) {
    for (UINT x = kClientLeft; x < kClientLeft + kClientWidth; x += 8, ++samples)
      changed += At(first, x, y) != At(later, x, y);
  }
  EXPECT_GT(changed, samples / 4) << "the spot moved and auto contrast followed: most of the picture changes";
}

TEST(ViewSnapshot, PlaysFilesAndTiffPagesInNameOrder) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto sequence = dir / "sequence";
  std::filesystem::create_directory(sequence);
  // Named so that the directory listing would not give name order by chance.
  xelhost::WriteImageFile(Grey8(255, 2), sequence / "b.tif");  // pages 255 and 383 & 255 = 127
  xelhost::WriteImageFile(Grey8(0), sequence / "a.pgm");
  xelimg_test::WriteText(sequence / "notes.txt", "not an image");

  // Profile 0 runs from black at the lowest grey value to white at the highest.
  EXPECT_EQ(PictureMiddle(Snapshot(dir, {sequence.string()}, 1)), (Rgb{0, 0, 0}));
  EXPECT_EQ(PictureMiddle(Snapshot(dir, {sequence.string()}, 2)), (Rgb{255, 255, 255}));
  const Rgb third = PictureMiddle(Snapshot(dir, {sequence.string()}, 3));
  EXPECT_NE(third, (Rgb{0, 0, 0}));
  EXPECT_NE(third, (Rgb{255, 255, 255}));
  // After the last frame the sequence starts again.
  EXPECT_EQ(PictureMiddle(Snapshot(dir, {sequence.string()}, 4)), (Rgb{0, 0, 0}));
}

TEST(ViewSnapshot, RefusesBadInputWithOneLineAndNoPicture) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image colour(8, 8, PixelLayout::Colour(8, 3));
  xelhost::WriteImageFile(colour, dir / "colour.png");
  std::filesystem::create_directory(dir / "empty");
  const std::string shot = (dir / "shot.png").string();
  const struct {
    std::vector<std::string> args;
    std::string mention;
  } cases[] = {
      {{"view", (dir / "missing.png").string(), "--snapshot", shot}, "missing.png"},
      {{"view", (dir / "colour.png").string(), "--snapshot", shot}, "greyscale"},
      {{"view", (dir / "empty").string(), "--snapshot", shot}, "empty"},
      {{"view", "--snapshot", shot, "--frames", "0"}, "--frames"},
      {{"view", "--snapshot", shot, "--frames", "many"}, "many"},
      {{"view", "--frames", "3"}, "--snapshot"},
      {{"view", "--snapshot", (dir / "shot.jpg").string()}, ".png"},
      {{"view", "--snapshot", (dir / "no-such-dir" / "shot.png").string()}, "no-such-dir"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    ExpectFailure(RunXelimg(c.args), c.mention);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"colour.png", "empty"}));
}
