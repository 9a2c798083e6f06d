// Video streams through GStreamer: frames as the pipeline delivers them and the end of the stream.
// How a failing pipeline is refused is tested through xelimg, which users see it in.
#include <xelhost/GstFrameSource.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using xelfw::Image;
using xelhost::StreamFrameSource;

namespace {

// GStreamer's threads hand frames over through GLib's atomics, which ThreadSanitizer cannot see in
// an uninstrumented library: every frame would read as a race.
#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif
#else
constexpr bool kThreadSanitizer = false;
#endif

#define REQUIRE_STREAMS()                                                                           \
  if (!xelhost::StreamsAvailable() || std::system("gst-launch-1.0 --version >/dev/null 2>&1") != 0) \
    GTEST_SKIP() << "built without GStreamer, or gst-launch-1.0 missing";                           \
  if (kThreadSanitizer) GTEST_SKIP() << "GStreamer's threads are not instrumented for ThreadSanitizer"

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xelfw_stream_XXXXXX").string();
    m_Path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(m_Path); }
  std::filesystem::path operator/(const std::string& name) const { return m_Path / name; }

 private:
  std::filesystem::path m_Path;
};

void Launch(const std::string& pipeline) {
  ASSERT_EQ(std::system(("gst-launch-1.0 -q " + pipeline + " >/dev/null 2>&1").c_str()), 0) << pipeline;
}

std::vector<Image> ReadAll(const std::string& operand) {
  StreamFrameSource source(operand, {});
  std::vector<Image> frames;
  while (auto frame = source.Next()) frames.push_back(std::move(*frame));
  EXPECT_FALSE(source.Next()) << "the end of a stream stays the end";
  return frames;
}

// A raw frame as GStreamer lays it out: rows padded to four bytes.
std::vector<unsigned char> RawFrame(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void ExpectSamePixels(const Image& frame, const std::vector<unsigned char>& raw) {
  const std::size_t rowBytes = frame.Stride();
  const std::size_t rawStride = (rowBytes + 3) / 4 * 4;
  ASSERT_EQ(raw.size(), rawStride * frame.Height());
  for (UINT y = 0; y < frame.Height(); ++y) {
    ASSERT_EQ(std::memcmp(frame.Data() + y * rowBytes, raw.data() + y * rawStride, rowBytes), 0) << "row " << y;
  }
}

struct Case {
  const char* format;
  UINT bits;
  UINT width;
  UINT height;
  const char* pattern;
};

}  // namespace

// Odd widths give padded rows in GStreamer's buffers, which must not leak into the image.
TEST(StreamFrameSource, FramesEqualTheSameFramesWrittenToFiles) {
  REQUIRE_STREAMS();
  for (const Case& c : {Case{"GRAY16_LE", 16, 64, 48, "gradient"}, Case{"GRAY16_LE", 16, 33, 5, "ball"},
                        Case{"GRAY8", 8, 30, 7, "snow"}, Case{"GRAY8", 8, 16, 16, "smpte"}}) {
    SCOPED_TRACE(std::string(c.format) + " " + c.pattern + " " + std::to_string(c.width));
    TempDir dir;
    const std::string source = "videotestsrc num-buffers=3 pattern=" + std::string(c.pattern) +
                               " ! video/x-raw,format=" + c.format + ",width=" + std::to_string(c.width) +
                               ",height=" + std::to_string(c.height);
    Launch(source + " ! multifilesink location=" + (dir / "f%d.raw").string());
    const std::vector<Image> frames = ReadAll("gst:" + source);
    ASSERT_EQ(frames.size(), 3u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      EXPECT_EQ(frames[i].Width(), c.width);
      EXPECT_EQ(frames[i].Height(), c.height);
      EXPECT_EQ(frames[i].Layout().memBPC, c.bits);
      EXPECT_EQ(frames[i].Layout().formatClass, static_cast<UINT>(XI_IMGFORMAT_CLASS_GREYSCALE));
      EXPECT_FALSE(frames[i].SignificantBitsDeclared());
      ExpectSamePixels(frames[i], RawFrame(dir / ("f" + std::to_string(i) + ".raw")));
    }
  }
}

TEST(StreamFrameSource, LosslessRecordingReadsBackAsRecorded) {
  REQUIRE_STREAMS();
  if (std::system("gst-inspect-1.0 avenc_ffv1 >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no FFV1 encoder (gstreamer1.0-libav)";
  TempDir dir;
  const std::string source =
      "videotestsrc num-buffers=4 pattern=gradient ! video/x-raw,format=GRAY16_LE,width=40,height=30";
  const auto movie = dir / "sequence.mkv";
  Launch(source + " ! avenc_ffv1 ! matroskamux ! filesink location=" + movie.string());
  const std::vector<Image> recorded =
      ReadAll("gst:filesrc location=" + movie.string() + " ! matroskademux ! avdec_ffv1 ! videoconvert");
  const std::vector<Image> live = ReadAll("gst:" + source);
  ASSERT_EQ(recorded.size(), 4u);
  ASSERT_EQ(live.size(), 4u);
  for (std::size_t i = 0; i < live.size(); ++i) {
    ASSERT_EQ(recorded[i].Layout().memBPC, 16u);
    EXPECT_EQ(std::memcmp(recorded[i].Data(), live[i].Data(), live[i].FrameBytes()), 0) << "frame " << i;
  }
}
