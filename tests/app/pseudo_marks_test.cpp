// xelimg pseudo --mark: the areas' outlines and a cross around each hottest pixel, white on dark
// colours and black on bright ones, and nothing else of the picture changed.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <set>
#include <utility>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

TEST(PseudoMarks, OutlinesAndTheHottestPixelsCrossOnly) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // Dark everywhere but one hot pixel in each half.
  Image scene(40, 20, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < 20; ++y)
    for (UINT x = 0; x < 40; ++x) scene.SetComponent(x, y, 0, 10 + x % 7);
  scene.SetComponent(8, 9, 0, 200);
  scene.SetComponent(30, 12, 0, 180);
  xelhost::WriteImageFile(scene, dir / "scene.pgm");
  ExpectSuccess(RunXelimg({"pseudo", (dir / "scene.pgm").string(), (dir / "plain.png").string()}));
  ExpectSuccess(RunXelimg({"pseudo", (dir / "scene.pgm").string(), (dir / "marked.png").string(), "--mark", "--aoi",
                           "left=0,0,20,20", "--aoi", "24,5,12,12"}));
  const Image plain = xelhost::ReadImageFile(dir / "plain.png");
  const Image marked = xelhost::ReadImageFile(dir / "marked.png");

  std::set<std::pair<UINT, UINT>> drawn;
  const auto outline = [&](UINT left, UINT top, UINT right, UINT bottom) {
    for (UINT x = left; x <= right; ++x) drawn.insert({{x, top}, {x, bottom}});
    for (UINT y = top; y <= bottom; ++y) drawn.insert({{left, y}, {right, y}});
  };
  outline(0, 0, 19, 19);
  outline(24, 5, 35, 16);
  for (const auto& [hx, hy] : {std::pair{8u, 9u}, std::pair{30u, 12u}}) {
    for (UINT d = 2; d < 6; ++d) {
      drawn.insert({{hx - d, hy}, {hx + d, hy}});
      if (hy >= d) drawn.insert({hx, hy - d});
      if (hy + d < 20) drawn.insert({hx, hy + d});
    }
  }
  for (UINT y = 0; y < 20; ++y) {
    for (UINT x = 0; x < 40; ++x) {
      const UINT brightness = plain.GetComponent(x, y, 0) + plain.GetComponent(x, y, 1) + plain.GetComponent(x, y, 2);
      for (UINT c = 0; c < 3; ++c) {
        if (drawn.count({x, y})) {
          ASSERT_EQ(marked.GetComponent(x, y, c), brightness > 3 * 255 / 2 ? 0u : 255u) << x << "," << y;
        } else {
          ASSERT_EQ(marked.GetComponent(x, y, c), plain.GetComponent(x, y, c)) << x << "," << y;
        }
      }
    }
  }
  ExpectFailure(RunXelimg({"pseudo", (dir / "scene.pgm").string(), (dir / "x.png").string(), "--aoi", "0,0,2,2"}),
                "--mark");
  ExpectFailure(
      RunXelimg({"pseudo", (dir / "scene.pgm").string(), (dir / "x.png").string(), "--mark", "--aoi", "45,0,20,2"}),
      "no pixel");
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}
