// xelimg pseudo --mark: the areas' outlines, a cross around each hottest pixel and the lines, white on
// dark colours and black on bright ones, each with a label beside it; nothing else of the picture
// changed. --line-plot: a picture of the temperature along the lines.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <set>
#include <utility>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

constexpr UINT kWidth = 200;
constexpr UINT kHeight = 80;
constexpr UINT kLabelRoom = 130;  // wide enough for "right 200.0 °C" in the fixed font
constexpr UINT kLabelRows = 20;

using Pixel = std::pair<UINT, UINT>;

struct Box {
  UINT left, top, right, bottom;  // both ends included
  bool Holds(UINT x, UINT y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

class PseudoMarks : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    // Dark everywhere but one hot pixel in each area.
    Image scene(kWidth, kHeight, PixelLayout::Grey(8, 8));
    for (UINT y = 0; y < kHeight; ++y)
      for (UINT x = 0; x < kWidth; ++x) scene.SetComponent(x, y, 0, 10 + x % 7);
    scene.SetComponent(8, 9, 0, 200);
    scene.SetComponent(30, 32, 0, 180);
    xelhost::WriteImageFile(scene, m_Dir / "scene.pgm");
  }

  Image Pseudo(const std::string& out, std::vector<std::string> options) {
    std::vector<std::string> args = {"pseudo", (m_Dir / "scene.pgm").string(), (m_Dir / out).string()};
    args.insert(args.end(), options.begin(), options.end());
    const RunResult run = RunXelimg(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return xelhost::ReadImageFile(m_Dir / out);
  }

  ScratchDir m_Dir;
};

// The pixels that differ between two pictures of the same size.
std::set<Pixel> Changed(const Image& a, const Image& b) {
  std::set<Pixel> changed;
  for (UINT y = 0; y < a.Height(); ++y)
    for (UINT x = 0; x < a.Width(); ++x)
      for (UINT c = 0; c < 3; ++c)
        if (a.GetComponent(x, y, c) != b.GetComponent(x, y, c)) changed.insert({x, y});
  return changed;
}

// Black pixels and white or nearly white ones, the label's box and its text, inside a box.
std::pair<std::size_t, std::size_t> BlackAndWhite(const Image& picture, const Box& box) {
  const UINT full = (1u << picture.Layout().imgBPC) - 1;
  std::size_t black = 0, white = 0;
  for (UINT y = box.top; y <= std::min(box.bottom, picture.Height() - 1); ++y)
    for (UINT x = box.left; x <= std::min(box.right, picture.Width() - 1); ++x) {
      const UINT r = picture.GetComponent(x, y, 0), g = picture.GetComponent(x, y, 1),
                 b = picture.GetComponent(x, y, 2);
      black += r == 0 && g == 0 && b == 0;
      white += r > full * 3 / 4 && g > full * 3 / 4 && b > full * 3 / 4;  // the font's smoothed edges too
    }
  return {black, white};
}

TEST_F(PseudoMarks, OutlinesCrossesLinesAndLabelsOnly) {
  const Image plain = Pseudo("plain.png", {});
  const std::vector<std::string> marks = {
      "--mark", "--aoi", "left=0,0,20,20", "--aoi", "right=ellipse:30.5,32.5,8,6", "--line", "cut=60,70,90,40"};
  const Image marked = Pseudo("marked.png", marks);

  // Exactly these pixels are drawn: the rectangle's edge, the ellipse's edge pixels (their centres in
  // the ellipse with a neighbour's outside), the crosses and the line's pixels.
  std::set<Pixel> drawn;
  for (UINT i = 0; i < 20; ++i) drawn.insert({{i, 0}, {i, 19}, {0, i}, {19, i}});
  const auto inEllipse = [](int x, int y) {
    const double dx = (x + 0.5 - 30.5) / 8, dy = (y + 0.5 - 32.5) / 6;
    return dx * dx + dy * dy <= 1.0;
  };
  for (int y = 20; y < 45; ++y)
    for (int x = 15; x < 45; ++x)
      if (inEllipse(x, y) &&
          (!inEllipse(x - 1, y) || !inEllipse(x + 1, y) || !inEllipse(x, y - 1) || !inEllipse(x, y + 1)))
        drawn.insert({static_cast<UINT>(x), static_cast<UINT>(y)});
  for (const auto& [hx, hy] : {Pixel{8, 9}, Pixel{30, 32}})
    for (UINT d = 2; d < 6; ++d) drawn.insert({{hx - d, hy}, {hx + d, hy}, {hx, hy - d}, {hx, hy + d}});
  for (UINT i = 0; i <= 30; ++i) drawn.insert({60 + i, 70 - i});  // a diagonal: one pixel a step

  // Labels go to the right of each mark, starting at its top row.
  const std::vector<Box> labels = {{20, 0, 20 + kLabelRoom, kLabelRows},
                                   {38, 26, 38 + kLabelRoom, 26 + kLabelRows},
                                   {91, 40, 91 + kLabelRoom, 40 + kLabelRows}};
  for (const auto& [x, y] : Changed(plain, marked)) {
    const bool inLabel = std::any_of(labels.begin(), labels.end(), [&](const Box& b) { return b.Holds(x, y); });
    ASSERT_TRUE(drawn.count({x, y}) || inLabel) << "changed far from any mark: " << x << "," << y;
  }
  for (const auto& [x, y] : drawn) {
    if (std::any_of(labels.begin(), labels.end(), [&](const Box& b) { return b.Holds(x, y); })) continue;
    const UINT brightness = plain.GetComponent(x, y, 0) + plain.GetComponent(x, y, 1) + plain.GetComponent(x, y, 2);
    for (UINT c = 0; c < 3; ++c)
      ASSERT_EQ(marked.GetComponent(x, y, c), brightness > 3 * 255 / 2 ? 0u : 255u) << x << "," << y;
  }
  for (const Box& label : labels) {
    const auto [black, white] = BlackAndWhite(marked, label);
    EXPECT_GT(black, 50u) << "a dark box behind the label at " << label.left << "," << label.top;
    EXPECT_GT(white, 20u) << "white text in it";
  }

  // A 16-bit picture keeps its depth: the same pixels change, the labels' white is the full value.
  const Image plain16 = Pseudo("plain16.png", {"--bits", "16"});
  std::vector<std::string> marks16 = marks;
  marks16.insert(marks16.end(), {"--bits", "16"});
  const Image marked16 = Pseudo("marked16.png", marks16);
  ASSERT_EQ(marked16.Layout().imgBPC, 16u);
  EXPECT_EQ(Changed(plain16, marked16), Changed(plain, marked));
  EXPECT_EQ(BlackAndWhite(marked16, labels[0]), BlackAndWhite(marked, labels[0]));
}

TEST_F(PseudoMarks, ALabelNearTheEdgeStaysInThePicture) {
  // An area at the right edge has its label on its left, at its top.
  const Image plain = Pseudo("plain.png", {});
  const Image marked = Pseudo("edge.png", {"--mark", "--aoi", "edge=180,30,20,20"});
  const auto changed = Changed(plain, marked);
  ASSERT_FALSE(changed.empty());
  // The outline, the cross over the hottest pixel (181, 30) and the label, nothing above or below.
  for (const auto& [x, y] : changed) ASSERT_TRUE(y >= 25 && y < 50) << x << "," << y;
  EXPECT_GT(BlackAndWhite(marked, {180 - kLabelRoom, 30, 179, 30 + kLabelRows}).first, 50u);
}

TEST_F(PseudoMarks, LinePlotPerFrame) {
  Pseudo("out.png", {"--line", "a=0,9,60,9", "--line", "b=30,0,30,79", "--line-plot", (m_Dir / "plot.png").string()});
  const Image plot = xelhost::ReadImageFile(m_Dir / "plot.png");
  EXPECT_GE(plot.Width(), 200u);
  EXPECT_GE(plot.Height(), 150u);
  std::set<UINT> colours;
  for (UINT y = 0; y < plot.Height(); ++y)
    for (UINT x = 0; x < plot.Width(); ++x)
      colours.insert(plot.GetComponent(x, y, 0) << 16 | plot.GetComponent(x, y, 1) << 8 | plot.GetComponent(x, y, 2));
  EXPECT_GT(colours.size(), 3u) << "axes, labels and two curves on white";

  // Several frames: one plot each, numbered.
  std::filesystem::copy_file(m_Dir / "scene.pgm", m_Dir / "again.pgm");
  const RunResult run =
      RunXelimg({"pseudo", (m_Dir / "scene.pgm").string(), (m_Dir / "again.pgm").string(), (m_Dir / "frames").string(),
                 "--line", "0,0,10,10", "--line-plot", (m_Dir / "p.png").string()});
  ExpectSuccess(run);
  EXPECT_TRUE(std::filesystem::exists(m_Dir / "p-0.png"));
  EXPECT_TRUE(std::filesystem::exists(m_Dir / "p-1.png"));
}

TEST_F(PseudoMarks, RefusedBeforeAnyWork) {
  const std::string scene = (m_Dir / "scene.pgm").string(), out = (m_Dir / "x.png").string();
  ExpectFailure(RunXelimg({"pseudo", scene, out, "--aoi", "0,0,2,2"}), "--mark");
  ExpectFailure(RunXelimg({"pseudo", scene, out, "--line", "0,0,2,2"}), "--line");
  ExpectFailure(RunXelimg({"pseudo", scene, out, "--line-plot", (m_Dir / "p.png").string()}), "--line");
  for (const std::string line : {"0,0,2", "0,0,2,2,3", "a=0,0,x,2", "=0,0,2,2", "0.5,0,2,2"})
    ExpectFailure(RunXelimg({"pseudo", scene, out, "--mark", "--line", line}), "--line");
  ExpectFailure(RunXelimg({"pseudo", scene, out, "--mark", "--line", "a=0,0,1,1", "--line", "a=2,2,3,3"}), "twice");
  EXPECT_FALSE(std::filesystem::exists(out));
  // A mark outside the frame: the frame is reported and skipped.
  EXPECT_NE(RunXelimg({"pseudo", scene, out, "--mark", "--aoi", "300,0,20,2"}).exitCode, 0);
  EXPECT_NE(RunXelimg({"pseudo", scene, out, "--mark", "--line", "300,0,320,2"}).exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
