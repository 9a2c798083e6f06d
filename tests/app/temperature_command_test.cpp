// xelimg temperature: one reading a frame, in text or JSON.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <cstring>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

// 8-bit, left half grey 0, right half grey 128.
std::filesystem::path WriteHalves(const ScratchDir& dir) {
  Image image(20, 10, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < 10; ++y)
    for (UINT x = 10; x < 20; ++x) image.SetComponent(x, y, 0, 128);
  const auto file = dir / "halves.pgm";
  xelhost::WriteImageFile(image, file);
  return file;
}

}  // namespace

// With the default calibration grey g of 256 levels reads 20 + 180 * g / 256 degrees Celsius.
TEST(TemperatureCommand, DefaultCalibrationInsideTheAoi) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  const auto hot = RunXelimg({"temperature", in.string(), "--aoi", "10,0,10,10"});
  ExpectSuccess(hot);
  EXPECT_EQ(hot.out,
            "frame 0: mean grey 128.00, epsilon 1.000, temperature 110.0 \xC2\xB0"
            "C (of the mean grey), pixels' mean 110.0, min 110.0, max 110.0, std 0.00\n");

  const auto whole = RunXelimg({"temperature", in.string()});
  ExpectSuccess(whole);
  EXPECT_NE(whole.out.find("mean grey 64.00"), std::string::npos) << whole.out;
  EXPECT_NE(whole.out.find("temperature 65.0 \xC2\xB0"
                           "C (of the mean grey), pixels' mean 65.0, min 20.0, max 110.0, std 45.00\n"),
            std::string::npos)
      << whole.out;
}

TEST(TemperatureCommand, EmissivityAgainstABackgroundAtTheSameTemperatureChangesNothing) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto run =
      RunXelimg({"temperature", WriteHalves(dir).string(), "--aoi", "0,0,10,10", "--epsilon", "0.5", "--json"});
  ExpectSuccess(run);
  EXPECT_NE(
      run.out.find("\"mean_grey\": 0.000000, \"epsilon\": 0.500, \"temperature\": 20.0, \"mean_temperature\": 20, "
                   "\"mean\": 20, \"min\": 20, \"max\": 20, \"std\": 0,"),
      std::string::npos)
      << run.out;
}

TEST(TemperatureCommand, OneLinePerTiffPageAndCalibrationFromTheSample) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image pages(4, 4, PixelLayout::Grey(16, 16), 3);
  for (UINT f = 0; f < 3; ++f)
    for (UINT y = 0; y < 4; ++y)
      for (UINT x = 0; x < 4; ++x) pages.SetComponent(x, y, 0, 10000 * (f + 1), f);
  xelhost::WriteImageFile(pages, dir / "pages.tif");
  const auto run =
      RunXelimg({"temperature", (dir / "pages.tif").string(), "--ini", XELIMG_SAMPLES_DIR "/calibration.ini"});
  ExpectSuccess(run);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
  EXPECT_NE(run.out.find("frame 2: mean grey 30000.00"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("N.A."), std::string::npos) << run.out;
}

TEST(TemperatureCommand, RefusalsAreReported) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "20,0,10,10"}), "no pixel");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "1,2,3"}), "X,Y,W,H");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--epsilon", "1.5"}), "--epsilon");
  xelimg_test::WriteText(dir / "one-point.ini", "[Temperature display]\nPoint_0=0.5,300\n");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--ini", (dir / "one-point.ini").string()}), "calibration");
  xelhost::WriteImageFile(Image(2, 2, PixelLayout::Colour(8, 3)), dir / "colour.png");
  ExpectFailure(RunXelimg({"temperature", (dir / "colour.png").string()}), "greyscale");
}

TEST(DemoCommand, WritesTheSceneAndOnePicturePerProfile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto run = RunXelimg({"demo", (dir / "out").string()});
  ExpectSuccess(run);
  const Image scene = xelhost::ReadImageFile(dir / "out" / "demo-scene.png");
  EXPECT_EQ(scene.GetImgBPC(), 16u);
  std::size_t pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
    if (entry.path().filename() == "demo-scene.png") continue;
    const Image picture = xelhost::ReadImageFile(entry.path());
    EXPECT_EQ(picture.GetNumComponents(), 3u) << entry.path();
    EXPECT_EQ(picture.Width(), scene.Width());
    ++pictures;
  }
  EXPECT_EQ(pictures, 5u);
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "demo-1-grey-wedge.png"));
}

// The host reads a calibration itself before the object does: what it cannot read as its author
// meant it ends the run, naming the file and the line, before a temperature is printed.
TEST(TemperatureCommand, MalformedCalibrationsAreRefusedNamingTheLine) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  const auto refused = [&](const std::string& body, const std::string& mention) {
    SCOPED_TRACE(body);
    WriteText(dir / "cal.ini", "[Temperature display]\n" + body);
    const auto run = RunXelimg({"temperature", in.string(), "--ini", (dir / "cal.ini").string()});
    ExpectFailure(run, mention);
    EXPECT_NE(run.err.find("cal.ini"), std::string::npos);
    EXPECT_TRUE(run.out.empty()) << run.out;
  };
  refused("Point_0=0.05;253.15\nPoint_1=0.9,380\n", "cal.ini:2: Point_0");
  refused("Point_0=0.1,280\nPoint_1=0.5,300\nPoint_3=0.9,380\n", "Point_3");
  refused("Point_0=0.1,280\nPoint_1=0.9,380\nEpsilon=2\n", "Epsilon");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--ini", XELIMG_SAMPLES_DIR "/pseudocolor.ini"}),
                "'Lower' is not a calibration key");
}

TEST(TemperatureCommand, UnitOfAUtf8CalibrationPrintsInUtf8) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  WriteText(dir / "cal.ini",
            "\xEF\xBB\xBF[Temperature display]\r\nUnitDesc=\xC2\xB0"
            "C\r\n");
  const auto in = WriteHalves(dir);
  const auto text = RunXelimg({"temperature", in.string(), "--ini", (dir / "cal.ini").string()});
  ExpectSuccess(text);
  EXPECT_NE(text.out.find(" \xC2\xB0"
                          "C (of the mean grey)"),
            std::string::npos)
      << text.out;
  const auto json = RunXelimg({"temperature", in.string(), "--ini", (dir / "cal.ini").string(), "--json"});
  EXPECT_NE(json.out.find("\"unit\": \"\xC2\xB0"
                          "C\""),
            std::string::npos)
      << json.out;
}

// 14-bit counts in a 16-bit file read as 16-bit give a temperature far too low; the depth a file
// declares, or --input-bits, makes them read alike.
TEST(TemperatureCommand, FourteenBitCountsReadAlikeWhereverTheDepthIsSaid) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image counts(8, 8, PixelLayout::Grey(16, 16));
  for (UINT y = 0; y < 8; ++y)
    for (UINT x = 0; x < 8; ++x) counts.SetComponent(x, y, 0, 12000 + x);
  xelhost::WriteImageFile(counts, dir / "plain.png");
  Image declared(8, 8, PixelLayout::Grey(14, 16));
  std::memcpy(declared.Data(), counts.Data(), counts.FrameBytes());
  xelhost::WriteImageFile(declared, dir / "sbit.png");
  xelhost::WriteImageFile(declared, dir / "maxval.pgm");
  xelhost::WriteImageFile(declared, dir / "maxsample.tif");

  const auto plain = RunXelimg({"temperature", (dir / "plain.png").string()});
  ExpectSuccess(plain);
  EXPECT_EQ(std::count(plain.err.begin(), plain.err.end(), '\n'), 1) << plain.err;
  EXPECT_NE(plain.err.find("--input-bits"), std::string::npos) << plain.err;

  const auto told = RunXelimg({"temperature", (dir / "plain.png").string(), "--input-bits", "14"});
  ExpectSuccess(told);
  EXPECT_TRUE(told.err.empty()) << told.err;
  EXPECT_NE(told.out, plain.out);
  for (const char* file : {"sbit.png", "maxval.pgm", "maxsample.tif"}) {
    const auto run = RunXelimg({"temperature", (dir / file).string()});
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(run.out, told.out) << file;
  }
  ExpectFailure(RunXelimg({"temperature", (dir / "plain.png").string(), "--input-bits", "13"}), "12007");
  ExpectFailure(RunXelimg({"temperature", (dir / "plain.png").string(), "--input-bits", "17"}), "--input-bits");
}

TEST(TemperatureCommand, SeveralAreasOneLineEachAndTheirStatisticsInCsv) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  const auto text = RunXelimg({"temperature", in.string(), "--aoi", "cold=0,0,10,10", "--aoi", "8,0,4,1"});
  ExpectSuccess(text);
  EXPECT_EQ(text.out,
            "frame 0 cold: mean grey 0.00, epsilon 1.000, temperature 20.0 \xC2\xB0"
            "C (of the mean grey), pixels' mean 20.0, min 20.0, max 20.0, std 0.00\n"
            "frame 0 aoi2: mean grey 64.00, epsilon 1.000, temperature 65.0 \xC2\xB0"
            "C (of the mean grey), pixels' mean 65.0, min 20.0, max 110.0, std 45.00\n");

  // A file name with a comma is quoted; the hottest pixel is the first of the hot ones.
  const auto odd = dir / "a,b.pgm";
  std::filesystem::copy_file(in, odd);
  const auto csv = RunXelimg({"temperature", odd.string(), "--aoi", "8,0,4,1", "--csv"});
  ExpectSuccess(csv);
  const std::string header = csv.out.substr(0, csv.out.find('\n') + 1);
  EXPECT_EQ(header,
            "file,frame,page,time,kind,area,shape,index,x,y,width,height,grey,pixels,unavailable,saturated,"
            "below_calibration,above_calibration,mean_grey,epsilon,temperature,mean_temperature,mean,min,max,std,"
            "coldest_x,coldest_y,hottest_x,hottest_y,unit\r\n");
  EXPECT_EQ(csv.out.substr(header.size()), "\"" + odd.string() +
                                               "\",0,0,,area,aoi1,\"8,0,4,1\",,8,0,4,1,,4,0,0,0,0,64.000000,1.000,"
                                               "65.0,65,65,20,110,45,8,0,10,0,\xC2\xB0"
                                               "C\r\n");
}

TEST(TemperatureCommand, ReportOptionsThatCannotHoldAreRefusedBeforeAnythingIsWritten) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  ExpectFailure(RunXelimg({"temperature", in.string(), "--json", "--csv"}), "exclude");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--json", "--json"}), "twice");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "a=0,0,1,1", "--aoi", "a=1,0,1,1"}), "'a'");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "=0,0,1,1"}), "name");
  const auto map = dir / "missing" / "map.tif";
  ExpectFailure(RunXelimg({"temperature", in.string(), "--temperature-map", map.string()}), "map.tif");
  // A map of frames that were all refused is not written either.
  const auto kept = dir / "map.tif";
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "25,0,10,10", "--temperature-map", kept.string()}),
                "no pixel");
  EXPECT_FALSE(std::filesystem::exists(kept));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"halves.pgm"});  // no temporary left either
}

// Shapes, an areas file, a line and a delta in one run: one row each (a line: one a sample), the
// kinds named; mistakes name the option, the file and its line, or the area.
TEST(TemperatureCommand, ShapesLinesAndDeltasEachGetTheirRows) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteHalves(dir);
  WriteText(dir / "areas.txt", "# the two halves\ncold=0,0,10,10\n\nhot=ellipse:15,5,3,3\n");
  const auto run = RunXelimg({"temperature", in.string(), "--areas", (dir / "areas.txt").string(), "--aoi", "spot:12,3",
                              "--line", "across=5,5,14,5", "--delta", "hot-cold", "--csv"});
  ExpectSuccess(run);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 3 + 10 + 1) << run.out;
  EXPECT_NE(run.out.find(",area,aoi1,\"spot:12,3,0.5\",,12,3,1,1,,1,"), std::string::npos)
      << run.out;  // --aoi first, then the file
  EXPECT_NE(run.out.find(",area,hot,\"ellipse:15,5,3,3\",,12,2,6,6,,32,"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(",line,across,\"line:5,5,14,5\",0,5,5,,,0,10,0,0,0,0,,,20,,65,20,110,45,,,,,"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(",line,across,\"line:5,5,14,5\",9,14,5,,,128,10,"), std::string::npos) << run.out;
  // A delta fills only mean, min and max: sixteen empty columns before them, five after.
  EXPECT_NE(run.out.find(",delta,hot-cold" + std::string(16, ',') + ",90,90,90" + std::string(5, ',') + ",\xC2\xB0"),
            std::string::npos)
      << run.out;

  const auto text = RunXelimg({"temperature", in.string(), "--aoi", "hot=10,0,10,10", "--line", "5,5,14,5"});
  ExpectSuccess(text);
  EXPECT_NE(text.out.find("frame 0 line1: line of 10 pixels, min 20.0, max 110.0, mean 65.0 \xC2\xB0"
                          "C\n"),
            std::string::npos)
      << text.out;

  WriteText(dir / "bad.txt", "cold=0,0,10,10\n# fine\nhot=ellipse:15,5\n");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--areas", (dir / "bad.txt").string()}), "bad.txt:3: ");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--line", "far=30,0,40,9"}), "(far)");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--line", "1,2,3"}), "X1,Y1,X2,Y2");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--aoi", "a=1,1,2,2", "--delta", "a-b"}), "a-b");
}
