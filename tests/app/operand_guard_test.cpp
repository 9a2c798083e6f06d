// What xelimg reads and writes is settled before any work: no command replaces its own input, a
// FIFO does not hang it, an output folder that goes away ends a batch at once, and a window in the
// display unit under a calibration that falls is refused instead of drawn wrong.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <sys/stat.h>

#include <chrono>
#include <future>
#include <thread>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

std::filesystem::path WriteGrey(const std::filesystem::path& file, UINT frames = 1) {
  Image grey(16, 8, PixelLayout::Grey(16, 16), frames);
  for (UINT f = 0; f < frames; ++f)
    for (UINT x = 0; x < 16; ++x) grey.SetComponent(x, 3, 0, 4000 * x + f, f);
  xelhost::WriteImageFile(grey, file);
  return file;
}

// The temperature falls from 100 °C at grey 0 to 0 °C at the top.
std::filesystem::path WriteFallingCalibration(const ScratchDir& dir) {
  WriteText(dir / "falling.ini", "[Temperature display]\nPoint_0=0,373.15\nPoint_1=1,273.15\n");
  return dir / "falling.ini";
}

}  // namespace

TEST(OperandGuard, NoCommandReplacesItsOwnInput) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto tif = WriteGrey(dir / "a.tif", 2);
  const auto png = WriteGrey(dir / "a.png");
  std::filesystem::create_hard_link(png, dir / "hard.png");
  std::filesystem::create_symlink(tif, dir / "link.tif");
  const std::vector<unsigned char> tifBytes = ReadBytes(tif);
  const std::vector<unsigned char> pngBytes = ReadBytes(png);
  const std::vector<std::vector<std::string>> runs = {
      {"temperature", tif.string(), "--temperature-map", tif.string()},
      {"temperature", (dir / "link.tif").string(), "--temperature-map", tif.string()},
      {"dialog", "pseudo", png.string(), "--out", png.string()},
      {"dialog", "temperature", png.string(), "--out", (dir / "hard.png").string()},
      {"view", png.string(), "--snapshot", png.string()},
      {"pseudo", png.string(), (dir / "hard.png").string()},
      {"pseudo", tif.string(), (dir / "link.tif").string()},
  };
  for (const auto& args : runs) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    ExpectFailure(RunXelimg(args), "is also an input");
  }
  EXPECT_EQ(ReadBytes(tif), tifBytes);
  EXPECT_EQ(ReadBytes(png), pngBytes);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.png", "a.tif", "hard.png", "link.tif"})) << "no temporary left";
}

TEST(OperandGuard, FifosAreRefusedByNameInsteadOfWaitedFor) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
  WriteGrey(dir / "good.png");
  const std::string fifo = (dir / "pipe.png").string();
  // Each would wait forever on the FIFO if it opened it.
  ExpectFailure(RunXelimg({"pseudo", (dir / "good.png").string(), fifo, (dir / "out").string()}), fifo);
  ExpectFailure(RunXelimg({"temperature", (dir / "*.png").string()}), fifo);
  ExpectFailure(RunXelimg({"view", fifo, "--snapshot", (dir / "shot.png").string()}), fifo);
  ExpectFailure(RunXelimg({"dialog", "pseudo", fifo, "--out", (dir / "shot.png").string()}), fifo);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST(OperandGuard, AnOutputThatCannotBeWrittenIsRefusedBeforeAnyFrame) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteGrey(dir / "a.png");
  WriteText(dir / "file", "not a folder");
  ExpectFailure(RunXelimg({"pseudo", in.string(), (dir / "file" / "frames").string()}), "cannot write in");
  ExpectFailure(RunXelimg({"temperature", in.string(), "--temperature-map", (dir / "gone" / "map.tif").string()}),
                "no such folder");
}

TEST(OperandGuard, AFolderThatGoesAwayEndsTheBatchOnceKeepingWhatWasWritten) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // Enough one-pixel pages that the run is still going when its folder is moved away.
  const UINT pages = 20000;
  xelhost::WriteImageFile(Image(1, 1, PixelLayout::Grey(8, 8), pages), dir / "many.tif");
  const auto out = dir / "out";
  auto run = std::async(std::launch::async, [&] {
    return RunXelimg({"pseudo", (dir / "many.tif").string(), out.string(), "--jobs", "1", "--quiet"});
  });
  while (!std::filesystem::exists(out / "many-0000.png") &&
         run.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
  }
  std::filesystem::rename(out, dir / "moved");
  const RunResult result = run.get();
  ExpectFailure(result, "cannot be written any more");
  std::size_t kept = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir / "moved")) ++kept;
  EXPECT_GE(kept, 1u);
  EXPECT_LT(kept, pages);
  EXPECT_NE(result.err.find(" frames written are kept"), std::string::npos) << result.err;
}

TEST(OperandGuard, ARangeUnderAFallingCalibrationIsRefusedWithTheReason) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteGrey(dir / "a.png");
  const auto calibration = WriteFallingCalibration(dir);
  for (const char* range : {"30:80", "100:120", "-1000:1000"}) {
    SCOPED_TRACE(range);
    ExpectFailure(
        RunXelimg({"pseudo", in.string(), (dir / "out.png").string(), "--ini", calibration.string(), "--range", range}),
        "does not rise as the grey value rises");
  }
  ExpectFailure(RunXelimg({"dialog", "pseudo", in.string(), "--out", (dir / "d.png").string(), "--ini",
                           calibration.string(), "--range", "30:80"}),
                "--range");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.png", "falling.ini"}));
  // A calibration that turns inside the grey range names where it still rises.
  WriteText(dir / "turning.ini", "[Temperature display]\nPoint_0=0,300\nPoint_1=0.5,350\nPoint_2=1,300\n");
  ExpectFailure(RunXelimg({"pseudo", in.string(), (dir / "out.png").string(), "--ini", (dir / "turning.ini").string(),
                           "--range", "30:40"}),
                "rises only between grey 0 and");
  // Without --range the same calibration serves.
  ExpectSuccess(RunXelimg({"pseudo", in.string(), (dir / "out.png").string(), "--ini", calibration.string()}));
}
