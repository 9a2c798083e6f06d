// xelimg view's status line on the area and on readings that are less certain than they look: the
// area's lowest, highest and mean pixel temperature beside the object's reading, the same numbers as
// `xelimg temperature`; a saturated grey value and an extrapolated temperature flagged.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <cmath>
#include <cstdio>
#include <sstream>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

class ViewReadout : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    // Columns 0..63 of grey 4 * x + 3: from below the calibration's first point up to 255, saturated.
    Image scene(64, 8, PixelLayout::Grey(8, 8));
    for (UINT y = 0; y < 8; ++y)
      for (UINT x = 0; x < 64; ++x) scene.SetComponent(x, y, 0, 4 * x + 3);
    xelhost::WriteImageFile(scene, m_Scene);
  }

  std::string Status(std::vector<std::string> args) {
    args.insert(args.begin(), {"view", m_Scene.string(), "--snapshot", (m_Dir / "shot.png").string(), "--no-state",
                               "--ini", Calibration()});
    const RunResult run = RunXelimg(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string status;
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("status: ", 0) == 0) status = line.substr(8);
    return status;
  }

  static std::string Calibration() { return std::string(XELIMG_SAMPLES_DIR) + "/calibration.ini"; }

  ScratchDir m_Dir;
  std::filesystem::path m_Scene = m_Dir / "scene.pgm";
};

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A number of the temperature command's JSON record.
double JsonNumber(const std::string& record, const std::string& key) {
  const std::size_t at = record.find("\"" + key + "\"");
  EXPECT_NE(at, std::string::npos) << key;
  return std::strtod(record.c_str() + record.find_first_not_of(": ", at + key.size() + 2), nullptr);
}

TEST_F(ViewReadout, TheAreasNumbersAreTheTemperatureCommands) {
  // No area chosen: the whole frame, as the command measures without --aoi.
  const RunResult run = RunXelimg({"temperature", m_Scene.string(), "--ini", Calibration(), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string status = Status({"--cursor", "20,3"});
  const std::string area = status.substr(status.find("area "));
  EXPECT_NE(area.find("min " + OneDecimal(JsonNumber(run.out, "min"))), std::string::npos) << area;
  EXPECT_NE(area.find("max " + OneDecimal(JsonNumber(run.out, "max"))), std::string::npos) << area;
  EXPECT_NE(area.find("(reading " + OneDecimal(JsonNumber(run.out, "mean_temperature")) + ")"), std::string::npos)
      << area;
  // The mean of the pixels' temperatures: under the curved calibration not the reading.
  std::vector<std::string> columns = {"temperature", m_Scene.string(), "--ini", Calibration(), "--json"};
  for (UINT x = 0; x < 64; ++x) columns.insert(columns.end(), {"--aoi", std::to_string(x) + ",0,1,1"});
  const RunResult each = RunXelimg(columns);
  ASSERT_EQ(each.exitCode, 0) << each.err;
  double sum = 0.0;
  std::istringstream records(each.out);
  for (std::string record; std::getline(records, record);) sum += JsonNumber(record, "max");
  EXPECT_NE(area.find("mean " + OneDecimal(sum / 64)), std::string::npos) << area;
}

TEST_F(ViewReadout, SaturatedAndExtrapolatedPixelsAreFlagged) {
  // Grey 3 / 256 lies below the first calibration point (0.05), 131 / 256 inside the span, 255 at the
  // top of 8 bits and beyond the last point (0.95).
  const auto pixel = [&](const std::string& cursor) {
    const std::string status = Status({"--cursor", cursor});
    return status.substr(0, status.find("   area"));
  };
  const std::string low = pixel("0,0"), middle = pixel("32,0"), top = pixel("63,0");
  EXPECT_NE(low.find("extrapolated"), std::string::npos) << low;
  EXPECT_EQ(low.find("saturated"), std::string::npos) << low;
  EXPECT_EQ(middle.find("extrapolated"), std::string::npos) << middle;
  EXPECT_EQ(middle.find("saturated"), std::string::npos) << middle;
  EXPECT_NE(top.find("grey 255 saturated"), std::string::npos) << top;
  EXPECT_NE(top.find("extrapolated"), std::string::npos) << top;
}

}  // namespace
