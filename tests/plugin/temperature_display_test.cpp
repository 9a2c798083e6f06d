// The temperature display object as a host sees it: INI import, one measurement a frame, log fields.
#include "plugin_host.h"

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr UINT kEpsilonField = 0;
constexpr UINT kTemperatureField = 1;
constexpr char kNotAvailable[] = "- N.A. -";

struct Point {
  double x, y;
};

std::string PointKeys(const std::vector<Point>& points) {
  std::string text;
  for (std::size_t k = 0; k < points.size(); ++k) {
    char line[96];
    std::snprintf(line, sizeof line, "Point_%zu=%.17g,%.17g\n", k, points[k].x, points[k].y);
    text += line;
  }
  return text;
}

class TemperatureDisplayTest : public ::testing::Test {
 protected:
  CXelImgProcess_0& Object() { return *m_Hosted.object; }

  UINT Import(const std::string& keys) {
    xelfw::IniStore store = xelfw::IniStore::Parse("[Temperature]\n" + keys);
    xelfw::IniContext context(store, "Temperature");
    return Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL);
  }

  // Every pixel of the source holds the same grey value, so the measured mean is exactly that value.
  UINT MeasureUniform(UINT grey, UINT imgBPC, UINT memBPC) {
    m_Source.emplace(4, 3, xelfw::PixelLayout::Grey(imgBPC, memBPC));
    for (UINT y = 0; y < 3; ++y)
      for (UINT x = 0; x < 4; ++x) m_Source->SetComponent(x, y, 0, grey);
    return Run(&*m_Source);
  }

  std::string Content(UINT field, UINT size = 64, UINT selector = 0) {
    std::string buffer(size + 1, '#');
    const UINT length = Object().GetLogFieldContent(buffer.data(), size, selector, field);
    EXPECT_EQ(buffer[size], '#') << "wrote past the buffer";
    EXPECT_EQ(length, std::string(buffer.c_str()).size());
    return buffer.c_str();
  }

  std::string HeadLine(UINT field, UINT selector = 0) {
    char buffer[64];
    const UINT length = Object().GetLogFieldHeadLine(buffer, sizeof buffer, selector, field);
    EXPECT_EQ(length, std::string(buffer).size());
    return buffer;
  }

  UINT Run(CXelImage_0* source, const CXelAoi_0* aoi = nullptr) {
    Object().SetImage(0, source);
    Object().SetAoi(0, aoi);
    return Object().Process(0);
  }

  double Temperature() { return std::stod(Content(kTemperatureField)); }

  plugin_host::HostedObject m_Hosted{XIP_OBJTYPE_TEMPERATURE_DISPLAY};
  xelfw::RecordingLogger& m_Logger = m_Hosted.logger;
  std::optional<xelfw::Image> m_Source;
};

// The fitted polynomial is seen only through readings; shifting by the expected value and magnifying the
// difference makes a relative error of 1e-9 visible in a one-decimal log field.
class TemperatureCalibrationTest : public TemperatureDisplayTest {
 protected:
  static constexpr double kMagnification = 1e7;

  // Reading at 8-bit grey value `grey` with the unit map (T - expected) * kMagnification.
  double MagnifiedError(const std::vector<Point>& points, UINT grey, double expectedKelvin) {
    char unitMap[96];
    std::snprintf(unitMap, sizeof unitMap, "KelvinToUnitOfs=%.17g\nKelvinToUnitMult=%.17g\n", -expectedKelvin,
                  kMagnification);
    EXPECT_EQ(Import(PointKeys(points) + unitMap), XIP_OK);
    EXPECT_EQ(MeasureUniform(grey, 8, 8), XIP_OK);
    return Temperature();
  }

  void ExpectPolynomial(const std::vector<Point>& points, const std::array<double, 3>& a) {
    for (UINT grey : {0u, 64u, 192u}) {
      const double g = grey / 256.0;
      const double expected = a[0] + a[1] * g + a[2] * g * g;
      EXPECT_LE(std::fabs(MagnifiedError(points, grey, expected)), 1e-9 * expected * kMagnification) << "grey " << grey;
    }
  }
};

// Least-squares parabola solved from the normal equations by Gaussian elimination in long double.
std::array<double, 3> LeastSquaresParabola(const std::vector<Point>& points) {
  long double m[3][4] = {};
  for (const Point& p : points) {
    const long double powers[3] = {1.0L, p.x, static_cast<long double>(p.x) * p.x};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) m[r][c] += powers[r] * powers[c];
      m[r][3] += powers[r] * p.y;
    }
  }
  for (int pivot = 0; pivot < 3; ++pivot)
    for (int r = 0; r < 3; ++r) {
      if (r == pivot) continue;
      const long double f = m[r][pivot] / m[pivot][pivot];
      for (int c = pivot; c < 4; ++c) m[r][c] -= f * m[pivot][c];
    }
  return {static_cast<double>(m[0][3] / m[0][0]), static_cast<double>(m[1][3] / m[1][1]),
          static_cast<double>(m[2][3] / m[2][2])};
}

TEST_F(TemperatureCalibrationTest, PointsOnAParabolaRecoverIt) {
  const auto parabola = [](double x) { return 300.0 + 50.0 * x + 20.0 * x * x; };
  ExpectPolynomial({{0.0, parabola(0.0)}, {0.5, parabola(0.5)}, {1.0, parabola(1.0)}}, {300.0, 50.0, 20.0});
  ExpectPolynomial({{0.1, parabola(0.1)},
                    {0.3, parabola(0.3)},
                    {0.35, parabola(0.35)},
                    {0.8, parabola(0.8)},
                    {0.95, parabola(0.95)}},
                   {300.0, 50.0, 20.0});
}

TEST_F(TemperatureCalibrationTest, NoisyPointsGiveTheLeastSquaresParabola) {
  const std::vector<Point> points = {{0.0, 300.3}, {0.2, 310.0}, {0.45, 327.1}, {0.7, 344.4}, {1.0, 370.1}};
  ExpectPolynomial(points, LeastSquaresParabola(points));
}

TEST_F(TemperatureCalibrationTest, TwoPointsGiveTheLineThroughBoth) {
  ExpectPolynomial({{0.0, 273.15}, {1.0, 373.15}}, {273.15, 100.0, 0.0});
  EXPECT_TRUE(m_Logger.Contains("Calculated coefficients: a0 = 273.150000, a1 = 100.000000, a2 = 0.000000"));
}

TEST_F(TemperatureCalibrationTest, NoPointsGiveTheDefaultLineAndExportedSettingsReadBack) {
  ASSERT_EQ(Import(PointKeys({{0.0, 273.15}, {1.0, 373.15}}) + "UnitDesc=Kelvin\nEpsilon=0.5\n"
                                                               "KelvinToUnitOfs=0\nKelvinToUnitMult=1\n"),
            XIP_OK);
  xelfw::IniStore saved;
  xelfw::IniContext context(saved, "Temperature");
  ASSERT_EQ(Object().GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), XIP_OK);
  EXPECT_FALSE(saved.HasKey("Temperature", "Point_0"));
  m_Logger.Clear();
  ASSERT_EQ(Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), XIP_OK);
  EXPECT_TRUE(m_Logger.Contains("Calculated coefficients: a0 = 293.150000, a1 = 180.000000, a2 = 0.000000"));
  EXPECT_EQ(HeadLine(kTemperatureField), "Temp. [Kelvin]");
  EXPECT_EQ(Content(kEpsilonField), "0.500");
}

TEST_F(TemperatureCalibrationTest, ImportsThatCannotFitChangeNothing) {
  ASSERT_EQ(Import(PointKeys({{0.0, 273.15}, {1.0, 373.15}})), XIP_OK);
  const std::vector<std::string> unusable = {
      PointKeys({{0.5, 300.0}}) + "Epsilon=0.5\n",                          // one point
      "Point_0=0.0,300\nPoint_2=1.0,400\nEpsilon=0.5\n",                    // a gap ends the list after one
      PointKeys({{0.5, 300.0}, {0.5, 310.0}}) + "Epsilon=0.5\n",            // one grey value twice
      PointKeys({{0.2, 300.0}, {0.8, 310.0}, {0.2, 305.0}, {0.8, 330.0}}),  // two distinct grey values
      PointKeys({{1e100, 300.0}, {2e100, 310.0}, {3e100, 330.0}}),          // sums overflow
  };
  for (const std::string& keys : unusable) {
    EXPECT_EQ(Import(keys), XIP_E_INCOMPLETE_IMPORT) << keys;
    ASSERT_EQ(MeasureUniform(128, 8, 8), XIP_OK);
    EXPECT_EQ(Content(kTemperatureField), "50.0") << keys;  // still the line 273.15 + 100 g, epsilon 1
    EXPECT_EQ(Content(kEpsilonField), "1.000") << keys;
  }
  EXPECT_TRUE(
      m_Logger.Contains("CXelTemperatureDisplayClass::ImportSettings: the two calibration points have the "
                        "same grey value, calibration coefficients kept"));
}

using TemperatureConversionTest = TemperatureDisplayTest;

TEST_F(TemperatureConversionTest, DefaultLineMapsHalfTheGreyRangeTo110Celsius) {
  EXPECT_EQ(Content(kTemperatureField), kNotAvailable);  // nothing measured yet
  ASSERT_EQ(MeasureUniform(128, 8, 8), XIP_OK);
  EXPECT_EQ(Content(kTemperatureField), "110.0");
  ASSERT_EQ(MeasureUniform(2048, 12, 16), XIP_OK);
  EXPECT_EQ(Content(kTemperatureField), "110.0");
  EXPECT_TRUE(m_Logger.Contains("Entering CXelTemperatureDisplayClass::Process"));
  EXPECT_TRUE(m_Logger.Contains("CXelLut::Process: exit -> success"));
}

TEST_F(TemperatureConversionTest, MeasuresOnlyInsideTheAoi) {
  m_Source.emplace(4, 1, xelfw::PixelLayout::Grey(8, 8));
  m_Source->SetComponent(0, 0, 0, 255);
  m_Source->SetComponent(1, 0, 0, 255);
  const xelfw::Aoi right = xelfw::Aoi::FromSize(2, 0, 2, 1);
  ASSERT_EQ(Run(&*m_Source, &right), XIP_OK);
  EXPECT_EQ(Content(kTemperatureField), "20.0");
}

TEST_F(TemperatureConversionTest, EmissivityCorrectsForTheBackgroundRadiation) {
  const auto readingAt = [this](const std::string& keys, UINT grey) {
    EXPECT_EQ(Import(keys), XIP_OK);
    EXPECT_EQ(MeasureUniform(grey, 8, 8), XIP_OK);
    return Content(kTemperatureField);
  };
  // (293.15^4 + (383.15^4 - 293.15^4) / 0.8)^(1/4) = 398.00446 K
  EXPECT_EQ(readingAt("Epsilon=0.8\n", 128), "124.9");
  EXPECT_EQ(readingAt("Epsilon=1\nBgTempKelvin=1000\n", 128), "110.0");
  EXPECT_EQ(readingAt("Epsilon=0.5\n", 0), "20.0");  // a surface as warm as its surroundings
  EXPECT_EQ(readingAt("KelvinToUnitOfs=-255.37222222222222\nKelvinToUnitMult=1.8\n", 128), "230.0");
  EXPECT_EQ(readingAt("Epsilon=0\n", 128), kNotAvailable);
  EXPECT_EQ(readingAt("Epsilon=1.5\n", 128), kNotAvailable);
  // Settings files may hold anything the number reader accepts; none of it gives a number shown.
  EXPECT_EQ(readingAt("Epsilon=nan\n", 128), kNotAvailable);
  EXPECT_EQ(readingAt("Epsilon=0.5\nBgTempKelvin=inf\n", 128), kNotAvailable);
  EXPECT_EQ(readingAt("KelvinToUnitMult=1e308\n", 128), kNotAvailable);
  // 400^4 + (250^4 - 400^4) / 0.1 < 0: no real surface temperature
  EXPECT_EQ(readingAt(PointKeys({{0.0, 250.0}, {1.0, 350.0}}) + "Epsilon=0.1\nBgTempKelvin=400\n", 0), kNotAvailable);
}

TEST_F(TemperatureConversionTest, FailedRunsKeepTheLastReading) {
  ASSERT_EQ(MeasureUniform(128, 8, 8), XIP_OK);
  xelfw::Image colour(2, 2, xelfw::PixelLayout::Colour(8, 3));
  EXPECT_EQ(Run(&colour), XIP_E_FORMAT);
  EXPECT_TRUE(m_Logger.Contains("Source image format XI_IMGFORMAT_CLASS_GREYSCALE expected!"));
  EXPECT_EQ(Run(nullptr), XIP_E_NOIMAGE);
  EXPECT_TRUE(m_Logger.Contains("Invalid source image"));
  EXPECT_EQ(Content(kTemperatureField), "110.0");
}

using TemperatureLogFieldTest = TemperatureDisplayTest;

TEST_F(TemperatureLogFieldTest, OnlySelectorZeroHasEpsilonAndTemperature) {
  EXPECT_EQ(Object().GetNumMaxLogFields(0), 2u);
  EXPECT_EQ(HeadLine(kEpsilonField), "Epsilon");
  EXPECT_EQ(HeadLine(kTemperatureField),
            "Temp. [\xB0"
            "C]");
  EXPECT_EQ(Content(kEpsilonField), "1.000");
  EXPECT_EQ(Object().GetNumMaxLogFields(1), 0u);
  EXPECT_EQ(HeadLine(kEpsilonField, 1), "");
  EXPECT_EQ(Content(kTemperatureField, 64, 1), "");
  EXPECT_EQ(Content(2), "");
}

TEST_F(TemperatureLogFieldTest, TextsAreCutToTheHostsBuffer) {
  EXPECT_EQ(Content(kEpsilonField, 4), "1.0");
  EXPECT_EQ(Content(kEpsilonField, 1), "");
  EXPECT_EQ(Content(kTemperatureField, 5), "- N.");
  char untouched = '#';
  EXPECT_EQ(Object().GetLogFieldContent(&untouched, 0, 0, kEpsilonField), 0u);
  EXPECT_EQ(Object().GetLogFieldHeadLine(&untouched, 0, 0, kEpsilonField), 0u);
  EXPECT_EQ(untouched, '#');
}

using TemperatureParamTest = TemperatureDisplayTest;

TEST_F(TemperatureParamTest, HostSwitchLimitsAndNullIniContext) {
  UINT limits[4] = {1, 1, 1, 1};
  EXPECT_EQ(Object().GetParamLimits(XIP_PARAM_SWITCH_ACTIVE, &limits[0], &limits[1], &limits[2], &limits[3]), XIP_OK);
  EXPECT_EQ(std::vector<UINT>(limits, limits + 4), (std::vector<UINT>{0, 0, 0, 0xFFFFFFFF}));
  EXPECT_EQ(Object().SetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
  EXPECT_EQ(Object().GetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
}

}  // namespace
