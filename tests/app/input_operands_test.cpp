// Inputs named the way every image command takes them: a file, a pattern, '-' for standard input.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <string>
#include <vector>

using namespace xelimg_test;

namespace {

void WriteRamp(const std::filesystem::path& file) {
  xelfw::Image ramp(64, 8, xelfw::PixelLayout::Grey(8, 8));
  for (UINT y = 0; y < 8; ++y)
    for (UINT x = 0; x < 64; ++x) ramp.SetComponent(x, y, 0, x * 4);
  xelhost::WriteImageFile(ramp, file);
}

// What a run gives: the picture it wrote, or what it printed when the picture holds a clock (view).
enum class Outcome { Picture, Printed };

// The same outcome whether the input is named, matched by a pattern or piped in.
void ExpectSameFromEveryName(const std::vector<std::string>& command, const std::string& outputOption,
                             Outcome outcome) {
  ScratchDir dir;
  WriteRamp(dir / "ramp.pgm");
  const auto run = [&](const std::string& input, const std::string& name, const std::filesystem::path& stdinFile) {
    std::vector<std::string> args = command;
    args.insert(args.end(), {input, outputOption, (dir / name).string()});
    const RunResult result = RunXelimg(args, stdinFile);
    ExpectSuccess(result);
    const std::vector<unsigned char> picture = ReadBytes(dir / name);
    EXPECT_FALSE(picture.empty());
    return outcome == Outcome::Printed ? result.out : std::string(picture.begin(), picture.end());
  };
  const std::string named = run((dir / "ramp.pgm").string(), "named.png", {});
  EXPECT_EQ(run((dir / "r*.pgm").string(), "pattern.png", {}), named);
  EXPECT_EQ(run("-", "piped.png", dir / "ramp.pgm"), named);
}

}  // namespace

TEST(InputOperands, DialogTakesPatternsAndStandardInput) {
  REQUIRE_PLUGIN();
  ExpectSameFromEveryName({"dialog", "pseudo"}, "--out", Outcome::Picture);

  ScratchDir dir;
  WriteRamp(dir / "a.pgm");
  WriteRamp(dir / "b.pgm");
  ExpectFailure(RunXelimg({"dialog", "pseudo", (dir / "*.pgm").string(), "--out", (dir / "x.png").string()}),
                "names 2 images");
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}

TEST(InputOperands, ViewTakesPatternsAndStandardInput) {
  REQUIRE_PLUGIN();
  ExpectSameFromEveryName({"view", "--size", "640x480", "--cursor", "40,4"}, "--snapshot", Outcome::Printed);

  ScratchDir dir;
  WriteRamp(dir / "a.pgm");
  ExpectFailure(
      RunXelimg({"view", "-", (dir / "a.pgm").string(), "--snapshot", (dir / "x.png").string()}, dir / "a.pgm"),
      "plays alone");
}
