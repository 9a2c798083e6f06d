// Temperature statistics of areas, against values worked out by hand with the default calibration:
// grey g of 256 levels reads 20 + 180 * g / 256 degrees Celsius.
#include <xelhost/AreaStatistics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::AreaStatistics;
using xelhost::MeasurementArea;

namespace {

// Row by row; values are the significant grey values.
Image Frame(UINT width, const std::vector<UINT>& values, const PixelLayout& layout = PixelLayout::Grey(8, 8)) {
  const UINT height = static_cast<UINT>(values.size()) / width;
  Image image(width, height, layout);
  for (UINT i = 0; i < values.size(); ++i) image.SetComponent(i % width, i / width, 0, values[i]);
  return image;
}

AreaStatistics MeasureOne(const Image& image, const MeasurementArea& area,
                          const xelfw::TemperatureCalibration& c = {}) {
  const std::vector<AreaStatistics> results = xelhost::MeasureAreas(image, {&area, 1}, c);
  EXPECT_EQ(results.size(), 1u);
  return results.at(0);
}

TEST(AreaStatisticsTest, HandWorkedAreaWithItsHotAndColdPixel) {
  // 0 -> 20, 64 -> 65, 128 -> 110, 192 -> 155 degrees; the right column is outside the area.
  const Image image = Frame(3, {128, 0, 255,  //
                                192, 64, 255});
  const AreaStatistics s = MeasureOne(image, {"box", xelhost::RectangleShape{0, 0, 2, 2}});
  EXPECT_EQ(s.name, "box");
  EXPECT_EQ(s.pixels, 4u);
  EXPECT_EQ(s.unavailable, 0u);
  EXPECT_DOUBLE_EQ(s.meanGrey, 96.0);
  EXPECT_DOUBLE_EQ(*s.temperature, 87.5);
  ASSERT_TRUE(s.coldest && s.hottest);
  EXPECT_EQ(s.coldest->x, 1u);
  EXPECT_EQ(s.coldest->y, 0u);
  EXPECT_DOUBLE_EQ(s.coldest->temperature, 20.0);
  EXPECT_EQ(s.hottest->x, 0u);
  EXPECT_EQ(s.hottest->y, 1u);
  EXPECT_DOUBLE_EQ(s.hottest->temperature, 155.0);
  // Deviations from 87.5: +-67.5 and +-22.5, over 4 pixels.
  EXPECT_NEAR(*s.standardDeviation, std::sqrt((2 * 67.5 * 67.5 + 2 * 22.5 * 22.5) / 4), 1e-12);
}

TEST(AreaStatisticsTest, SeveralAreasTiesAndSignificantBitsAboveTheLowestBit) {
  // 12 bits at bit 4 of 16-bit units: grey 1024 of 4096 levels is 20 + 45 = 65 degrees.
  const Image image = Frame(2,
                            {1024, 1024,  //
                             0, 3072},
                            PixelLayout::Grey(12, 16, 4));
  const std::vector<MeasurementArea> areas = {{"top", xelhost::RectangleShape{0, 0, 2, 1}},
                                              {"all", xelhost::RectangleShape{0, 0, 2, 2}}};
  const std::vector<AreaStatistics> s = xelhost::MeasureAreas(image, areas, {});
  ASSERT_EQ(s.size(), 2u);
  EXPECT_DOUBLE_EQ(*s[0].temperature, 65.0);
  EXPECT_DOUBLE_EQ(*s[0].standardDeviation, 0.0);
  EXPECT_EQ(s[0].hottest->x, 0u);  // the first of equals
  EXPECT_EQ(s[0].coldest->x, 0u);
  EXPECT_DOUBLE_EQ(s[1].meanGrey, 1280.0);
  EXPECT_DOUBLE_EQ(s[1].hottest->temperature, 155.0);
  EXPECT_EQ(s[1].hottest->y, 1u);
}

TEST(AreaStatisticsTest, UnavailablePixelsAreCountedApart) {
  // With epsilon 0.5 and the background at 293.15 K an apparent temperature below
  // 293.15 * 0.5^0.25 = 246.5 K has no surface temperature.
  xelfw::TemperatureCalibration c;
  c.a0 = 100.0;
  c.a1 = 400.0;
  c.epsilon = 0.5;
  const Image image = Frame(3, {0, 128, 192});
  const AreaStatistics s = MeasureOne(image, {"", xelhost::RectangleShape{0, 0, 3, 1}}, c);
  EXPECT_EQ(s.pixels, 3u);
  EXPECT_EQ(s.unavailable, 1u);
  EXPECT_DOUBLE_EQ(s.coldest->temperature, *c.Temperature(0.5));
  EXPECT_DOUBLE_EQ(s.hottest->temperature, *c.Temperature(0.75));
  EXPECT_DOUBLE_EQ(*s.temperature, *c.Temperature(320.0 / 3 / 256));

  const AreaStatistics none = MeasureOne(image, {"", xelhost::RectangleShape{0, 0, 1, 1}}, c);
  EXPECT_EQ(none.unavailable, 1u);
  EXPECT_FALSE(none.temperature || none.coldest || none.hottest || none.standardDeviation);

  const std::vector<float> map = xelhost::TemperatureMap(image, c);
  ASSERT_EQ(map.size(), 3u);
  EXPECT_TRUE(std::isnan(map[0]));
  EXPECT_FLOAT_EQ(map[2], static_cast<float>(*c.Temperature(0.75)));
}

TEST(AreaStatisticsTest, RefusesWhatCannotBeMeasured) {
  const Image image = Frame(4, {0, 0, 0, 0, 0, 0, 0, 0});
  const auto refusal = [&](const MeasurementArea& area) {
    try {
      MeasureOne(image, area);
      return std::string("measured");
    } catch (const std::invalid_argument& error) {
      return std::string(error.what());
    }
  };
  EXPECT_NE(refusal({"spot", xelhost::RectangleShape{4, 0, 2, 1}}).find("area 'spot' has no pixel in the 4 x 2 image"),
            std::string::npos);
  EXPECT_NE(refusal({"", xelhost::RectangleShape{0, 2, 1, 1}}).find("no pixel"), std::string::npos);
  EXPECT_NE(refusal({"", xelhost::RectangleShape{0, 0, 0, 1}}).find("no pixel"), std::string::npos);
  EXPECT_THROW(xelhost::TemperatureMap(Image(2, 2, PixelLayout::Colour(8, 3)), {}), std::invalid_argument);
  EXPECT_THROW(xelhost::TemperatureMap(image, {}, 1), std::invalid_argument);
}

}  // namespace
