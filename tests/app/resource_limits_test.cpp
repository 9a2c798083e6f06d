// xelimg's memory limit, the refusals that come before any decoding, and a display that is not there.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/GstFrameSource.h>
#include <xelhost/image_io.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

// 200 x 100 16-bit grey, 40,000 bytes; as 8-bit RGB 60,000 more.
std::filesystem::path WriteScene(const ScratchDir& dir) {
  const auto file = dir / "scene.png";
  xelhost::WriteImageFile(Image(200, 100, PixelLayout::Grey(16, 16)), file);
  return file;
}

// Sets an environment variable for the xelimg runs of one scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : m_Name(name) {
    if (const char* old = std::getenv(name)) m_Old = old;
    ::setenv(name, value, 1);
  }
  ~ScopedVariable() {
    if (m_Old) {
      ::setenv(m_Name, m_Old->c_str(), 1);
    } else {
      ::unsetenv(m_Name);
    }
  }

 private:
  const char* m_Name;
  std::optional<std::string> m_Old;
};

// A display on this machine's TCP port that accepts connections and never answers, like a tunnel to
// a host that is gone.
class SilentDisplay {
 public:
  SilentDisplay() : m_Fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    for (int number = 1000; number < 2000 && m_Name.empty(); ++number) {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(6000 + number));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      if (::bind(m_Fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(m_Fd, 8) == 0) {
        m_Name = "127.0.0.1:" + std::to_string(number);
      }
    }
  }
  ~SilentDisplay() { ::close(m_Fd); }
  const std::string& Name() const { return m_Name; }

 private:
  int m_Fd;
  std::string m_Name;
};

}  // namespace

TEST(MemoryLimit, InputAndResultTogetherMustFitTheLimit) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const std::string in = WriteScene(dir).string();
  const std::string out = (dir / "out.png").string();
  ExpectSuccess(RunXelimg({"pseudo", in, out, "--max-memory", "100000"}));
  std::filesystem::remove(out);
  ExpectFailure(RunXelimg({"pseudo", in, out, "--max-memory", "99999"}), "--max-memory");
  // 16-bit RGB doubles the result.
  ExpectFailure(RunXelimg({"pseudo", in, out, "--max-memory", "100000", "--bits", "16"}), "16-bit RGB");
  ExpectFailure(RunXelimg({"temperature", in, "--max-memory", "30K"}), "--max-memory");
  ExpectFailure(RunXelimg({"view", in, in, "--snapshot", out, "--max-memory", "60K"}), "--max-memory");
  {
    ScopedVariable limit("XELIMG_MAX_MEMORY", "64K");
    ExpectFailure(RunXelimg({"pseudo", in, out}), "XELIMG_MAX_MEMORY");
    ExpectSuccess(RunXelimg({"pseudo", in, out, "--max-memory", "1M"}));
  }
  for (const char* bad : {"0", "12Q", "-5", "1.5G", "M"}) {
    ExpectFailure(RunXelimg({"pseudo", in, out, "--max-memory", bad}), "not a size");
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"out.png", "scene.png"}));
}

TEST(MemoryLimit, ALargeImageIsRefusedFromItsHeaderBeforeItsPixelsAreRead) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // 1 GiB of 8-bit grey (a sparse file of zeros) fits the default limit alone, but not with its
  // 3 GiB RGB result. A hang guard too: decoding it first took most of a minute.
  const std::string header = "P5\n32768 32768\n255\n";
  WriteText(dir / "huge.pgm", header);
  std::filesystem::resize_file(dir / "huge.pgm", header.size() + (std::uintmax_t{1} << 30));
  ExpectFailure(RunXelimg({"pseudo", (dir / "huge.pgm").string(), (dir / "out.tif").string()}), "8-bit RGB");
  ExpectFailure(RunXelimg({"view", (dir / "huge.pgm").string(), "--max-memory", "512M"}), "--max-memory");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"huge.pgm"});
}

TEST(MemoryLimit, JobsShareTheLimitSoTheirNumberNeverChangesWhatIsConverted) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // Four pages of 512 KiB grey and 768 KiB of picture each: one fits 2 MiB at a time, two do not.
  xelhost::WriteImageFile(Image(512, 512, PixelLayout::Grey(16, 16), 4), dir / "pages.tif");
  // The pictures, not the files' bytes: each page records when it was written.
  std::optional<std::vector<unsigned char>> first;
  for (const char* jobs : {"1", "3", "4", "8"}) {
    const auto out = dir / (std::string("out-") + jobs + ".tif");
    ExpectSuccess(
        RunXelimg({"pseudo", (dir / "pages.tif").string(), out.string(), "--jobs", jobs, "--max-memory", "2M"}));
    const Image pictures = xelhost::ReadImageFile(out);
    std::vector<unsigned char> pixels;
    for (UINT page = 0; page < pictures.Frames(); ++page) {
      pixels.insert(pixels.end(), pictures.Data(page), pictures.Data(page) + pictures.FrameBytes());
    }
    if (!first) first = pixels;
    EXPECT_EQ(pixels, *first) << jobs << " jobs";
  }
  // A page beyond the whole limit is refused, saying what it needs.
  ExpectFailure(RunXelimg({"pseudo", (dir / "pages.tif").string(), (dir / "no.tif").string(), "--max-memory", "1M"}),
                "(8-bit RGB) needs 768 KiB, more than the 512 KiB left of 1 MiB");
}

TEST(MemoryLimit, StandardInputIsMeasuredFromItsHeaderBeforeItIsDecoded) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // 16 MiB of grey in a few kilobytes of PNG: refused from its header, before it is decoded.
  xelhost::WriteImageFile(Image(4096, 4096, PixelLayout::Grey(8, 8)), dir / "bomb.png");
  ASSERT_LT(std::filesystem::file_size(dir / "bomb.png"), 100000u);
  ExpectFailure(RunXelimg({"pseudo", "-", (dir / "out.tif").string(), "--max-memory", "8M"}, dir / "bomb.png"),
                "needs 16 MiB, more than the limit of 8 MiB");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"bomb.png"});
  ExpectFailure(RunXelimg({"temperature", "-", "--max-memory", "8M"}, dir / "bomb.png"), "--max-memory");
}

TEST(MemoryLimit, TheViewerCountsThePicturesItMakesBeforeReadingAPixel) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // 2 MiB of grey; on screen two pictures and grey copies, the frame processed and the window's pixels.
  xelhost::WriteImageFile(Image(1024, 1024, PixelLayout::Grey(16, 16)), dir / "frame.png");
  const std::string in = (dir / "frame.png").string();
  const std::string snapshot = (dir / "shot.png").string();
  ExpectFailure(RunXelimg({"view", in, "--snapshot", snapshot, "--max-memory", "16M"}), "pictures on screen");
  ExpectSuccess(RunXelimg({"view", in, "--snapshot", snapshot, "--max-memory", "20M"}));
}

TEST(MemoryLimit, AStreamOfFramesLargerThanTheLimitIsRefusedByItsCaps) {
  REQUIRE_PLUGIN();
  if (!xelhost::StreamsAvailable() || std::system("gst-launch-1.0 --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "built without GStreamer, or gst-launch-1.0 missing";
  }
  ScratchDir dir;
  // Negotiated, a frame of this size would be 512 MiB before the first pixel reached xelimg.
  const std::string stream = "gst:videotestsrc num-buffers=2 ! video/x-raw,format=GRAY16_LE,width=16384,height=16384";
  ExpectFailure(RunXelimg({"pseudo", stream, (dir / "out.tif").string(), "--max-memory", "64M"}),
                "frames of 16384 x 16384 GRAY16_LE need 512 MiB, more than the limit of 64 MiB");
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(EarlyRefusal, TheOutputIsCheckedBeforeTheInputIsDecoded) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // A header that reads well, followed by data that does not: decoding would fail.
  xelhost::WriteImageFile(Image(64, 64, PixelLayout::Grey(8, 8)), dir / "whole.pgm");
  std::vector<unsigned char> bytes = ReadBytes(dir / "whole.pgm");
  for (std::size_t i = bytes.size() - 64 * 64; i < bytes.size(); ++i) bytes[i] = 0xFF;  // above maxval once rewritten
  const std::string header = "P5\n64 64\n254\n";
  std::copy(header.begin(), header.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() - 64 * 64 - header.size()));
  WriteBytes(dir / "broken.pgm", bytes);
  const std::string in = (dir / "broken.pgm").string();
  ExpectFailure(RunXelimg({"pseudo", in, (dir / "missing" / "out.png").string()}), "no such folder");
  ExpectFailure(RunXelimg({"pseudo", in, (dir / "out.bmp").string()}), "unknown image file type");
  ExpectFailure(RunXelimg({"pseudo", in, (dir / "out.png").string()}), "above maxval");

  xelhost::WriteImageFile(Image(4, 4, PixelLayout::Grey(8, 8), 3), dir / "pages.tif");
  ExpectFailure(RunXelimg({"pseudo", (dir / "pages.tif").string(), (dir / "out.png").string()}), "3 frames");
  ExpectFailure(RunXelimg({"dialog", "scale", "--out", (dir / "missing" / "d.png").string()}), "no such directory");
  ExpectFailure(RunXelimg({"dialog", "scale", "--out", (dir / "d.tif").string()}), ".png");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"broken.pgm", "pages.tif", "whole.pgm"}));
}

TEST(Display, AViewerWithoutItsDisplayEndsWithAMessage) {
  REQUIRE_PLUGIN();
  // A hang guard as much as a check: an unreachable display used to leave the viewer running unseen.
  const SilentDisplay silent;
  ASSERT_FALSE(silent.Name().empty());
  for (const std::string& display : {std::string(":54321"), silent.Name()}) {
    ScopedVariable variable("DISPLAY", display.c_str());
    ExpectFailure(RunXelimg({"view"}), "cannot open display '" + display + "'");
  }
}
