// Video streams as inputs of pseudo and temperature: every frame as if it came from a file, frames
// counted as they come, and each way a stream fails ending the run with exit 2 and the element named.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/GstFrameSource.h>
#include <xelhost/image_io.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

using namespace xelimg_test;

namespace {

#define REQUIRE_STREAMS()                                                                           \
  REQUIRE_PLUGIN();                                                                                 \
  if (!xelhost::StreamsAvailable() || std::system("gst-launch-1.0 --version >/dev/null 2>&1") != 0) \
  GTEST_SKIP() << "built without GStreamer, or gst-launch-1.0 missing"

constexpr UINT kWidth = 64;  // rows of 128 bytes: GStreamer's raw frames hold no padding
constexpr UINT kHeight = 48;
const std::string kSource = "videotestsrc num-buffers=3 pattern=ball ! video/x-raw,format=GRAY16_LE,width=64,height=48";

// The source's frames as 16-bit PGM files f0.pgm, f1.pgm, f2.pgm.
std::vector<std::string> WriteFramesAsFiles(const ScratchDir& dir) {
  const std::string raw = (dir / "f%d.raw").string();
  EXPECT_EQ(std::system(("gst-launch-1.0 -q " + kSource + " ! multifilesink location=" + raw + " >/dev/null").c_str()),
            0);
  std::vector<std::string> files;
  for (int i = 0; i < 3; ++i) {
    const auto bytes = ReadBytes(dir / ("f" + std::to_string(i) + ".raw"));
    xelfw::Image frame(kWidth, kHeight, xelfw::PixelLayout::Grey(16, 16));
    EXPECT_EQ(bytes.size(), frame.FrameBytes());
    std::memcpy(frame.Data(), bytes.data(), std::min(bytes.size(), frame.FrameBytes()));
    files.push_back((dir / ("f" + std::to_string(i) + ".pgm")).string());
    xelhost::WriteImageFile(frame, files.back());
  }
  return files;
}

// "mean grey ..., temperature ..." of each line, without the label at its end (the source of one of
// several inputs, or a stream frame's time).
std::vector<std::string> Readings(const std::string& out) {
  std::vector<std::string> readings;
  for (std::size_t at = out.find("mean grey"); at != std::string::npos; at = out.find("mean grey", at + 1)) {
    const std::size_t end = out.find('\n', at);
    readings.push_back(out.substr(at, out.rfind(" (", end) - at));
    if (end == std::string::npos) break;
    at = end;
  }
  return readings;
}

}  // namespace

TEST(StreamInput, FramesReadAsTheSameFramesFromFiles) {
  REQUIRE_STREAMS();
  ScratchDir dir;
  const std::vector<std::string> files = WriteFramesAsFiles(dir);

  std::vector<std::string> fileArgs{"temperature", "--input-bits", "16"};
  fileArgs.insert(fileArgs.end(), files.begin(), files.end());
  const auto fromFiles = RunXelimg(fileArgs);
  const auto fromStream = RunXelimg({"temperature", "gst:" + kSource, "--input-bits", "16"});
  ExpectSuccess(fromStream);
  ASSERT_EQ(Readings(fromStream.out).size(), 3u) << fromStream.out;
  EXPECT_EQ(Readings(fromStream.out), Readings(fromFiles.out));
  EXPECT_NE(fromStream.out.find("frame 2:"), std::string::npos) << fromStream.out;

  std::vector<std::string> pseudoArgs{"pseudo", "--input-bits", "16", "--auto", "contrast"};
  pseudoArgs.insert(pseudoArgs.end(), files.begin(), files.end());
  pseudoArgs.push_back((dir / "from-files").string());
  ExpectSuccess(RunXelimg(pseudoArgs));
  ExpectSuccess(RunXelimg(
      {"pseudo", "--input-bits", "16", "--auto", "contrast", "gst:" + kSource, (dir / "from-stream").string()}));
  // The pictures, not the files' bytes: each records its own source.
  for (int i = 0; i < 3; ++i) {
    const xelfw::Image streamed =
        xelhost::ReadImageFile(dir / "from-stream" / ("stream-000" + std::to_string(i) + ".png"));
    const xelfw::Image filed = xelhost::ReadImageFile(dir / "from-files" / ("f" + std::to_string(i) + ".png"));
    EXPECT_TRUE(std::equal(streamed.Data(), streamed.Data() + streamed.FrameBytes(), filed.Data(),
                           filed.Data() + filed.FrameBytes()))
        << "frame " << i;
  }

  const auto tiff = dir / "stream.tif";
  ExpectSuccess(RunXelimg({"pseudo", "gst:" + kSource, tiff.string()}));
  xelhost::ImageFileReader pages(tiff);
  int count = 0;
  while (pages.Next()) ++count;
  EXPECT_EQ(count, 3);
}

TEST(StreamInput, FramesOptionEndsAnEndlessSource) {
  REQUIRE_STREAMS();
  const auto run = RunXelimg(
      {"temperature", "gst:videotestsrc ! video/x-raw,format=GRAY8,width=16,height=8", "--frames", "2", "--json"});
  ExpectSuccess(run);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2) << run.out;
  ExpectFailure(RunXelimg({"temperature", "gst:videotestsrc", "--frames", "0"}), "--frames");
  ExpectFailure(RunXelimg({"temperature", "gst:videotestsrc", "--timeout", "soon"}), "--timeout");
  ScratchDir dir;
  ExpectFailure(RunXelimg({"pseudo", "gst:videotestsrc", (dir / "out").string(), "--timeout", "0"}), "--timeout");
  EXPECT_TRUE(dir.Entries().empty()) << "no output folder for a usage error";
}

// Each frame's presentation time, in seconds, rises frame by frame; a file's frames have none.
TEST(StreamInput, FramesCarryTheirPresentationTime) {
  REQUIRE_STREAMS();
  const auto run =
      RunXelimg({"temperature", "gst:videotestsrc ! video/x-raw,format=GRAY8,width=16,height=8,framerate=25/1",
                 "--frames", "4", "--json"});
  ExpectSuccess(run);
  std::vector<double> times;
  for (std::size_t at = run.out.find("\"time\": "); at != std::string::npos; at = run.out.find("\"time\": ", at + 1))
    times.push_back(std::strtod(run.out.c_str() + at + 8, nullptr));
  ASSERT_EQ(times.size(), 4u) << run.out;
  EXPECT_GE(times[0], 0.0);
  for (std::size_t i = 1; i < times.size(); ++i) EXPECT_NEAR(times[i] - times[i - 1], 0.04, 1e-6) << run.out;
  const auto csv =
      RunXelimg({"temperature", "gst:videotestsrc ! video/x-raw,format=GRAY8,width=16,height=8,framerate=25/1",
                 "--frames", "2", "--csv"});
  ExpectSuccess(csv);
  EXPECT_NE(csv.out.find(",1,1,0.04,area,"), std::string::npos) << csv.out;

  ScratchDir dir;
  const auto files = WriteFramesAsFiles(dir);
  const auto fromFile = RunXelimg({"temperature", files[0], "--json"});
  ExpectSuccess(fromFile);
  EXPECT_NE(fromFile.out.find("\"page\": 0, \"time\": null, "), std::string::npos) << fromFile.out;
}

TEST(StreamInput, AStreamHasNoSingleOutputPicture) {
  REQUIRE_STREAMS();
  ScratchDir dir;
  ExpectFailure(RunXelimg({"pseudo", "gst:" + kSource, (dir / "one.png").string()}), "one PNG holds one frame");
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(StreamInput, FailuresExitWithTheElementNamed) {
  REQUIRE_STREAMS();
  struct Case {
    std::string operand;
    std::string mention;
  };
  for (const Case& c : {Case{"gst:videotestsrc ! nosuchelement", "no element \"nosuchelement\""},
                        Case{"/dev/video99", "v4l2src0: Cannot identify device '/dev/video99'"},
                        Case{"gst:videotestsrc num-buffers=2 ! video/x-raw,format=RGB",
                             "videotestsrc0: Internal data stream error. (caps not negotiated: the pipeline offers "
                             "video/x-raw, format=(string)RGB"},
                        Case{"gst:videotestsrc is-live=true ! video/x-raw,format=GRAY8 ! valve drop=true",
                             "videotestsrc0 sent no frame for 0.3 s"}}) {
    SCOPED_TRACE(c.operand);
    const auto start = std::chrono::steady_clock::now();
    ExpectFailure(RunXelimg({"temperature", c.operand, "--timeout", "0.3"}), c.mention);
    ScratchDir dir;
    ExpectFailure(RunXelimg({"pseudo", c.operand, (dir / "out.tif").string(), "--timeout", "0.3"}), c.mention);
    EXPECT_TRUE(dir.Entries().empty()) << "nothing written";
    // Not a speed check: each failure must end the run instead of waiting for frames that never come.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  }
}

// A uniform live source shows on screen what a file of the same frame shows: the picture, the
// dialogs and the temperature readout; only the image window's caption (frame count, rate) differs.
TEST(StreamInput, ViewerShowsALiveSourceAsTheSameFrameFromAFile) {
  REQUIRE_STREAMS();
  ScratchDir dir;
  const std::string caps = " pattern=white ! video/x-raw,format=GRAY8,width=64,height=48";
  const auto raw = dir / "white.raw";
  ASSERT_EQ(std::system(("gst-launch-1.0 -q videotestsrc num-buffers=1" + caps +
                         " ! filesink location=" + raw.string() + " >/dev/null")
                            .c_str()),
            0);
  xelfw::Image white(64, 48, xelfw::PixelLayout::Grey(8, 8));
  ASSERT_EQ(ReadBytes(raw).size(), white.FrameBytes());
  std::memcpy(white.Data(), ReadBytes(raw).data(), white.FrameBytes());
  xelhost::WriteImageFile(white, dir / "white.pgm");
  const auto fromFile = dir / "file.png";
  const auto fromStream = dir / "stream.png";
  ExpectSuccess(RunXelimg({"view", (dir / "white.pgm").string(), "--snapshot", fromFile.string()}));
  ExpectSuccess(RunXelimg({"view", "gst:videotestsrc" + caps, "--snapshot", fromStream.string(), "--frames", "5"}));
  const xelfw::Image a = xelhost::ReadImageFile(fromFile);
  const xelfw::Image b = xelhost::ReadImageFile(fromStream);
  ASSERT_EQ(a.FrameBytes(), b.FrameBytes());
  constexpr UINT kBelowCaption = 31;
  const std::size_t offset = kBelowCaption * a.Stride();
  EXPECT_EQ(std::memcmp(a.Data() + offset, b.Data() + offset, a.FrameBytes() - offset), 0);

  ExpectFailure(RunXelimg({"view", "/dev/video99", "--snapshot", (dir / "none.png").string()}), "/dev/video99");
  ExpectFailure(RunXelimg({"view", "gst:videotestsrc num-buffers=0 ! video/x-raw,format=GRAY8", "--snapshot",
                           (dir / "none.png").string()}),
                "ended before its first frame");
  EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
}

TEST(StreamInput, BuildWithoutGStreamerSaysSo) {
  REQUIRE_PLUGIN();
  if (xelhost::StreamsAvailable()) GTEST_SKIP() << "this build has GStreamer";
  ExpectFailure(RunXelimg({"temperature", "gst:videotestsrc"}), "built without GStreamer");
}
