// xelimg pseudo --isotherm: exactly the pixels whose temperature (as `temperature` reads it) lies in
// a band get its colour, every other pixel is the plain picture's, at any depth and into any output.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

constexpr UINT kSide = 16;  // a 16 x 16 frame: every 8-bit grey value once

struct Colour {
  UINT red, green, blue;
};

// A band as given on the command line and as the numbers it reads as.
struct Band {
  std::string text;
  double low, high;
  Colour colour;
};

class PseudoIsotherm : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    Image scene(kSide, kSide, PixelLayout::Grey(8, 8));
    for (UINT y = 0; y < kSide; ++y)
      for (UINT x = 0; x < kSide; ++x) scene.SetComponent(x, y, 0, y * kSide + x);
    xelhost::WriteImageFile(scene, m_Dir / "scene.pgm");
    m_Temperatures = PixelTemperatures();
  }

  // Every pixel's temperature as `xelimg temperature` reports it: the maximum of its own 1 x 1 area.
  std::vector<double> PixelTemperatures() {
    std::vector<std::string> args = {"temperature", Scene(), "--ini", Calibration(), "--json"};
    for (UINT y = 0; y < kSide; ++y)
      for (UINT x = 0; x < kSide; ++x)
        args.insert(args.end(), {"--aoi", std::to_string(x) + "," + std::to_string(y) + ",1,1"});
    const RunResult run = RunXelimg(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<double> temperatures;
    for (std::size_t at = run.out.find("\"max\""); at != std::string::npos; at = run.out.find("\"max\"", at + 1)) {
      const std::size_t value = run.out.find_first_not_of(": ", at + 5);
      temperatures.push_back(run.out.compare(value, 4, "null") == 0 ? std::nan("")
                                                                    : std::strtod(run.out.c_str() + value, nullptr));
    }
    EXPECT_EQ(temperatures.size(), std::size_t{kSide * kSide});
    return temperatures;
  }

  std::string Scene() const { return (m_Dir / "scene.pgm").string(); }
  static std::string Calibration() { return std::string(XELIMG_SAMPLES_DIR) + "/calibration.ini"; }

  Image Pseudo(const std::string& out, std::vector<std::string> options) {
    std::vector<std::string> args = {"pseudo", Scene(), (m_Dir / out).string(), "--ini", Calibration()};
    args.insert(args.end(), options.begin(), options.end());
    const RunResult run = RunXelimg(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return xelhost::ReadImageFile(m_Dir / out);
  }

  // The band between the temperatures of grey values low and high, its ends halfway to the neighbours'
  // temperatures so that rounding cannot decide which pixel is in it.
  Band Between(UINT low, UINT high, Colour colour, bool givesColour = true) const {
    const auto middle = [&](UINT a, UINT b) { return std::to_string((m_Temperatures[a] + m_Temperatures[b]) / 2); };
    const std::string lowText = middle(low - 1, low), highText = middle(high, high + 1);
    char hex[16];
    std::snprintf(hex, sizeof hex, ":#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return {lowText + ":" + highText + (givesColour ? hex : ""), std::stod(lowText), std::stod(highText), colour};
  }

  // Pixels whose temperature lies in one of the bands (the later one where they overlap) have its
  // colour, scaled to the picture's depth; all others are the plain picture's.
  void ExpectPainted(const Image& painted, const Image& plain, const std::vector<Band>& bands) const {
    ASSERT_EQ(painted.Width(), plain.Width());
    const UINT full = (1u << painted.Layout().imgBPC) - 1;
    std::size_t inBands = 0;
    for (UINT grey = 0; grey < kSide * kSide; ++grey) {
      const UINT x = grey % kSide, y = grey / kSide;
      const Colour* colour = nullptr;
      for (const Band& band : bands) {
        if (m_Temperatures[grey] >= band.low && m_Temperatures[grey] <= band.high) colour = &band.colour;
      }
      inBands += colour != nullptr;
      const UINT expected[3] = {colour ? colour->red * full / 255 : plain.GetComponent(x, y, 0),
                                colour ? colour->green * full / 255 : plain.GetComponent(x, y, 1),
                                colour ? colour->blue * full / 255 : plain.GetComponent(x, y, 2)};
      for (UINT c = 0; c < 3; ++c) ASSERT_EQ(painted.GetComponent(x, y, c), expected[c]) << "grey " << grey;
    }
    if (!bands.empty()) {
      EXPECT_GT(inBands, 0u);
    }
  }

  ScratchDir m_Dir;
  std::vector<double> m_Temperatures;
};

TEST_F(PseudoIsotherm, PaintsExactlyThePixelsInTheBand) {
  const Image plain = Pseudo("plain.png", {});
  const Band green = Between(100, 140, {0, 255, 128});
  ExpectPainted(Pseudo("band.png", {"--isotherm", green.text}), plain, {green});
  // Without a colour, one the profile lacks: magenta for the first profile, cyan for the third.
  const Band magenta = Between(20, 30, {255, 0, 255}, false);
  ExpectPainted(Pseudo("magenta.png", {"--isotherm", magenta.text}), plain, {magenta});
  const Band cyan = Between(20, 30, {0, 255, 255}, false);
  ExpectPainted(Pseudo("cyan.png", {"--profile", "2", "--isotherm", cyan.text}),
                Pseudo("plain2.png", {"--profile", "2"}), {cyan});
  // Where bands overlap, the later one wins.
  const Band red = Between(50, 120, {255, 0, 0}), blue = Between(100, 200, {0, 0, 255});
  ExpectPainted(Pseudo("two.png", {"--isotherm", red.text, "--isotherm", blue.text}), plain, {red, blue});
  // A band no pixel reaches leaves the picture as it was.
  ExpectPainted(Pseudo("none.png", {"--isotherm", "500:600"}), plain, {});
}

TEST_F(PseudoIsotherm, EveryDepthAndOutputKind) {
  const Band band = Between(60, 90, {0x10, 0x20, 0x30});
  const Image plain16 = Pseudo("plain16.png", {"--bits", "16"});
  ASSERT_EQ(plain16.Layout().imgBPC, 16u);
  ExpectPainted(Pseudo("band16.png", {"--bits", "16", "--isotherm", band.text}), plain16, {band});
  const Image plain = Pseudo("plain.png", {});
  ExpectPainted(Pseudo("band.tif", {"--isotherm", band.text}), plain, {band});

  // The same frame at 16 bits, its grey values scaled up: the same temperatures, the same pixels.
  Image wide(kSide, kSide, PixelLayout::Grey(16, 16));
  for (UINT y = 0; y < kSide; ++y)
    for (UINT x = 0; x < kSide; ++x) wide.SetComponent(x, y, 0, (y * kSide + x) << 8);
  xelhost::WriteImageFile(wide, m_Dir / "wide.png");
  const auto run = [&](const std::string& out, std::vector<std::string> extra) {
    std::vector<std::string> args = {"pseudo", (m_Dir / "wide.png").string(), (m_Dir / out).string(), "--ini",
                                     Calibration()};
    args.insert(args.end(), extra.begin(), extra.end());
    ExpectSuccess(RunXelimg(args));
    return xelhost::ReadImageFile(m_Dir / out);
  };
  ExpectPainted(run("wide-band.png", {"--isotherm", band.text}), run("wide-plain.png", {}), {band});
}

TEST_F(PseudoIsotherm, TheLegendShowsTheBands) {
  const Image legend = Pseudo("legend.png", {"--legend", "right", "--isotherm", Between(100, 140, {0, 255, 128}).text});
  const Image plain = Pseudo("plain-legend.png", {"--legend", "right"});
  EXPECT_GT(legend.Height(), plain.Height()) << "a line of key for the band";
  std::size_t outside = 0;  // band-coloured pixels beside the picture: in the bar and the key's swatch
  for (UINT y = 0; y < legend.Height(); ++y)
    for (UINT x = kSide; x < legend.Width(); ++x)
      outside += legend.GetComponent(x, y, 0) == 0 && legend.GetComponent(x, y, 1) == 255 &&
                 legend.GetComponent(x, y, 2) == 128;
  EXPECT_GT(outside, 20u);
}

TEST_F(PseudoIsotherm, RefusedBeforeAnyWork) {
  const std::string out = (m_Dir / "out.png").string();
  ExpectFailure(RunXelimg({"pseudo", Scene(), out, "--isotherm", "20:30"}), "--ini");
  for (const std::string band : {"20", "30:20", "20:30:#12345", "20:30:red", "20:x", "nan:30", "20:30:#GG0000"})
    ExpectFailure(RunXelimg({"pseudo", Scene(), out, "--ini", Calibration(), "--isotherm", band}), "--isotherm");
  ExpectFailure(RunXelimg({"view", Scene(), "--snapshot", out, "--isotherm", "20:30"}), "--ini");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
