// xelimg view as an instrument, without a display: the screen's size, zoom and pan, the status line
// under the cursor, a paused frame repainted by a dialog, dialogs brought back, and the state kept
// between runs. Input reaches the viewer through --input, as the window layer's injected events.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelfw/IniStore.h>
#include <xelhost/image_io.h>

#include <algorithm>
#include <set>
#include <sstream>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

constexpr unsigned kDesktop = 0x008080;
constexpr unsigned kButtonFace = 0xD4D0C8;
// The image window's client area starts at (12, 31) on the screen; the picture fills 480 x 360 of
// it, so the 64 x 48 ramp below is shown at 7.5 times.
constexpr int kClientLeft = 12, kClientTop = 31;

// The status line's words on the pixel under the cursor, without those on the area.
std::string PixelPart(const std::string& status) { return status.substr(0, status.find("   area")); }

unsigned At(const Image& shot, UINT x, UINT y) {
  return shot.GetComponent(x, y, 0) << 16 | shot.GetComponent(x, y, 1) << 8 | shot.GetComponent(x, y, 2);
}

// A screen point for a point of the image window's client area, as --input takes it.
std::string Screen(int clientX, int clientY) {
  return std::to_string(kClientLeft + clientX) + "," + std::to_string(kClientTop + clientY);
}

class ViewInstrument : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_PLUGIN();
    // Grey 100 + x / 2: every pair of columns its own value, rows alike.
    Image ramp(64, 48, PixelLayout::Grey(8, 8));
    for (UINT y = 0; y < 48; ++y) {
      for (UINT x = 0; x < 64; ++x) ramp.SetComponent(x, y, 0, 100 + x / 2);
    }
    xelhost::WriteImageFile(ramp, m_Ramp);
  }

  struct Shot {
    Image picture{1, 1, PixelLayout::Grey(8, 8)};
    std::string status;  // the status line as the run prints it
    std::string err;
  };

  Shot Snapshot(std::vector<std::string> args) {
    const auto file = m_Dir / ("shot-" + std::to_string(m_Shots++) + ".png");
    args.insert(args.begin(), {"view", m_Ramp.string()});
    args.insert(args.end(), {"--snapshot", file.string()});
    const RunResult run = RunXelimg(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Shot shot;
    shot.err = run.err;
    if (run.exitCode != 0) return shot;
    shot.picture = xelhost::ReadImageFile(file);
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("status: ", 0) == 0) shot.status = line.substr(8);
    }
    return shot;
  }

  // The status line's pixel position after `input` and a move to a client point.
  std::string PixelAfter(const std::string& input, int clientX, int clientY) {
    const std::string status = Snapshot({"--input", input + "; move " + Screen(clientX, clientY)}).status;
    return status.substr(0, status.find("   grey"));
  }

  ScratchDir m_Dir;
  std::filesystem::path m_Ramp = m_Dir / "ramp.pgm";
  int m_Shots = 0;
};

TEST_F(ViewInstrument, SizeSetsTheScreenTheWindowsAreLaidOutOn) {
  const Shot shot = Snapshot({"--size", "1280x800"});
  ASSERT_EQ(shot.picture.Width(), 1280u);
  ASSERT_EQ(shot.picture.Height(), 800u);
  EXPECT_EQ(At(shot.picture, 1270, 790), kDesktop);
  EXPECT_EQ(At(shot.picture, 15, 500), kButtonFace) << "the dialogs keep their places";
  for (const char* size : {"100x100", "1280", "1280x", "x800", "1280x800x2", "99999x800"}) {
    SCOPED_TRACE(size);
    ExpectFailure(RunXelimg({"view", "--size", size, "--snapshot", (m_Dir / "never.png").string()}), "--size");
  }
  EXPECT_FALSE(std::filesystem::exists(m_Dir / "never.png"));
}

TEST_F(ViewInstrument, WheelAndKeysZoomAboutTheirPointAndDragsPan) {
  // Fitted, a client point shows the pixel at a 7.5th of it.
  EXPECT_EQ(PixelAfter("", 30, 30), "x 4  y 4");
  // Two notches double the size about the point under the wheel, (240, 180): picture pixel (32, 24)
  // stays there, and (30, 30) is 210 and 150 client pixels from it, 14 and 10 picture pixels.
  EXPECT_EQ(PixelAfter("wheel " + Screen(240, 180) + ",2", 30, 30), "x 18  y 14");
  EXPECT_EQ(PixelAfter("wheel " + Screen(240, 180) + ",2; wheel " + Screen(240, 180) + ",-2", 30, 30), "x 4  y 4");
  EXPECT_EQ(PixelAfter("key plus; key plus", 30, 30), "x 18  y 14");
  // 1:1 about the middle: the picture is 64 x 48 around (240, 180), (30, 30) lies outside it.
  EXPECT_EQ(PixelAfter("key 1", 240, 180), "x 32  y 24");
  EXPECT_EQ(PixelAfter("key 1", 209, 157), "x 1  y 1");
  EXPECT_EQ(Snapshot({"--input", "key 1; move " + Screen(30, 30)}).status.rfind("right button: menu", 0), 0u)
      << "off the picture the status line tells the controls";
  EXPECT_EQ(PixelAfter("key 1; key 0", 30, 30), "x 4  y 4");
  // A middle-button drag and a Shift drag move the picture 75 pixels right: 10 picture pixels.
  EXPECT_EQ(PixelAfter("mdrag " + Screen(200, 100) + "," + Screen(275, 100), 105, 30), "x 4  y 4");
  EXPECT_EQ(PixelAfter("sdrag " + Screen(200, 100) + "," + Screen(275, 100), 105, 30), "x 4  y 4");
  EXPECT_EQ(PixelAfter("wheel " + Screen(240, 180) + ",2; mdrag " + Screen(200, 100) + "," + Screen(275, 100), 105, 30),
            "x 18  y 14");
}

TEST_F(ViewInstrument, APlainDragStillChoosesTheAreaAndZoomedPicturesShowFewerColumns) {
  const Image fitted = Snapshot({}).picture;
  const Image zoomed = Snapshot({"--input", "wheel " + Screen(240, 180) + ",2"}).picture;
  const auto colours = [](const Image& shot) {
    std::set<unsigned> seen;
    for (int x = 0; x < 480; ++x) seen.insert(At(shot, kClientLeft + x, kClientTop + 100));
    return seen.size();
  };
  EXPECT_EQ(colours(fitted), 32u) << "64 columns, two of each grey";
  EXPECT_EQ(colours(zoomed), 16u) << "half the columns, twice as wide";

  // Dragged from client (60, 60) to (180, 150) on the zoomed picture: the outline lies where the drag
  // went, black outside and white inside, and the pan afterwards carries it along.
  const Image area =
      Snapshot({"--input", "wheel " + Screen(240, 180) + ",2; drag " + Screen(60, 60) + "," + Screen(180, 150)})
          .picture;
  EXPECT_EQ(At(area, kClientLeft + 120, kClientTop + 60), 0x000000u);
  EXPECT_EQ(At(area, kClientLeft + 120, kClientTop + 61), 0xFFFFFFu);
}

TEST_F(ViewInstrument, StatusLineTellsPositionGreyAndTheReadoutsTemperature) {
  // The default calibration, 20 to 200 degrees over the grey range: 20 + 180 * 105 / 256.
  EXPECT_EQ(PixelPart(Snapshot({"--cursor", "10,5"}).status), "x 10  y 5   grey 105   93.8 °C");
  // With a calibration, the same number as the temperature command's reading of that one pixel.
  const std::string calibration = std::string(XELIMG_SAMPLES_DIR) + "/calibration.ini";
  const RunResult reading = RunXelimg({"temperature", m_Ramp.string(), "--aoi", "10,5,1,1", "--ini", calibration});
  ASSERT_EQ(reading.exitCode, 0) << reading.err;
  const std::string status = PixelPart(Snapshot({"--cursor", "10,5", "--ini", calibration}).status);
  const std::string temperature = status.substr(status.rfind("   ") + 3);
  EXPECT_NE(reading.out.find("temperature " + temperature), std::string::npos) << reading.out << " vs " << status;
  EXPECT_NE(temperature, "93.8 °C");

  ExpectFailure(RunXelimg({"view", m_Ramp.string(), "--snapshot", (m_Dir / "c.png").string(), "--cursor", "64,0"}),
                "--cursor");
  ExpectFailure(RunXelimg({"view", m_Ramp.string(), "--cursor", "1,1"}), "--snapshot");
  ExpectFailure(RunXelimg({"view", m_Ramp.string(), "--snapshot", (m_Dir / "c.png").string(), "--input", "jump 1,2"}),
                "jump");
  ExpectFailure(RunXelimg({"view", m_Ramp.string(), "--snapshot", (m_Dir / "c.png").string(), "--input", "click 1"}),
                "click 1");
}

TEST_F(ViewInstrument, ColourOptionsGiveThePicturePseudoGives) {
  const std::string calibration = std::string(XELIMG_SAMPLES_DIR) + "/calibration.ini";
  WriteText(m_Dir / "window.ini", "[Pseudo color lut]\nLower=0.4\nUpper=0.5\n");
  const std::vector<std::vector<std::string>> cases = {
      {"--range", "90:110"},
      {"--range", "40:50", "--ini", calibration},
      {"--settings", (m_Dir / "window.ini").string(), "--profile", "3"},
      {"--profile", "1", "--lower", "0.3", "--upper", "0.6"}};
  for (const auto& options : cases) {
    SCOPED_TRACE(options[1]);
    std::vector<std::string> pseudo = {"pseudo", m_Ramp.string(), (m_Dir / "pseudo.png").string()};
    pseudo.insert(pseudo.end(), options.begin(), options.end());
    ASSERT_EQ(RunXelimg(pseudo).exitCode, 0);
    const Image expected = xelhost::ReadImageFile(m_Dir / "pseudo.png");
    const Image shot = Snapshot(options).picture;
    // Picture pixel (x, 10) fills client pixels 7.5 x to 7.5 (x + 1).
    for (UINT x = 0; x < 64; x += 3) {
      const unsigned want = expected.GetComponent(x, 10, 0) << 16 | expected.GetComponent(x, 10, 1) << 8 |
                            expected.GetComponent(x, 10, 2);
      EXPECT_EQ(At(shot, kClientLeft + x * 15 / 2 + 3, kClientTop + 78), want) << "column " << x;
    }
  }
}

TEST_F(ViewInstrument, PausedFrameIsRepaintedWhenADialogChangesASetting) {
  // "Continuous auto contrast" clicked while paused: the frame in hand is coloured again at once,
  // its greys (100 to 131 of 0 to 255) spread over the profile, from near black to near white.
  const Image still = Snapshot({"--input", "key space"}).picture;
  const Image changed = Snapshot({"--input", "key space; click 759,171"}).picture;
  const auto brightness = [](unsigned rgb) { return (rgb >> 16) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF); };
  const unsigned stillLeft = At(still, kClientLeft + 2, kClientTop + 100);
  const unsigned changedLeft = At(changed, kClientLeft + 2, kClientTop + 100);
  EXPECT_GT(brightness(stillLeft), 100u) << std::hex << stillLeft;
  EXPECT_LT(brightness(changedLeft), 100u) << std::hex << changedLeft;
  EXPECT_GT(brightness(At(changed, kClientLeft + 478, kClientTop + 100)), 700u);
}

TEST_F(ViewInstrument, ClosedDialogsComeBackByKeyAndMenu) {
  const std::string closeScale = "click 928,483";
  const auto scaleShown = [](const Image& shot) { return At(shot, 928, 483) != kDesktop; };
  EXPECT_TRUE(scaleShown(Snapshot({}).picture));
  EXPECT_FALSE(scaleShown(Snapshot({"--input", closeScale}).picture));
  EXPECT_TRUE(scaleShown(Snapshot({"--input", closeScale + "; key s"}).picture));
  // The menu's second entry, one row of 18 pixels below the first, opened at client (100, 100).
  EXPECT_TRUE(scaleShown(
      Snapshot({"--input", closeScale + "; rclick " + Screen(100, 100) + "; click " + Screen(140, 100 + 2 + 18 + 9)})
          .picture));
  // The "Temperature" dialog's close box, and T.
  EXPECT_EQ(At(Snapshot({"--input", "click 273,438"}).picture, 150, 500), kDesktop);
  EXPECT_NE(At(Snapshot({"--input", "click 273,438; key t"}).picture, 150, 500), kDesktop);
}

TEST_F(ViewInstrument, UserButtonsFreezeZoomAndSaveAndSaySo) {
  constexpr char kFreeze[] = "click 570,316", kActualSize[] = "click 681,316", kSavePng[] = "click 232,495";
  EXPECT_EQ(Snapshot({"--input", kFreeze}).status, "Freeze: the picture stays on this frame");
  EXPECT_EQ(Snapshot({"--input", std::string(kFreeze) + "; " + kFreeze}).status, "Freeze off: playing");
  EXPECT_EQ(PixelAfter(kActualSize, 209, 157), "x 1  y 1") << "1:1 about the middle";
  EXPECT_EQ(PixelAfter(std::string(kActualSize) + "; " + kActualSize, 30, 30), "x 4  y 4") << "fitted again";

  // "Save PNG" and P write the picture into the working directory, never over an earlier one.
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(m_Dir.Path());
  const std::string first = Snapshot({"--input", kSavePng}).status;
  const std::string second = Snapshot({"--input", "key p"}).status;
  std::filesystem::current_path(here);
  EXPECT_EQ(first, "saved xelimg-view-1.png");
  EXPECT_EQ(second, "saved xelimg-view-2.png");
  const Image saved = xelhost::ReadImageFile(m_Dir / "xelimg-view-2.png");
  EXPECT_EQ(saved.Width(), 64u);
  EXPECT_EQ(saved.Height(), 48u);
}

TEST_F(ViewInstrument, StateIsSavedAtTheEndAndRestoredAtTheStart) {
  const auto state = m_Dir / "config" / "view.ini";
  // Epsilon 0.5, profile 2, an area, and the "Scale" dialog dragged by its caption 20 right, 10 down.
  Snapshot({"--state", state.string(), "--epsilon", "0.5", "--profile", "2", "--input",
            "drag " + Screen(60, 60) + "," + Screen(180, 150) + "; drag 900,18,920,28"});
  const xelfw::IniStore saved = xelfw::IniStore::Load(state);
  EXPECT_EQ(saved.GetString("Viewer", "ScaleWindow"), std::optional<std::string>("888,18,1010,521"));
  EXPECT_EQ(saved.GetDouble("Viewer", "Epsilon"), std::optional<double>(0.5));
  EXPECT_EQ(saved.GetString("Viewer", "Area"), std::optional<std::string>("8,8,24,20"));

  const Shot restored = Snapshot({"--state", state.string(), "--cursor", "10,5"});
  const Shot fresh = Snapshot({"--cursor", "10,5"});
  EXPECT_EQ(At(restored.picture, 888, 18), kButtonFace) << "the Scale dialog where it was left";
  EXPECT_EQ(At(restored.picture, 870, 100), kDesktop);
  EXPECT_EQ(At(restored.picture, kClientLeft + 60, kClientTop + 100), 0x000000u) << "the area's outline";
  EXPECT_NE(At(restored.picture, 200, 200), At(fresh.picture, 200, 200)) << "profile 2, not 0";
  const RunResult reading = RunXelimg({"temperature", m_Ramp.string(), "--aoi", "10,5,1,1", "--epsilon", "0.5"});
  const std::string pixel = PixelPart(restored.status);
  const std::string temperature = pixel.substr(pixel.rfind("   ") + 3);
  EXPECT_NE(reading.out.find("temperature " + temperature), std::string::npos) << restored.status;

  // The options override the state; --no-state reads nothing.
  EXPECT_EQ(PixelPart(Snapshot({"--state", state.string(), "--cursor", "10,5", "--epsilon", "1"}).status),
            PixelPart(fresh.status));
  EXPECT_EQ(Snapshot({"--no-state", "--cursor", "10,5"}).status, fresh.status);
  ExpectFailure(RunXelimg({"view", "--state", state.string(), "--no-state"}), "--no-state");
}

TEST_F(ViewInstrument, DamagedStateIsReportedInOneLineAndIgnored) {
  const auto state = m_Dir / "view.ini";
  const Shot fresh = Snapshot({"--cursor", "10,5"});
  for (const std::string& damage : {std::string("[Viewer]\nScaleWindow=banana\n"), std::string("\x01\x02 no ini"),
                                    std::string("[Viewer]\nEpsilon=7\n"), std::string("[Viewer]\nColour=blue\n"),
                                    std::string("[Viewer]\n[Pseudo color lut]\nLower=0.9\nUpper=0.1\n")}) {
    SCOPED_TRACE(damage);
    WriteText(state, damage);
    const Shot shot = Snapshot({"--state", state.string(), "--cursor", "10,5"});
    EXPECT_EQ(std::count(shot.err.begin(), shot.err.end(), '\n'), 1) << shot.err;
    EXPECT_NE(shot.err.find("view.ini"), std::string::npos) << shot.err;
    EXPECT_NE(shot.err.find("ignored"), std::string::npos) << shot.err;
    EXPECT_EQ(shot.status, fresh.status);
    EXPECT_EQ(At(shot.picture, 868, 8), kButtonFace) << "the Scale dialog in its usual place";
    // The run ends by writing a sound state over it.
    EXPECT_NO_THROW(xelfw::IniStore::Load(state).GetString("Viewer", "ScaleWindow").value());
  }
}

}  // namespace
