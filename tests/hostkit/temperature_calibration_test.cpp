// Calibration files as users write them, and the calibrated unit converter.
#include <xelfw/TemperatureCalibration.h>
#include <xelfw/UnitConverter.h>
#include <xelhost/CalibrationFile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string kSection = "Temperature display";

xelfw::TemperatureCalibration Parse(const std::string& text) {
  return xelhost::ParseCalibration(text, "cal.ini", kSection);
}

// The refusal's message, or "accepted".
std::string Refusal(const std::string& text) {
  try {
    Parse(text);
    return "accepted";
  } catch (const xelhost::CalibrationError& error) {
    return error.what();
  }
}

TEST(CalibrationFileTest, ReadsPointsAndKeysInEveryEncodingUsersSave) {
  const std::string body = "[Temperature display]\r\nPoint_0=0,273.15\r\nPoint_1= 1 , 373.15 \r\nEpsilon=0.9\r\n";
  for (const std::string& text : {body + "UnitDesc=\xC2\xB0"
                                         "C\r\n",  // UTF-8
                                  "\xEF\xBB\xBF" + body +
                                      "UnitDesc=\xC2\xB0"
                                      "C\r\n",  // with a byte-order mark
                                  body + "UnitDesc=\xB0"
                                         "C\r\n"}) {  // Windows-1252
    const xelfw::TemperatureCalibration c = Parse(text);
    EXPECT_EQ(c.unitDesc,
              "\xB0"
              "C");
    EXPECT_DOUBLE_EQ(c.a1, 100.0);
    EXPECT_DOUBLE_EQ(c.a0, 273.15);
    EXPECT_EQ(c.epsilon, 0.9);
  }
  // A file's only section is the calibration, whatever its name; no points is the default line.
  const xelfw::TemperatureCalibration plain = Parse("[camera]\nEpsilon=1\n");
  EXPECT_EQ(plain.a1, 180.0);
  EXPECT_TRUE(plain.points.empty());
}

TEST(CalibrationFileTest, RefusesWhatCannotBeReadAsMeantNamingTheLine) {
  const std::string head = "[Temperature display]\n";
  const std::string two = head + "Point_0=0.1,280\nPoint_1=0.9,380\n";
  EXPECT_EQ(Refusal(two), "accepted");
  const struct {
    std::string text, mention;
  } cases[] = {
      {head + "Point_0=0.05;253.15\nPoint_1=0.9,380\n", "cal.ini:2: Point_0"},
      {head + "Point_0=0,05,253,15\nPoint_1=0.9,380\n", "cal.ini:2: Point_0"},
      {head + "Point_0=0.05,253.15,7\nPoint_1=0.9,380\n", "two numbers"},
      {head + "Point_0=0.05,inf\nPoint_1=0.9,380\n", "finite"},
      {head + "Point_0=0.1,280\nPoint_1=0.5,300\nPoint_3=0.9,380\n", "cal.ini:4: Point_3 follows a gap: Point_2"},
      {head + "Point_0=0.1,280\nPoint_1=0.5,300\npoint_1=0.9,380\n",
       "cal.ini:4: point_1 given twice (first on line 3)"},
      {head + "Point_0=0.1,280\n", "one calibration point"},
      {head + "Point_0=0.5,280\nPoint_1=0.5,380\n", "same grey value"},
      {head + "Point_0=0.5,280\nPoint_1=0.5000001,281\nPoint_2=0.5000002,282\n", "ill-conditioned"},
      {head + "Point_0=1.5,280\nPoint_1=0.9,380\n", "outside 0..1"},
      {head + "Point_0=0.1,-3\nPoint_1=0.9,380\n", "above 0"},
      {two + "Epsilon=2\n", "cal.ini:4: Epsilon 2 lies outside (0, 1]"},
      {two + "Epsilon=0\n", "Epsilon"},
      {two + "BgTempKelvin=-1\n", "BgTempKelvin"},
      {two + "BgTempKelvin=nan\n", "BgTempKelvin"},
      {two + "KelvinToUnitMult=0\n", "KelvinToUnitMult"},
      {two + "UnitDesc=\xE2\x84\x83\n", "Windows-1252"},  // the single-character degree Celsius sign
      {two + "Lower=0.2\n", "cal.ini:4: 'Lower' is not a calibration key"},
      {"[Pseudo color lut]\nLower=0.2\n[Other]\nx=1\n", "no [Temperature display] section"},
      {"[Pseudo color lut]\nLower=0.2\nUpper=0.8\n", "'Lower' is not a calibration key"},
  };
  for (const auto& [text, mention] : cases) {
    const std::string refusal = Refusal(text);
    EXPECT_NE(refusal.find(mention), std::string::npos) << text << "\n-> " << refusal;
  }
}

TEST(CalibrationFileTest, ReadsTheSyntaxOfTheSettingsStoreStrictly) {
  // The same lines the settings files follow: a lone CR ends a line, a section or key given twice is
  // refused by line, an empty section name is an error.
  const xelfw::TemperatureCalibration mac =
      Parse("[Temperature display]\rPoint_0=0,273.15\rPoint_1=1,373.15\rEpsilon=0.5\r");
  EXPECT_EQ(mac.epsilon, 0.5);
  EXPECT_DOUBLE_EQ(mac.a1, 100.0);
  EXPECT_NE(Refusal("[Temperature display]\rEpsilon=0.5\repsilon=0.9\r")
                .find("cal.ini:3: epsilon given twice (first on line 2)"),
            std::string::npos);
  EXPECT_NE(Refusal("[Temperature display]\nEpsilon=0.5\n[temperature display]\nEpsilon=0.9\n")
                .find("cal.ini:3: section [temperature display] given twice (first on line 1)"),
            std::string::npos);
  EXPECT_NE(Refusal("[]\nEpsilon=0.5\n").find("cal.ini:1: empty section name"), std::string::npos);
  EXPECT_NE(Refusal("Epsilon=0.5\n").find("cal.ini:1: key 'Epsilon' before the first section"), std::string::npos);
}

TEST(CalibrationFileTest, ReadsRegularFilesOnly) {
  std::string pattern = (std::filesystem::temp_directory_path() / "xelhost_calibration_XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  const std::filesystem::path fifo = dir / "fifo.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO without a writer would wait for ever and /dev/zero never ends: both are refused unread.
  for (const std::filesystem::path& path : {fifo, dir, std::filesystem::path("/dev/zero")}) {
    try {
      xelhost::ReadCalibrationFile(path, kSection);
      ADD_FAILURE() << path << " is read";
    } catch (const xelhost::CalibrationError& error) {
      EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
    }
  }
  std::ofstream(dir / "cal.ini") << "[Temperature display]\nPoint_0=0,273.15\nPoint_1=1,373.15\n";
  EXPECT_DOUBLE_EQ(xelhost::ReadCalibrationFile(dir / "cal.ini", kSection).a1, 100.0);
  std::filesystem::remove_all(dir);
}

TEST(CalibrationFileTest, ParabolaThroughThreePointsIsTheLeastSquaresOne) {
  // y = 300 + 50 x + 20 x^2 at x = 0, 0.5, 1.
  const auto c = Parse("[t]\nPoint_0=0,300\nPoint_1=0.5,330\nPoint_2=1,370\n");
  EXPECT_NEAR(c.a0, 300.0, 1e-9);
  EXPECT_NEAR(c.a1, 50.0, 1e-9);
  EXPECT_NEAR(c.a2, 20.0, 1e-9);
}

TEST(CalibrationFileTest, TemperatureFollowsTheObjectsConversion) {
  xelfw::TemperatureCalibration c;
  EXPECT_DOUBLE_EQ(*c.Temperature(0.5), 110.0);  // the default line: 293.15 + 90 K
  c.epsilon = 0.5;
  EXPECT_DOUBLE_EQ(*c.Temperature(0.0), 20.0);  // apparent equals background: no correction
  c.a0 = 250.0;
  c.a1 = 0.0;
  c.epsilon = 0.1;
  c.bgTempKelvin = 400.0;
  EXPECT_FALSE(c.Temperature(0.0)) << "a negative fourth power has no temperature";
}

class CalibratedConverterTest : public testing::Test {
 protected:
  void SetUp() override {
    // 20 .. 200 degrees over a 12-bit source, the same line the linear default draws.
    converter.SetCalibration(Parse("[t]\nPoint_0=0,293.15\nPoint_1=1,473.15\nUnitDesc=K\n"));
  }
  static constexpr double kSpan = 4095.0;
  xelfw::UnitConverter converter;
};

TEST_F(CalibratedConverterTest, ValuesAreTheCalibrationsTemperatures) {
  EXPECT_DOUBLE_EQ(converter.GreyToUnit(2048.0, kSpan), 20.0 + 180.0 * 2048.0 / 4096.0);
  EXPECT_STREQ(converter.GetUnitText(), "K");
  converter.SetUnitText(
      "\xB0"
      "C");
  EXPECT_STREQ(converter.GetUnitText(), "K") << "the object's linear unit does not override the calibration";
  char text[64];
  converter.FormatValue(2048.0, kSpan, text, sizeof text, XI_FORMAT_NUMBER_AND_UNIT, 1);
  EXPECT_STREQ(text, "110.0 K");
  converter.FormatValue(409.6, kSpan, text, sizeof text, XI_FORMAT_NUMBER, 2);
  EXPECT_STREQ(text, "18.00") << "a width";
  EXPECT_NEAR(converter.UnitToGrey(18.0, kSpan), 409.6, 1e-6);
}

TEST_F(CalibratedConverterTest, InversionClampsToTheRisingPart) {
  EXPECT_NEAR(converter.GreyAt(110.0, kSpan), 2048.0, 1e-6);
  EXPECT_EQ(converter.GreyAt(-50.0, kSpan), 0.0);
  EXPECT_NEAR(converter.GreyAt(1000.0, kSpan), kSpan, 1e-9);
  // A parabola that turns over inside the range: hotter than its top maps to the vertex.
  converter.SetCalibration(Parse("[t]\nPoint_0=0,300\nPoint_1=0.5,350\nPoint_2=1,300\n"));
  const double vertexGrey = 0.5 * (kSpan + 1.0);
  EXPECT_NEAR(converter.GreyAt(1000.0, kSpan), vertexGrey, 1e-6);
  EXPECT_NEAR(converter.GreyAt(converter.GreyToUnit(1000.0, kSpan), kSpan), 1000.0, 1e-6);
}

}  // namespace
