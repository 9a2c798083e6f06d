// The measurement helper and the "Temperature display" object agree on every area's reading: the
// same mean grey value, and the fields the object prints are the ones the host kit computes for the
// same pixels, to the last digit.
#include "plugin_host.h"

#include <xelfw/Aoi.h>
#include <xelhost/AreaStatistics.h>
#include <xelhost/CalibrationFile.h>
#include <xelhost/TemperatureMeter.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(AreaStatisticsObjectTest, EveryAreaMeansWhatTheObjectReads) {
  xelhost::TemperatureMeter meter(plugin_host::Library(), xelfw::HostOptions{});
  const xelfw::TemperatureCalibration calibration = xelhost::ParseCalibration(
      "[" + meter.Name() + "]\nPoint_0=0.1,260\nPoint_1=0.5,330\nPoint_2=0.9,420\nEpsilon=0.9\n", "calibration",
      meter.Name());
  meter.ImportCalibration(calibration);

  std::mt19937 random(11);
  for (const UINT bits : {8u, 12u, 16u}) {
    xelfw::Image frame(37, 23, xelfw::PixelLayout::Grey(bits, bits > 8 ? 16 : 8));
    std::uniform_int_distribution<UINT> grey(0, (1u << bits) - 1);
    for (UINT y = 0; y < frame.Height(); ++y)
      for (UINT x = 0; x < frame.Width(); ++x) frame.SetComponent(x, y, 0, grey(random));
    const std::vector<xelhost::MeasurementArea> areas = {{"whole", xelhost::RectangleShape{0, 0, 37, 23}},
                                                         {"spot", xelhost::RectangleShape{5, 7, 1, 1}},
                                                         {"strip", xelhost::RectangleShape{0, 22, 37, 1}},
                                                         {"box", xelhost::RectangleShape{10, 3, 13, 17}}};
    const std::vector<xelhost::AreaStatistics> statistics = xelhost::MeasureAreas(frame, areas, calibration);
    for (std::size_t i = 0; i < areas.size(); ++i) {
      SCOPED_TRACE(areas[i].name + " at " + std::to_string(bits) + " bits");
      const auto& r = std::get<xelhost::RectangleShape>(areas[i].shape);
      const xelfw::Aoi aoi = xelfw::Aoi::FromSize(static_cast<LONG>(r.left), static_cast<LONG>(r.top),
                                                  static_cast<LONG>(r.width), static_cast<LONG>(r.height));
      const xelhost::TemperatureReading reading = meter.Measure(frame, &aoi);
      // What a shape other than a rectangle reads must be what the object would print for its pixels.
      const xelhost::TemperatureReading computed = xelhost::ShapeReading(statistics[i], calibration);
      EXPECT_EQ(computed.meanGrey, reading.meanGrey);
      EXPECT_EQ(computed.epsilon, reading.epsilon);
      EXPECT_EQ(computed.temperature, reading.temperature);
      EXPECT_EQ(computed.unit, reading.unit);
      ASSERT_TRUE(statistics[i].temperature);
    }
  }
}

}  // namespace
