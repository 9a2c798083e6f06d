// What a reading says beyond its mean: counts of doubtful pixels, the pixels' own mean, line
// profiles, differences of areas and areas read from a file, against counts made here pixel by pixel.
#include <xelhost/AreaStatistics.h>
#include <xelhost/area_delta.h>
#include <xelhost/area_option.h>
#include <xelhost/errors.h>
#include <xelhost/line_profile.h>
#include <xelhost/pixel_line.h>
#include <xelhost/temperature_report.h>

#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::AreaStatistics;
using xelhost::MeasurementArea;
using xelimg_test::ScratchDir;

// The calibration points span the normalised grey values 0.25 to 0.75: grey 64 to 192 of 256.
xelfw::TemperatureCalibration SpanCalibration() {
  xelfw::TemperatureCalibration c;
  c.a0 = 250.0;
  c.a1 = 100.0;
  c.a2 = 40.0;
  c.points = {{0.25, 277.5}, {0.5, 310.0}, {0.75, 347.5}};
  return c;
}

// Grey x * 17 + y * 5 wrapped at 256: every class of pixel somewhere, the saturated value included.
Image Ramp(UINT width, UINT height) {
  Image image(width, height, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < height; ++y)
    for (UINT x = 0; x < width; ++x) image.SetComponent(x, y, 0, (x * 17 + y * 5) % 256);
  image.SetComponent(3, 2, 0, 255);
  return image;
}

TEST(Readings, CountsAndThePixelsMeanAgreeWithAPixelByPixelCount) {
  const Image image = Ramp(40, 30);
  const xelfw::TemperatureCalibration c = SpanCalibration();
  const MeasurementArea area{"disc", xelhost::ParseShape("ellipse:12,11,9.5,7")};
  const AreaStatistics s = xelhost::MeasureAreas(image, {&area, 1}, c).at(0);

  std::size_t pixels = 0, saturated = 0, below = 0, above = 0;
  double sum = 0.0;
  UINT left = 40, right = 0, top = 30, bottom = 0;
  for (UINT y = 0; y < 30; ++y) {
    for (UINT x = 0; x < 40; ++x) {
      const double dx = (x + 0.5 - 12) / 9.5, dy = (y + 0.5 - 11) / 7;
      if (dx * dx + dy * dy > 1.0) continue;
      const UINT grey = image.GetComponent(x, y, 0);
      ++pixels;
      saturated += grey == 255;
      below += grey / 256.0 < 0.25;
      above += grey / 256.0 > 0.75;
      sum += *c.Temperature(grey / 256.0);
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(s.pixels, pixels);
  EXPECT_EQ(s.saturated, saturated);
  EXPECT_GT(saturated, 0u);
  EXPECT_EQ(s.belowCalibration, below);
  EXPECT_EQ(s.aboveCalibration, above);
  EXPECT_EQ(s.unavailable, 0u);
  EXPECT_NEAR(*s.mean, sum / static_cast<double>(pixels), 1e-9 * std::abs(*s.mean));
  EXPECT_EQ(s.bounds.left, left);
  EXPECT_EQ(s.bounds.top, top);
  EXPECT_EQ(s.bounds.width, right - left + 1);
  EXPECT_EQ(s.bounds.height, bottom - top + 1);

  // Without points the default line has no span to leave.
  const AreaStatistics plain = xelhost::MeasureAreas(image, {&area, 1}, {}).at(0);
  EXPECT_EQ(plain.belowCalibration + plain.aboveCalibration, 0u);
  EXPECT_EQ(plain.saturated, saturated);
}

TEST(Readings, TheTextLineNamesEveryCountThatIsNotZero) {
  const Image image = Ramp(40, 30);
  const MeasurementArea area{"box", xelhost::RectangleShape{0, 0, 40, 30}};
  const AreaStatistics s = xelhost::MeasureAreas(image, {&area, 1}, SpanCalibration()).at(0);
  const xelhost::TemperatureReading reading{s.meanGrey, "1.000", "50.0",
                                            "\xC2\xB0"
                                            "C"};
  testing::internal::CaptureStdout();
  xelhost::PrintAreaReading({area, reading, s, true}, {0, "ramp", 0, false}, xelhost::ReportFormat::kText);
  const std::string line = testing::internal::GetCapturedStdout();
  EXPECT_NE(line.find("temperature 50.0 \xC2\xB0"
                      "C (of the mean grey), pixels' mean "),
            std::string::npos)
      << line;
  EXPECT_NE(line.find("; " + std::to_string(s.saturated) + " saturated"), std::string::npos) << line;
  EXPECT_NE(line.find("; " + std::to_string(s.belowCalibration + s.aboveCalibration) + " beyond the calibration (" +
                      std::to_string(s.belowCalibration) + " below, " + std::to_string(s.aboveCalibration) + " above)"),
            std::string::npos)
      << line;
  EXPECT_EQ(line.find("without a temperature"), std::string::npos) << line;
}

TEST(Readings, LineSamplesAreBresenhamsPixelsCutAtTheFrame) {
  const Image image = Ramp(20, 10);
  const xelfw::TemperatureCalibration c = SpanCalibration();
  const xelhost::ProfileLine line{"cut", -3, 12, 17, 1};
  const std::vector<xelhost::LinePixel> pixels = xelhost::LinePixels(-3, 12, 17, 1);
  const xelhost::LineProfile profile = xelhost::MeasureLine(image, line, c);
  std::size_t next = 0;
  double lowest = INFINITY, highest = -INFINITY, sum = 0.0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i].x < 0 || pixels[i].y < 0 || pixels[i].x >= 20 || pixels[i].y >= 10) continue;
    ASSERT_LT(next, profile.samples.size());
    const xelhost::LineSample& sample = profile.samples[next++];
    EXPECT_EQ(sample.index, i);
    EXPECT_EQ(sample.x, pixels[i].x);
    EXPECT_EQ(sample.y, pixels[i].y);
    EXPECT_EQ(sample.grey, image.GetComponent(sample.x, sample.y, 0));
    const double t = *c.Temperature(sample.grey / 256.0);
    EXPECT_EQ(*sample.temperature, t);
    lowest = std::min(lowest, t), highest = std::max(highest, t), sum += t;
  }
  EXPECT_EQ(next, profile.samples.size());
  EXPECT_EQ(profile.pixels, next);
  EXPECT_GT(profile.samples.front().index, 0u);
  EXPECT_EQ(*profile.min, lowest);
  EXPECT_EQ(*profile.max, highest);
  EXPECT_NEAR(*profile.mean, sum / static_cast<double>(next), 1e-9 * std::abs(sum / static_cast<double>(next)));

  EXPECT_THROW(xelhost::MeasureLine(image, {"out", 20, 0, 25, 9}, c), std::invalid_argument);
  EXPECT_EQ(xelhost::LineText(xelhost::ParseLine("-3,12,17,1")), "line:-3,12,17,1");
  for (const char* bad : {"1,2,3", "1,2,3,4,5", "1,2,3,x", "1.5,2,3,4", ""})
    EXPECT_THROW(xelhost::ParseLine(bad), xelhost::UsageError) << bad;
}

xelhost::Arguments Options(std::initializer_list<std::pair<std::string, std::vector<std::string>>> options) {
  xelhost::Arguments::OptionValues values;
  for (const auto& [name, texts] : options) values[name] = texts;
  return xelhost::Arguments(values, {});
}

TEST(Readings, DeltasNameTwoAreasEvenWhenNamesHoldADash) {
  const std::vector<MeasurementArea> areas = {{"hot-spot", xelhost::RectangleShape{0, 0, 2, 2}},
                                              {"spot", xelhost::RectangleShape{2, 0, 2, 2}},
                                              {"hot", xelhost::RectangleShape{0, 2, 2, 2}}};
  const auto deltas = xelhost::ParseDeltas(Options({{"delta", {"hot-spot-spot", "spot-hot"}}}), areas);
  ASSERT_EQ(deltas.size(), 2u);
  EXPECT_EQ(deltas[0].first, 0u);
  EXPECT_EQ(deltas[0].second, 1u);
  EXPECT_EQ(deltas[1].name, "spot-hot");
  EXPECT_THROW(xelhost::ParseDeltas(Options({{"delta", {"hot-cold"}}}), areas), xelhost::UsageError);

  const Image image = Ramp(4, 4);
  const std::vector<AreaStatistics> s = xelhost::MeasureAreas(image, areas, SpanCalibration());
  const xelhost::DeltaValues d = xelhost::MeasureDelta(s[0], s[1]);
  EXPECT_EQ(*d.mean, *s[0].mean - *s[1].mean);
  EXPECT_EQ(*d.max, s[0].hottest->temperature - s[1].hottest->temperature);
  EXPECT_EQ(*d.min, s[0].coldest->temperature - s[1].coldest->temperature);
}

TEST(Readings, AnAreasFileAddsToTheOptionsAndNamesTheLineOfAMistake) {
  const ScratchDir dir;
  const auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
    return (dir / name).string();
  };
  const std::string good = write("good.txt", "# areas of the scene\n\n  disc=ellipse:10,10,4,4\r\nspot:3,3\n");
  const std::vector<MeasurementArea> areas = xelhost::ParseAreas(Options({{"aoi", {"1,1,2,2"}}, {"areas", {good}}}));
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0].name, "aoi1");
  EXPECT_EQ(areas[1].name, "disc");
  EXPECT_EQ(xelhost::ShapeKindName(areas[1].shape), "ellipse");
  EXPECT_EQ(areas[2].name, "aoi3");

  const std::string bad = write("bad.txt", "disc=ellipse:10,10,4,4\n# fine\nhot=ellipse:1,2\n");
  try {
    xelhost::ParseAreas(Options({{"areas", {bad}}}));
    ADD_FAILURE() << "read";
  } catch (const xelhost::UsageError& error) {
    EXPECT_NE(std::string(error.what()).find(bad + ":3: "), std::string::npos) << error.what();
  }
  const std::string twice = write("twice.txt", "disc=spot:1,1\n");
  EXPECT_THROW(xelhost::ParseAreas(Options({{"aoi", {"disc=1,1,2,2"}}, {"areas", {twice}}})), xelhost::UsageError);
  EXPECT_THROW(xelhost::ParseAreas(Options({{"areas", {(dir / "missing.txt").string()}}})), xelhost::CommandError);
}

}  // namespace
