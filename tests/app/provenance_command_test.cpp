// What xelimg's pictures and temperature maps record of how they were made, read back by xelimg
// info and by the tools users open them with (exiftool, ImageJ, tifffile), each skipped where it is
// not installed; and a run cut off by a closed pipe leaving no temporary file behind.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/GstFrameSource.h>
#include <xelhost/file_description.h>
#include <xelhost/image_io.h>
#include <xelhost/provenance.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace xelimg_test;

namespace {

const std::string kCalibration = XELIMG_SAMPLES_DIR "/calibration.ini";
const std::string kDegrees =
    "\xC2\xB0"
    "C";

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// The standard output (and error) of a shell command line, or nothing when it did not exit 0.
std::optional<std::string> Shell(const std::string& command, const ScratchDir& dir) {
  const auto out = dir / "shell.out";
  if (std::system((command + " >" + Quoted(out) + " 2>&1").c_str()) != 0) return std::nullopt;
  std::ifstream in(out);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

std::string Info(const std::filesystem::path& file, bool json = true) {
  const RunResult run = json ? RunXelimg({"info", "--json", file.string()}) : RunXelimg({"info", file.string()});
  ExpectSuccess(run);
  return run.out;
}

void ExpectHas(const std::string& text, const std::string& part) {
  EXPECT_NE(text.find(part), std::string::npos) << "no '" << part << "' in\n" << text;
}

// A 16-bit grey TIFF of pages pages, each a ramp of its own.
std::filesystem::path WritePages(const ScratchDir& dir, UINT pages, UINT side) {
  xelhost::TiffFileWriter writer(dir / "pages.tif", xelhost::ImageCompression::Fast, pages);
  for (UINT page = 0; page < pages; ++page) {
    xelfw::Image image(side, side, xelfw::PixelLayout::Grey(16, 16));
    for (UINT y = 0; y < side; ++y)
      for (UINT x = 0; x < side; ++x) image.SetComponent(x, y, 0, (x * 251 + y * 17 + page * 997) % 65536);
    writer.Add(image);
  }
  writer.Commit();
  return dir / "pages.tif";
}

// The two numbers of "LOW:HIGH".
std::pair<double, double> Ends(const std::string& text) {
  const std::size_t colon = text.find(':', 1);
  return {std::stod(text.substr(0, colon)), std::stod(text.substr(colon + 1))};
}

TEST(ProvenanceCommand, PicturesRecordTheSettingsTheyWereMadeWith) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"pseudo", "demo:", (dir / "picture.png").string(), "--profile", "2", "--lower", "0.25",
                           "--upper", "0.75", "--ini", kCalibration}));
  const std::string json = Info(dir / "picture.png");
  for (const std::string& field : std::vector<std::string>{
           "\"format\": \"PNG\", \"width\": 320, \"height\": 240, \"bits\": 8, \"samples\": 3", "\"Source\": \"demo:\"",
           "\"Frame\": \"0\"", "\"InputBits\": \"16\"", "\"Window\": \"0.25:0.75\"", "\"Unit\": \"" + kDegrees + "\"",
           "\"Calibration\": \"calibration.ini\"",
           "\"CalibrationSHA256\": \"" + xelhost::FileSha256Hex(kCalibration) + "\"", "\"Emissivity\": \"",
           "\"Software\": \"xelimg "}) {
    ExpectHas(json, field);
  }
  const std::string text = Info(dir / "picture.png", false);
  ExpectHas(text, "size: 320 x 240\nsamples: 8-bit RGB\npages: 1\n");
  ExpectHas(text, "\nProfile: ");
  EXPECT_EQ(text.find("\nProfile: 0"), std::string::npos) << text;

  // A window given in the display unit reads back in it; every page of a TIFF names its own frame.
  const auto pages = WritePages(dir, 2, 32);
  ExpectSuccess(RunXelimg(
      {"pseudo", pages.string(), (dir / "pages-rgb.tif").string(), "--range", "30:60", "--ini", kCalibration}));
  const xelhost::ImageFileDescription tiff = xelhost::DescribeImageFile(dir / "pages-rgb.tif");
  EXPECT_EQ(tiff.pages, 2u);
  EXPECT_EQ(*tiff.record.Find("Source"), pages.string());
  const auto [low, high] = Ends(*tiff.record.Find("WindowInUnit"));
  EXPECT_NEAR(low, 30.0, 0.01);
  EXPECT_NEAR(high, 60.0, 0.01);
  ExpectHas(Info(dir / "pages-rgb.tif"), "\"pages\": 2");

  // Pictures to share keep the record too: a JPEG in its comments, a WebP in its XMP packet.
  for (const char* name : {"picture.jpg", "picture.webp", "lossy.webp"}) {
    std::vector<std::string> args = {"pseudo", "demo:", (dir / name).string(), "--lower", "0.25", "--upper", "0.75"};
    if (std::string(name) == "lossy.webp") args.insert(args.end(), {"--quality", "80"});
    ExpectSuccess(RunXelimg(args));
    const std::string shared = Info(dir / name);
    for (const char* field : {"\"width\": 320, \"height\": 240, \"bits\": 8, \"samples\": 3",
                              "\"Window\": \"0.25:0.75\"", "\"Source\": \"demo:\""})
      ExpectHas(shared, field);
  }
}

TEST(ProvenanceCommand, TemperatureMapRecordsItsUnitAndCalibration) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto map = dir / "map.tif";
  ExpectSuccess(RunXelimg(
      {"temperature", "demo:", "--ini", kCalibration, "--epsilon", "0.9", "--temperature-map", map.string()}));
  const std::string json = Info(map);
  for (const std::string& field :
       std::vector<std::string>{"\"bits\": 32, \"samples\": 1, \"float\": true, \"pages\": 1", "\"Source\": \"demo:\"",
                                "\"InputBits\": \"16\"", "\"Unit\": \"" + kDegrees + "\"", "\"Emissivity\": \"0.9\"",
                                "\"Calibration\": \"calibration.ini\"", "\"DateTime\": \""}) {
    ExpectHas(json, field);
  }
}

// The temperature of one pixel as the temperature command reads it, at full precision.
double PixelTemperature(const std::string& x, const std::string& y) {
  const RunResult run =
      RunXelimg({"temperature", "demo:", "--ini", kCalibration, "--aoi", x + "," + y + ",1,1", "--json"});
  ExpectSuccess(run);
  const std::size_t at = run.out.find("\"mean_temperature\": ");
  return at == std::string::npos ? 0.0 : std::stod(run.out.substr(at + 20));
}

TEST(ProvenanceCommand, ImageJAndTifffileReadTheMapInItsUnit) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto map = dir / "map.tif";
  ExpectSuccess(RunXelimg({"temperature", "demo:", "--ini", kCalibration, "--temperature-map", map.string()}));
  const double expected = PixelTemperature("80", "90");

  if (std::string(XEL_IMAGEJ_JAR).empty() || std::string(XEL_JAVA).empty()) {
    GTEST_SKIP() << "ImageJ (ij.jar) or java not found";
  }
  const auto imagej = Shell(std::string(XEL_JAVA) + " -Djava.awt.headless=true -cp " + Quoted(XEL_IMAGEJ_JAR) + " " +
                                Quoted(XEL_IMAGEJ_READER) + " " + Quoted(map) + " 80 90",
                            dir);
  ASSERT_TRUE(imagej.has_value());
  ExpectHas(*imagej, "unit=" + kDegrees + " pages=1 value=");
  const std::size_t value = imagej->find("value=");
  ASSERT_NE(value, std::string::npos);
  EXPECT_NEAR(std::stod(imagej->substr(value + 6)), expected, 1e-4 * std::abs(expected));

  const std::string python = XEL_PYTHON3;
  if (!Shell(python + " -c 'import tifffile'", dir)) GTEST_SKIP() << "tifffile not installed";
  const auto numbers =
      Shell(python + " -c 'import sys, tifffile; f = tifffile.TiffFile(sys.argv[1]); " +
                "print(f.imagej_metadata[\"vunit\"], float(f.pages[0].asarray()[90, 80]))' " + Quoted(map),
            dir);
  ASSERT_TRUE(numbers.has_value());
  ExpectHas(*numbers, "\\u00B0C ");
  EXPECT_NEAR(std::stod(numbers->substr(numbers->find(' ') + 1)), expected, 1e-4 * std::abs(expected));
}

TEST(ProvenanceCommand, ExiftoolShowsTheSameFields) {
  REQUIRE_PLUGIN();
  if (!Installed("exiftool")) GTEST_SKIP() << "exiftool not installed";
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"pseudo", "demo:", (dir / "picture.png").string(), "--lower", "0.25", "--upper", "0.75"}));
  const auto png = Shell(
      "exiftool -S -Software -Source -Frame -InputBits -Profile -Window -Unit " + Quoted(dir / "picture.png"), dir);
  ASSERT_TRUE(png.has_value());
  for (const std::string& line :
       std::vector<std::string>{"Source: demo:\n", "Frame: 0\n", "InputBits: 16\n", "Window: 0.25:0.75\n",
                                "Software: xelimg ", "Profile: ", "Unit: "}) {
    ExpectHas(*png, line);
  }

  ExpectSuccess(RunXelimg({"temperature", "demo:", "--temperature-map", (dir / "map.tif").string()}));
  const auto tiff = Shell("exiftool -S -Software -PageName -ImageDescription " + Quoted(dir / "map.tif"), dir);
  ASSERT_TRUE(tiff.has_value());
  for (const std::string& line :
       std::vector<std::string>{"Software: xelimg ", "PageName: demo: frame 0\n", "Source=demo:", "Unit=" + kDegrees}) {
    ExpectHas(*tiff, line);
  }

  ExpectSuccess(RunXelimg({"pseudo", "demo:", (dir / "picture.jpg").string(), "--lower", "0.25"}));
  const auto jpeg = Shell("exiftool -S -Comment " + Quoted(dir / "picture.jpg"), dir);
  ASSERT_TRUE(jpeg.has_value());
  ExpectHas(*jpeg, "Source=demo:");
  ExpectSuccess(RunXelimg({"pseudo", "demo:", (dir / "picture.webp").string(), "--lower", "0.25"}));
  const auto webp = Shell("exiftool -S -Description " + Quoted(dir / "picture.webp"), dir);
  ASSERT_TRUE(webp.has_value());
  ExpectHas(*webp, "Source=demo:");
}

TEST(ProvenanceCommand, AClosedPipeLeavesNoTemporaryFile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // Enough frames that the reader has gone long before the last line is printed.
  const auto pages = WritePages(dir, 120, 256);
  // SIGPIPE ends the run, or, where it is ignored, the failed write does.
  for (const std::string shell : {"", "trap '' PIPE; "}) {
    SCOPED_TRACE(shell);
    const auto run = Shell("sh -c \"" + shell + "'" XELIMG_PATH "' temperature " + Quoted(pages) + " --plugin " +
                               Quoted(PluginPath()) + " --temperature-map " + Quoted(dir / "map.tif") + " | head -1\"",
                           dir);
    ASSERT_TRUE(run.has_value());
    ExpectHas(*run, "frame 0: ");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"pages.tif", "shell.out"}));
  }
}

// A stream without --frames may never end: into a folder it is told once how to stop it. Its
// pictures record when each frame came.
TEST(ProvenanceCommand, AStreamIntoAFolderSaysOnceHowToStopIt) {
  REQUIRE_PLUGIN();
  if (!xelhost::StreamsAvailable() || !Installed("gst-launch-1.0")) GTEST_SKIP() << "no GStreamer";
  ScratchDir dir;
  const std::string stream = "gst:videotestsrc num-buffers=2 ! video/x-raw,format=GRAY8,width=32,height=24";
  const RunResult endless = RunXelimg({"pseudo", stream, (dir / "endless").string()});
  ExpectSuccess(endless);
  EXPECT_EQ(std::count(endless.err.begin(), endless.err.end(), '\n'), 1) << endless.err;
  ExpectHas(endless.err, "Ctrl+C");
  ExpectHas(endless.err, "--frames");
  const std::string json = Info(dir / "endless" / "stream-0001.png");
  ExpectHas(json, "\"Frame\": \"1\"");
  ExpectHas(json, "\"FrameTime\": \"20");

  const RunResult counted = RunXelimg({"pseudo", stream, (dir / "counted").string(), "--frames", "2"});
  ExpectSuccess(counted);
  EXPECT_EQ(counted.err.find("Ctrl+C"), std::string::npos) << counted.err;
}

}  // namespace
