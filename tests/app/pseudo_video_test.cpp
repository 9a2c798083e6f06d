// pseudo into video files: an FFV1 Matroska file that decodes to the very pixels of the PNGs, VP9 and
// H.264 files that GStreamer plays, and the writer's guarantees: complete or absent, bounded memory
// on long streams, a clear refusal before any work.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/GstFrameSource.h>
#include <xelhost/image_io.h>
#include <xelhost/video_writer.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace xelimg_test;

namespace {

#define REQUIRE_VIDEO()                                                                                  \
  REQUIRE_PLUGIN();                                                                                      \
  if (!xelhost::VideoOutputsAvailable() || std::system("gst-launch-1.0 --version >/dev/null 2>&1") != 0) \
  GTEST_SKIP() << "built without GStreamer, or gst-launch-1.0 missing"

std::string Stream(int frames, const std::string& size = "width=64,height=48") {
  return "gst:videotestsrc num-buffers=" + std::to_string(frames) + " pattern=ball ! video/x-raw,format=GRAY16_LE," +
         size + ",framerate=30/1";
}

// Decodes a video with gst-launch into RGBx frames d00000.raw, d00001.raw, ... in the folder;
// true when the pipeline ran to its end.
bool DecodeToFrames(const std::filesystem::path& video, const std::string& demuxAndDecoder,
                    const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  const std::string command =
      "gst-launch-1.0 -q filesrc location=" + video.string() + " ! " + demuxAndDecoder +
      " ! videoconvert ! video/x-raw,format=RGBx ! multifilesink location=" + (folder / "d%05d.raw").string() +
      " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::size_t CountEntries(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// The frame rate a Matroska or WebM file declares, as "30/1"; empty when it cannot be read.
std::string DeclaredRate(const std::filesystem::path& file) {
  const auto report = file.string() + ".caps";
  const std::string command =
      "gst-launch-1.0 -v filesrc location=" + file.string() + " ! matroskademux ! fakesink >" + report + " 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  std::ifstream in(report);
  const std::string caps{std::istreambuf_iterator<char>(in), {}};
  const std::size_t at = caps.find("framerate=(fraction)");
  return at == std::string::npos ? std::string() : caps.substr(at + 20, caps.find_first_of(",; \n", at) - at - 20);
}

}  // namespace

TEST(PseudoVideo, MatroskaHoldsExactlyThePngsOfEveryFrame) {
  REQUIRE_VIDEO();
  ScratchDir dir;
  const std::vector<std::string> common{"--input-bits", "16", "--auto", "contrast", "--legend", "right", "--mark"};
  std::vector<std::string> toPngs{"pseudo", Stream(200), (dir / "pngs").string()};
  std::vector<std::string> toVideo{"pseudo", Stream(200), (dir / "run.mkv").string()};
  toPngs.insert(toPngs.end(), common.begin(), common.end());
  toVideo.insert(toVideo.end(), common.begin(), common.end());
  ExpectSuccess(RunXelimg(toPngs));
  ExpectSuccess(RunXelimg(toVideo));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"pngs", "run.mkv"}));

  ASSERT_TRUE(DecodeToFrames(dir / "run.mkv", "matroskademux ! avdec_ffv1", dir / "decoded"));
  ASSERT_EQ(CountEntries(dir / "decoded"), 200u);
  for (int i = 0; i < 200; ++i) {
    char png[32];
    char raw[32];
    std::snprintf(png, sizeof png, "stream-%04d.png", i);
    std::snprintf(raw, sizeof raw, "d%05d.raw", i);
    const xelfw::Image expected = xelhost::ReadImageFile(dir / "pngs" / png);
    const auto decoded = ReadBytes(dir / "decoded" / raw);
    ASSERT_EQ(decoded.size(), std::size_t{expected.Width()} * expected.Height() * 4) << raw;
    for (std::size_t p = 0; p < std::size_t{expected.Width()} * expected.Height(); ++p) {
      ASSERT_EQ(std::memcmp(decoded.data() + 4 * p, expected.Data() + 3 * p, 3), 0) << "frame " << i << " pixel " << p;
    }
  }
  // Without --fps the stream's own rate.
  EXPECT_EQ(DeclaredRate(dir / "run.mkv"), "30/1");
}

TEST(PseudoVideo, WebmAndMp4PlayEveryFrameAtTheRateAsked) {
  REQUIRE_VIDEO();
  ScratchDir dir;
  // Odd sides: the 4:2:0 encoders get one column and row more.
  const std::string odd = "width=63,height=47";
  ExpectSuccess(RunXelimg({"pseudo", Stream(20, odd), (dir / "run.webm").string(), "--fps", "12.5"}));
  ASSERT_TRUE(DecodeToFrames(dir / "run.webm", "matroskademux ! vp9dec", dir / "webm"));
  EXPECT_EQ(CountEntries(dir / "webm"), 20u);
  EXPECT_EQ(ReadBytes(dir / "webm" / "d00000.raw").size(), std::size_t{64} * 48 * 4);
  EXPECT_EQ(DeclaredRate(dir / "run.webm"), "25/2");
  ExpectSuccess(RunXelimg({"pseudo", Stream(3), (dir / "ntsc.mkv").string(), "--fps", "30000/1001"}));
  EXPECT_EQ(DeclaredRate(dir / "ntsc.mkv"), "30000/1001");

  const auto mp4 = RunXelimg({"pseudo", Stream(20, odd), (dir / "run.mp4").string()});
  if (std::system("gst-inspect-1.0 x264enc >/dev/null 2>&1") != 0) {
    ExpectFailure(mp4, "gstreamer1.0-plugins-ugly");
    EXPECT_FALSE(std::filesystem::exists(dir / "run.mp4"));
    return;
  }
  ExpectSuccess(mp4);
  ASSERT_TRUE(DecodeToFrames(dir / "run.mp4", "qtdemux ! avdec_h264", dir / "mp4"));
  EXPECT_EQ(CountEntries(dir / "mp4"), 20u);
}

TEST(PseudoVideo, ABadFrameOrAnInterruptionLeavesNoFile) {
  REQUIRE_VIDEO();
  ScratchDir dir;
  std::filesystem::create_directories(dir / "in");
  xelfw::Image grey(32, 24, xelfw::PixelLayout::Grey(8, 8));
  xelhost::WriteImageFile(grey, dir / "in" / "a.png");
  WriteText(dir / "in" / "b.png", "not a picture");
  xelhost::WriteImageFile(grey, dir / "in" / "c.png");
  ExpectFailure(RunXelimg({"pseudo", (dir / "in").string(), (dir / "out.mkv").string()}), "b.png");

  std::filesystem::remove(dir / "in" / "b.png");
  xelhost::WriteImageFile(xelfw::Image(16, 24, xelfw::PixelLayout::Grey(8, 8)), dir / "in" / "b.png");
  ExpectFailure(RunXelimg({"pseudo", (dir / "in").string(), (dir / "out.webm").string()}), "one size");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in"});

  // An endless stream ended by a signal while the video is being written.
  const std::string endless = "gst:videotestsrc ! video/x-raw,format=GRAY8,width=64,height=48";
  const std::string command = "timeout -s TERM 2 " + std::string(XELIMG_PATH) + " pseudo --plugin " +
                              PluginPath().string() + " '" + endless + "' " + (dir / "out.mkv").string() +
                              " >/dev/null 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in"});
}

TEST(PseudoVideo, MemoryStaysBoundedHoweverLongTheStream) {
  REQUIRE_VIDEO();
  if (std::system("/usr/bin/time -f %M true >/dev/null 2>&1") != 0) GTEST_SKIP() << "no /usr/bin/time";
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer keeps freed memory in quarantine, so peak memory grows with the run";
#endif
  ScratchDir dir;
  // Peak resident kilobytes of a run over this many 320 x 240 frames (225 KiB each in RGB).
  const auto peakKiB = [&](int frames) {
    const auto report = dir / "peak.txt";
    const std::string command = "/usr/bin/time -o " + report.string() + " -f %M " + std::string(XELIMG_PATH) +
                                " pseudo --plugin " + PluginPath().string() + " '" +
                                Stream(frames, "width=320,height=240") + "' " + (dir / "out.mkv").string() +
                                " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(report);
    long kib = 0;
    in >> kib;
    return kib;
  };
  const long short_run = peakKiB(50);
  const long long_run = peakKiB(1000);
  // Queued without bound, the 950 frames more would take about 210 MiB.
  EXPECT_LT(long_run, short_run + 32 * 1024) << short_run << " KiB for 50 frames, " << long_run << " for 1000";
}

TEST(PseudoVideo, OutputsAreRefusedBeforeAnyWorkSayingWhatIsAccepted) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const std::string accepted = xelhost::VideoOutputsAvailable()
                                   ? "one picture to .png, .jpg, .jpeg, .webp, or - (standard output, PNG), and a "
                                     "sequence to a folder, .tif, .tiff, .mkv, .webm, .mp4"
                                   : "one picture to .png, .jpg, .jpeg, .webp, or - (standard output, PNG), and a "
                                     "sequence to a folder, .tif, .tiff";
  for (const char* name : {"out.bmp", "out.avi", "out.pgm", "out.GIF"}) {
    const auto run = RunXelimg({"pseudo", "demo:", (dir / name).string()});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find(accepted), std::string::npos) << run.err;
  }
  ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.png").string(), "--fps", "25"}), "--fps applies");
  ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.tif").string(), "--quality", "80"}), "--quality applies");
  ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.jpg").string(), "--quality", "101"}), "--quality");
  ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.jpg").string(), "--bits", "16"}), "8 bits");
  if (xelhost::VideoOutputsAvailable()) {
    for (const char* fps : {"0", "1001", "5/0", "-3", "x"}) {
      ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.mkv").string(), "--fps", fps}), "--fps");
    }
    ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.webm").string(), "--bits", "16"}), "8 bits");
  } else {
    ExpectFailure(RunXelimg({"pseudo", "demo:", (dir / "out.mkv").string()}), "built without GStreamer");
  }
  EXPECT_TRUE(dir.Entries().empty());
}
