// pseudo into JPEG and WebP: files Pillow opens, WebP lossless unless a quality is asked for, and
// one picture a file.
#include "cli_expectations.h"
#include "test_files.h"

#include <cstdlib>
#include <fstream>

using namespace xelimg_test;

namespace {

// The Python the build found, which has the Debian packages: python3 on the PATH may be another.
bool HavePillow() { return std::system(XEL_PYTHON3 " -c 'import PIL' >/dev/null 2>&1") == 0; }

// Runs a Python snippet with Pillow's Image imported; true when it exits 0.
bool Python(const ScratchDir& dir, const std::string& code) {
  const auto script = dir / "check.py";
  WriteText(script, "import sys\nfrom PIL import Image\n" + code);
  return std::system((XEL_PYTHON3 " " + script.string() + " >&2").c_str()) == 0;
}

}  // namespace

TEST(PseudoPictures, JpegAndWebpOpenInPillowWithThePicturesColours) {
  REQUIRE_PLUGIN();
  if (!HavePillow()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  ScratchDir dir;
  const std::vector<std::string> options{"--legend", "bottom", "--title", "Scene"};
  for (const char* name : {"scene.png", "scene.jpg", "q40.jpg", "scene.webp", "q40.webp"}) {
    std::vector<std::string> args{"pseudo", "demo:", (dir / name).string()};
    args.insert(args.end(), options.begin(), options.end());
    if (std::string(name).starts_with("q40")) args.insert(args.end(), {"--quality", "40"});
    ExpectSuccess(RunXelimg(args));
  }
  EXPECT_TRUE(Python(dir, R"(
png = Image.open(sys.argv[0].replace("check.py", "scene.png")).convert("RGB")
def opened(name, kind):
    picture = Image.open(sys.argv[0].replace("check.py", name))
    picture.load()
    assert picture.format == kind and picture.mode == "RGB" and picture.size == png.size, (name, picture)
    return picture
assert list(opened("scene.webp", "WEBP").getdata()) == list(png.getdata()), "lossless WebP differs"
for name in ("scene.jpg", "q40.jpg", "q40.webp"):
    pixels = list(opened(name, "JPEG" if name.endswith("jpg") else "WEBP").getdata())
    error = sum(abs(a - b) for p, q in zip(pixels, png.getdata()) for a, b in zip(p, q)) / (3 * len(pixels))
    assert 0 < error < 12, (name, error)
)"));
  EXPECT_LT(std::filesystem::file_size(dir / "q40.jpg"), std::filesystem::file_size(dir / "scene.jpg"));
  EXPECT_LT(std::filesystem::file_size(dir / "q40.webp"), std::filesystem::file_size(dir / "scene.webp"));
}

TEST(PseudoPictures, OnePictureAFile) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  for (const char* name : {"two.jpg", "two.webp"}) {
    ExpectFailure(RunXelimg({"pseudo", "demo:", "demo:", (dir / name).string()}), "holds one frame");
  }
  EXPECT_TRUE(dir.Entries().empty());
}
