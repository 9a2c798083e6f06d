// xelimg view over long sequences without a display: frames read as they are shown, the keys that
// move through a sequence, the picture window laid out beside the dialogs, saving the picture, the
// keys working from a dialog, and the pixel named under the pointer at any zoom.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <sstream>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

constexpr unsigned kDesktop = 0x008080;

unsigned At(const Image& shot, UINT x, UINT y) {
  return shot.GetComponent(x, y, 0) << 16 | shot.GetComponent(x, y, 1) << 8 | shot.GetComponent(x, y, 2);
}

Image Flat(UINT width, UINT height, UINT grey) {
  Image image(width, height, PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) image.SetComponent(x, y, 0, grey);
  }
  return image;
}

struct Shot {
  int exitCode = -1;
  std::string status;
  std::string err;
  Image picture{1, 1, PixelLayout::Grey(8, 8)};
};

Shot Snapshot(const ScratchDir& dir, std::vector<std::string> args) {
  static int shots = 0;
  const auto file = dir / ("shot-" + std::to_string(shots++) + ".png");
  args.insert(args.begin(), "view");
  args.insert(args.end(), {"--snapshot", file.string()});
  const RunResult run = RunXelimg(args);
  Shot shot{run.exitCode, {}, run.err};
  if (run.exitCode != 0) return shot;
  shot.picture = xelhost::ReadImageFile(file);
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("status: ", 0) == 0) shot.status = line.substr(8);
  }
  return shot;
}

// The grey value the status line gives for the pixel under the pointer.
std::string GreyIn(const std::string& status) {
  const auto at = status.find("grey ");
  return at == std::string::npos ? status : status.substr(at + 5, status.find(' ', at + 5) - at - 5);
}

std::string PositionIn(const std::string& status) { return status.substr(0, status.find("   grey")); }

class ViewSequence : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_PLUGIN(); }

  // Frame i of `count` is flat grey 10 * i, one PNG a frame.
  std::filesystem::path Steps(UINT count) {
    const auto folder = m_Dir / ("steps-" + std::to_string(count));
    std::filesystem::create_directory(folder);
    for (UINT i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "f%03u.png", i);
      xelhost::WriteImageFile(Flat(16, 12, 10 * i), folder / name);
    }
    return folder;
  }

  // `count` frames of 640 x 512, all one file hard-linked, but the last, which is brighter.
  std::filesystem::path Recording(UINT count) {
    const auto folder = m_Dir / ("recording-" + std::to_string(count));
    std::filesystem::create_directory(folder);
    const auto first = folder / "f00000.png";
    xelhost::WriteImageFile(Flat(640, 512, 40), first, xelhost::ImageFileFormat::Png, xelhost::ImageCompression::Fast);
    char name[32];
    for (UINT i = 1; i + 1 < count; ++i) {
      std::snprintf(name, sizeof name, "f%05u.png", i);
      std::filesystem::create_hard_link(first, folder / name);
    }
    std::snprintf(name, sizeof name, "f%05u.png", count - 1);
    xelhost::WriteImageFile(Flat(640, 512, 200), folder / name, xelhost::ImageFileFormat::Png,
                            xelhost::ImageCompression::Fast);
    return folder;
  }

  ScratchDir m_Dir;
};

TEST_F(ViewSequence, LongRecordingsOpenAtOnceWithinTheMemoryOfAFewFrames) {
  for (const UINT count : {200u, 2000u, 20000u}) {
    SCOPED_TRACE(count);
    const auto folder = Recording(count).string();
    // Every frame held at once would need 640 KiB each: 125 MiB for 200, 12.5 GiB for 20000.
    const Shot first = Snapshot(m_Dir, {folder, "--max-memory", "24M", "--cursor", "10,10"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(GreyIn(first.status), "40");
    const Shot last = Snapshot(m_Dir, {folder, "--max-memory", "24M", "--input", "key end", "--cursor", "10,10"});
    ASSERT_EQ(last.exitCode, 0) << last.err;
    EXPECT_EQ(GreyIn(last.status), "200") << "End shows the last frame";
  }
  // A limit below a few frames and their pictures is refused up front, saying what to do.
  ExpectFailure(
      RunXelimg({"view", Recording(3).string(), "--max-memory", "1M", "--snapshot", (m_Dir / "never.png").string()}),
      "--max-memory");
  EXPECT_FALSE(std::filesystem::exists(m_Dir / "never.png"));
}

TEST_F(ViewSequence, KeysStepJumpAndPageThroughTheSequence) {
  const auto folder = Steps(20).string();
  const auto greyAfter = [&](const std::string& input) {
    const Shot shot = Snapshot(m_Dir, {folder, "--input", input, "--cursor", "3,3"});
    EXPECT_EQ(shot.exitCode, 0) << shot.err;
    return GreyIn(shot.status);
  };
  EXPECT_EQ(greyAfter("key end"), "190");
  EXPECT_EQ(greyAfter("key end; key home"), "0");
  EXPECT_EQ(greyAfter("key pgdn"), "20") << "a tenth of 20 frames";
  EXPECT_EQ(greyAfter("key end; key pgup"), "170");
  EXPECT_EQ(greyAfter("key end; key pgdn"), "190") << "paging stops at the end";
  EXPECT_EQ(greyAfter("key home; key pgup"), "0") << "and at the start";
  EXPECT_EQ(greyAfter("key left"), "190") << "stepping wraps round as playback does";
  EXPECT_EQ(greyAfter("key end; key right"), "0");
}

TEST_F(ViewSequence, TiffPagesAreFoundByPageForwardAndBack) {
  Image pages(8, 6, PixelLayout::Grey(8, 8), 5);
  for (UINT page = 0; page < 5; ++page) {
    for (UINT y = 0; y < 6; ++y) {
      for (UINT x = 0; x < 8; ++x) pages.SetComponent(x, y, 0, 30 + 40 * page, page);
    }
  }
  const auto file = m_Dir / "pages.tif";
  xelhost::WriteImageFile(pages, file);
  const auto greyAfter = [&](const std::string& input) {
    return GreyIn(Snapshot(m_Dir, {file.string(), "--input", input, "--cursor", "1,1"}).status);
  };
  EXPECT_EQ(greyAfter("key end"), "190");
  EXPECT_EQ(greyAfter("key end; key left; key left"), "110");
  EXPECT_EQ(greyAfter("key right; key right; key right; key home"), "30");
}

TEST_F(ViewSequence, ADamagedFrameIsSkippedWithAWordAndPlayGoesOn) {
  const auto folder = Steps(3);
  WriteText(folder / "f001.png", "not a picture");
  const Shot shot = Snapshot(m_Dir, {folder.string(), "--input", "key right"});
  ASSERT_EQ(shot.exitCode, 0) << shot.err;
  EXPECT_EQ(shot.status.rfind("frame 2 skipped: ", 0), 0u) << shot.status;
  EXPECT_NE(shot.status.find("f001.png"), std::string::npos) << shot.status;
  EXPECT_EQ(GreyIn(Snapshot(m_Dir, {folder.string(), "--input", "key right; key right", "--cursor", "1,1"}).status),
            "20");
}

TEST_F(ViewSequence, ThePictureWindowTakesTheFreeScreenAndPSavesThePicture) {
  const auto folder = Recording(3).string();
  // On the default screen the picture window sits top left, under 480 pixels wide; on a larger
  // screen it takes the room right of the dialogs, at the picture's aspect.
  const Shot small = Snapshot(m_Dir, {folder});
  ASSERT_EQ(small.exitCode, 0) << small.err;
  EXPECT_NE(At(small.picture, 100, 100), kDesktop);
  const Shot large = Snapshot(m_Dir, {folder, "--size", "1600x1000"});
  ASSERT_EQ(large.exitCode, 0) << large.err;
  EXPECT_EQ(At(large.picture, 100, 100), kDesktop) << "the picture window left the top left";
  // The whole picture is in sight: its corners are under the pointer.
  EXPECT_EQ(PositionIn(Snapshot(m_Dir, {folder, "--size", "1600x1000", "--cursor", "0,0"}).status), "x 0  y 0");
  EXPECT_EQ(PositionIn(Snapshot(m_Dir, {folder, "--size", "1600x1000", "--cursor", "639,511"}).status), "x 639  y 511");
  // Wider than 480 pixels: a picture pixel 500 columns right of the first is on the screen, in it.
  unsigned wide = 0;
  for (UINT x = 990; x < 1600; ++x) wide += At(large.picture, x, 300) == At(large.picture, 1300, 300) ? 1 : 0;
  EXPECT_GT(wide, 480u);

  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(m_Dir.Path());
  const Shot picture = Snapshot(m_Dir, {folder, "--input", "drag 100,100,200,200; key p"});
  const Shot screen = Snapshot(m_Dir, {folder, "--input", "key shift+p"});
  std::filesystem::current_path(here);
  EXPECT_EQ(picture.status, "saved xelimg-view-1.png");
  EXPECT_EQ(screen.status, "saved xelimg-view-2.png");
  const Image saved = xelhost::ReadImageFile(m_Dir / "xelimg-view-1.png");
  EXPECT_EQ(saved.Width(), 640u);
  EXPECT_EQ(saved.Height(), 512u);
  unsigned marked = 0;  // a flat frame: every pixel but the marks has the first one's colour
  for (UINT y = 0; y < 512; ++y) {
    for (UINT x = 0; x < 640; ++x) marked += At(saved, x, y) != At(saved, 0, 0) ? 1 : 0;
  }
  EXPECT_GT(marked, 200u) << "the area is marked on the picture";
  EXPECT_EQ(xelhost::ReadImageFile(m_Dir / "xelimg-view-2.png").Width(), 1024u);
}

TEST_F(ViewSequence, TheViewersKeysWorkFromADialog) {
  const auto folder = Steps(3).string();
  // The "Temperature" and "Pseudo color" dialogs closed, then the "Scale" dialog's caption clicked.
  const std::string setUp = "click 273,438; click 843,20; click 900,18";
  const Shot closed = Snapshot(m_Dir, {folder, "--input", setUp});
  EXPECT_EQ(At(closed.picture, 150, 500), kDesktop);
  EXPECT_EQ(At(closed.picture, 600, 100), kDesktop);
  const Shot back = Snapshot(m_Dir, {folder, "--input", setUp + "; key t; key c"});
  EXPECT_NE(At(back.picture, 150, 500), kDesktop) << "T from the Scale dialog";
  EXPECT_NE(At(back.picture, 600, 100), kDesktop) << "C from the Scale dialog";
  EXPECT_EQ(GreyIn(Snapshot(m_Dir, {folder, "--input", setUp + "; key end", "--cursor", "1,1"}).status), "20");
}

TEST_F(ViewSequence, TheCursorNamesTheRequestedPixelAtEveryZoom) {
  Image ramp(640, 512, PixelLayout::Grey(16, 16));
  for (UINT y = 0; y < 512; ++y) {
    for (UINT x = 0; x < 640; ++x) ramp.SetComponent(x, y, 0, x * 64 + y);
  }
  const auto file = m_Dir / "ramp.png";
  xelhost::WriteImageFile(ramp, file);
  for (const char* input : {"key 0", "key 1", "key 1; key plus; key plus", "wheel 200,200,1"}) {
    SCOPED_TRACE(input);
    const Shot shot = Snapshot(m_Dir, {file.string(), "--input", input, "--cursor", "400,210"});
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    EXPECT_EQ(PositionIn(shot.status), "x 400  y 210");
    EXPECT_EQ(GreyIn(shot.status), std::to_string(400 * 64 + 210));
  }
}

}  // namespace
