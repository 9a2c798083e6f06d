// xelimg pseudo --legend: the picture as it is without a legend, and beside it a bar in the colours
// the same window gives a grey ramp, the highest at the top or on the right.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <array>
#include <map>
#include <optional>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

using Colour = std::array<UINT, 3>;

Colour At(const Image& image, UINT x, UINT y) {
  return {image.GetComponent(x, y, 0), image.GetComponent(x, y, 1), image.GetComponent(x, y, 2)};
}

constexpr Colour kWhite = {255, 255, 255};

// The clipping profile has no white inside the window, so the bar stands out from the white frame.
const std::vector<std::string> kWindow = {"--profile", "4", "--lower", "0.25", "--upper", "0.75"};
constexpr UINT kLowGrey = 64;    // 0.25 of 255, rounded
constexpr UINT kHighGrey = 191;  // 0.75 of 255, rounded

std::vector<std::string> Pseudo(const std::filesystem::path& in, const std::filesystem::path& out,
                                std::vector<std::string> extra) {
  std::vector<std::string> args = {"pseudo", in.string(), out.string()};
  args.insert(args.end(), kWindow.begin(), kWindow.end());
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// What each grey value becomes: a picture of every 8-bit grey value in a row.
Image LookUpTable(const ScratchDir& dir) {
  Image ramp(256, 1, PixelLayout::Grey(8, 8));
  for (UINT g = 0; g < 256; ++g) ramp.SetComponent(g, 0, 0, g);
  xelhost::WriteImageFile(ramp, dir / "ramp.pgm");
  ExpectSuccess(RunXelimg(Pseudo(dir / "ramp.pgm", dir / "lut.png", {})));
  return xelhost::ReadImageFile(dir / "lut.png");
}

class PseudoLegend : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    Image scene(60, 90, PixelLayout::Grey(8, 8));
    for (UINT y = 0; y < scene.Height(); ++y)
      for (UINT x = 0; x < scene.Width(); ++x) scene.SetComponent(x, y, 0, (x * 4 + y) % 256);
    xelhost::WriteImageFile(scene, m_Dir / "scene.pgm");
    ExpectSuccess(RunXelimg(Pseudo(m_Dir / "scene.pgm", m_Dir / "plain.png", {})));
    m_Plain.emplace(xelhost::ReadImageFile(m_Dir / "plain.png"));
    m_Lut.emplace(LookUpTable(m_Dir));
    for (UINT g = kHighGrey + 1; g-- > kLowGrey;) m_Colours[At(*m_Lut, g, 0)] = g;
    ASSERT_EQ(m_Colours.count(kWhite), 0u) << "the bar must stand out from the frame";
  }

  Image Legend(const std::vector<std::string>& extra) {
    ExpectSuccess(RunXelimg(Pseudo(m_Dir / "scene.pgm", m_Dir / "legend.png", extra)));
    return xelhost::ReadImageFile(m_Dir / "legend.png");
  }

  void ExpectPictureAt(const Image& legend, UINT top) {
    ASSERT_GE(legend.Height(), m_Plain->Height() + top);
    for (UINT y = 0; y < m_Plain->Height(); ++y)
      for (UINT x = 0; x < m_Plain->Width(); ++x)
        ASSERT_EQ(At(legend, x, y + top), At(*m_Plain, x, y)) << x << "," << y;
  }

  // Along the bar from its high end to its low end: window colours only, grey values never rising.
  void ExpectBar(const std::vector<Colour>& fromHighToLow) {
    ASSERT_GT(fromHighToLow.size(), 10u);
    EXPECT_EQ(fromHighToLow.front(), At(*m_Lut, kHighGrey, 0));
    EXPECT_EQ(fromHighToLow.back(), At(*m_Lut, kLowGrey, 0));
    UINT previous = 255;
    for (const Colour& colour : fromHighToLow) {
      ASSERT_EQ(m_Colours.count(colour), 1u) << colour[0] << "," << colour[1] << "," << colour[2];
      EXPECT_LE(m_Colours.at(colour), previous);
      previous = m_Colours.at(colour);
    }
  }

  ScratchDir m_Dir;
  std::optional<Image> m_Plain;
  std::optional<Image> m_Lut;
  std::map<Colour, UINT> m_Colours;  // of the window: colour -> the lowest grey value that has it
};

TEST_F(PseudoLegend, RightBarHasTheWindowsColoursHighestAtTheTop) {
  const Image legend = Legend({"--legend", "right"});
  ExpectPictureAt(legend, 0);
  const UINT middle = m_Plain->Height() / 2;
  UINT barX = m_Plain->Width();
  while (barX < legend.Width() && At(legend, barX, middle) == kWhite) ++barX;
  ASSERT_LT(barX, legend.Width());
  UINT top = 0;
  while (At(legend, barX, top) == kWhite) ++top;
  UINT bottom = legend.Height() - 1;
  while (At(legend, barX, bottom) == kWhite) --bottom;
  std::vector<Colour> bar;
  for (UINT y = top; y <= bottom; ++y) bar.push_back(At(legend, barX + 1, y));
  ExpectBar(bar);
}

TEST_F(PseudoLegend, BottomBarHighestOnTheRightUnderATitle) {
  const Image legend = Legend({"--legend", "bottom", "--title",
                               "Scene \xC2\xB0"
                               "C"});
  UINT titleRows = 0;
  while (At(legend, 0, titleRows) == kWhite) ++titleRows;  // the scene's corner is not white
  ExpectPictureAt(legend, titleRows);
  UINT barY = titleRows + m_Plain->Height();
  const UINT centre = legend.Width() / 2;
  while (barY < legend.Height() && At(legend, centre, barY) == kWhite) ++barY;
  ASSERT_LT(barY, legend.Height());
  UINT left = 0;
  while (At(legend, left, barY) == kWhite) ++left;
  UINT right = legend.Width() - 1;
  while (At(legend, right, barY) == kWhite) --right;
  std::vector<Colour> bar;
  for (UINT x = right + 1; x-- > left;) bar.push_back(At(legend, x, barY + 1));
  ExpectBar(bar);
}

TEST_F(PseudoLegend, SixteenBitPicturesKeepTheirUnitsAndOptionsAreChecked) {
  ExpectSuccess(RunXelimg(Pseudo(m_Dir / "scene.pgm", m_Dir / "plain16.png", {"--bits", "16"})));
  const Image plain = xelhost::ReadImageFile(m_Dir / "plain16.png");
  const Image legend = Legend({"--legend", "right", "--bits", "16"});
  for (UINT y = 0; y < plain.Height(); ++y)
    for (UINT x = 0; x < plain.Width(); ++x) ASSERT_EQ(At(legend, x, y), At(plain, x, y));
  ExpectFailure(RunXelimg(Pseudo(m_Dir / "scene.pgm", m_Dir / "x.png", {"--legend", "left"})), "right nor bottom");
  ExpectFailure(RunXelimg(Pseudo(m_Dir / "scene.pgm", m_Dir / "x.png", {"--title", "T"})), "--legend");
  EXPECT_FALSE(std::filesystem::exists(m_Dir / "x.png"));
}

}  // namespace
