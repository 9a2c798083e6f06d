// One calibration behind every value: the framework's calibrated unit converter agrees with the
// temperature object, and the pseudo-colour dialogs show what it says.
#include "hosted_dialog.h"

#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelhost/CalibrationFile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The sample camera's parabola, in Kelvin scaled so that the object's one printed decimal carries
// every digit of its double.
const std::string kCalibration =
    "[Temperature display]\n"
    "Point_0=0.05,253.15\nPoint_1=0.20,283.15\nPoint_2=0.40,318.15\nPoint_3=0.60,348.15\nPoint_4=0.80,373.15\n"
    "Point_5=0.95,393.15\nEpsilon=0.95\nBgTempKelvin=293.15\nKelvinToUnitOfs=0\nKelvinToUnitMult=1e12\n";

TEST(CalibratedUnitTest, ConverterAgreesWithTheTemperatureObjectOnEveryGreyValue) {
  const xelfw::TemperatureCalibration calibration =
      xelhost::ParseCalibration(kCalibration, "calibration", "Temperature display");
  xelfw::ProcessingHost host(plugin_host::Library(), XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  xelfw::IniStore store;
  calibration.WriteTo(store, "Temperature display");
  xelfw::IniContext context(store, "Temperature display");
  ASSERT_EQ(host.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), XIP_OK);

  xelfw::UnitConverter converter;
  converter.SetCalibration(calibration);
  xelfw::Image pixel(1, 1, xelfw::PixelLayout::Grey(16, 16));
  host.SetSource(&pixel);
  for (UINT grey = 0; grey <= 0xFFFF; ++grey) {
    pixel.SetComponent(0, 0, 0, grey);
    ASSERT_EQ(host.Process(), XIP_OK);
    char field[64] = "";
    host.Object().GetLogFieldContent(field, sizeof field, 0, 1);
    const double expected = converter.GreyToUnit(grey, 65535.0);
    ASSERT_NEAR(std::stod(field), expected, std::fabs(expected) * 1e-9) << "grey " << grey;
  }
}

constexpr int kLowerValue = 7007, kUpperValue = 7006, kMinWidth = 7028, kScaleUnit = 7019;

// An 8-bit frame tells the object its source's grey span; then the window 0.25 .. 0.75 and the
// minimum width enabled.
void ProcessOneFrameWithAWindow(hosted_dialog::HostedDialog& dialog) {
  xelfw::Image source(4, 1, xelfw::PixelLayout::Grey(8, 8));
  xelfw::Image destination(4, 1, xelfw::PixelLayout::Colour(8, 3));
  dialog.host->SetImage(0, &source);
  dialog.host->SetImage(1, &destination);
  ASSERT_EQ(dialog.host->Process(0), XIP_OK);
  dialog.host->SetImage(0, nullptr);
  dialog.host->SetImage(1, nullptr);
  plugin_host::Settings settings = plugin_host::GetSettings(dialog.host.object);
  plugin_host::Write(settings, plugin_host::kLower, 0.25);
  plugin_host::Write(settings, plugin_host::kUpper, 0.75);
  plugin_host::Write(settings, plugin_host::kAutoContrastMinWidthEnable, 1u);
  ASSERT_EQ(plugin_host::SetSettings(dialog.host.object, settings), XIP_OK);
  winui::PumpMessages();
}

double MinWidth(const hosted_dialog::HostedDialog& dialog) {
  return plugin_host::Read<double>(plugin_host::GetSettings(dialog.host.object), 64);
}

// The linear unit, 20 .. 200 over the grey range: a tenth of it is 18 degrees wide.
TEST(LinearDialogTest, WidthEditsSpeakWidths) {
  hosted_dialog::HostedDialog pseudo{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0};
  ProcessOneFrameWithAWindow(pseudo);
  EXPECT_EQ(pseudo.Text(kMinWidth), "18.00");
  pseudo.Type(kMinWidth, "36");
  EXPECT_NEAR(MinWidth(pseudo), 0.2, 1e-12);
  pseudo.Type(kMinWidth, "18.00");
  EXPECT_NEAR(MinWidth(pseudo), 0.1, 1e-12);
}

// 8-bit source, the line 0 .. 100 degrees over the normalised grey value: grey g reads 100 g / 256.
class CalibratedDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto calibration = xelhost::ParseCalibration("[t]\nPoint_0=0,273.15\nPoint_1=1,373.15\nUnitDesc=K-ish\n",
                                                       "calibration", "Temperature display");
    pseudo.host.record.SetUnitCalibration(calibration);
    scale.host.record.SetUnitCalibration(calibration);
    ProcessOneFrameWithAWindow(pseudo);
    ProcessOneFrameWithAWindow(scale);
  }

  hosted_dialog::HostedDialog pseudo{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0};
  hosted_dialog::HostedDialog scale{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1};
};
TEST_F(CalibratedDialogTest, BoundsShowTheCalibratedTemperaturesOfTheWindowsEnds) {
  // 0.25 · 255 = 63.75 → 100 · 63.75 / 256; 0.75 · 255 = 191.25 → 100 · 191.25 / 256.
  EXPECT_EQ(pseudo.Text(kLowerValue), "24.90 K-ish");
  EXPECT_EQ(pseudo.Text(kUpperValue), "74.71 K-ish");
  EXPECT_EQ(scale.Text(kScaleUnit), "K-ish");
}

TEST_F(CalibratedDialogTest, WidthEditsSpeakWidths) {
  // The default minimum width 0.1 of the grey range: 25.5 grey values, 9.96 degrees wide.
  EXPECT_EQ(pseudo.Text(kMinWidth), "9.96");
  pseudo.Type(kMinWidth, "20");
  EXPECT_NEAR(MinWidth(pseudo), 51.2 / 255.0, 1e-9);
}

}  // namespace
