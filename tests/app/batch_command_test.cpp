// xelimg pseudo and temperature over several inputs: folders, patterns, pages, damaged files, jobs.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <algorithm>
#include <cstring>

using xelfw::Image;
using xelfw::PixelLayout;
using namespace xelimg_test;

namespace {

// A 16-bit frame whose grey range differs from frame to frame, so that auto contrast finds another
// window for each and any leak of one frame's window into the next shows in the bytes.
Image Frame(UINT index) {
  Image frame(48, 32, PixelLayout::Grey(16, 16));
  for (UINT y = 0; y < 32; ++y)
    for (UINT x = 0; x < 48; ++x) frame.SetComponent(x, y, 0, 1000 + index * 3000 + x * (40 + index * 25) + y * 7);
  return frame;
}

// in/f0.png ... in/f{count-1}.png
std::filesystem::path WriteFrames(const ScratchDir& dir, UINT count) {
  std::filesystem::create_directory(dir / "in");
  for (UINT i = 0; i < count; ++i) xelhost::WriteImageFile(Frame(i), dir / "in" / ("f" + std::to_string(i) + ".png"));
  return dir / "in";
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Where the one strip of a page of a little-endian TIFF lies: (offset, byte count).
std::pair<std::ptrdiff_t, std::size_t> OnlyStripOfPage(const std::vector<unsigned char>& tiff, UINT page) {
  const auto u16 = [&](std::size_t at) { return std::size_t{tiff.at(at)} | std::size_t{tiff.at(at + 1)} << 8; };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::size_t ifd = u32(4);
  for (UINT p = 0; p < page; ++p) ifd = u32(ifd + 2 + 12 * u16(ifd));
  std::size_t offset = 0;
  std::size_t count = 0;
  for (std::size_t entry = 0; entry < u16(ifd); ++entry) {
    const std::size_t at = ifd + 2 + 12 * entry;
    if (u16(at) != 273 && u16(at) != 279) continue;
    EXPECT_EQ(u32(at + 4), 1u) << "one strip a page";
    (u16(at) == 273 ? offset : count) = u32(at + 8);
  }
  return {static_cast<std::ptrdiff_t>(offset), count};
}

void WriteDamaged(const std::filesystem::path& file) {
  WriteBytes(file, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0});
}

}  // namespace

TEST(BatchCommand, FolderGivesTheBytesOfEachFileAloneWhateverTheJobs) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteFrames(dir, 5);
  for (const char* jobs : {"1", "2", "3"}) {
    const auto out = dir / (std::string("jobs") + jobs);
    ExpectSuccess(RunXelimg({"pseudo", in.string(), out.string(), "--auto", "contrast", "--jobs", jobs}));
  }
  for (UINT i = 0; i < 5; ++i) {
    const std::string name = "f" + std::to_string(i) + ".png";
    const auto alone = dir / ("alone-" + name);
    ExpectSuccess(RunXelimg({"pseudo", (in / name).string(), alone.string(), "--auto", "contrast"}));
    const auto bytes = ReadBytes(alone);
    for (const char* jobs : {"jobs1", "jobs2", "jobs3"})
      EXPECT_EQ(ReadBytes(dir / jobs / name), bytes) << jobs << " " << name;
  }
  // A pattern and a multi-page TIFF give the same frames again.
  ExpectSuccess(RunXelimg({"pseudo", (in / "f*.png").string(), (dir / "all.tif").string(), "--auto", "contrast"}));
  const Image pages = xelhost::ReadImageFile(dir / "all.tif");
  ASSERT_EQ(pages.Frames(), 5u);
  const Image third = xelhost::ReadImageFile(dir / "jobs2" / "f2.png");
  EXPECT_EQ(pages.GetComponent(17, 9, 1, 2), third.GetComponent(17, 9, 1, 0));
}

TEST(BatchCommand, DamagedFileInTheMiddleIsNamedAndSkipped) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteFrames(dir, 4);
  WriteDamaged(in / "f1b.png");
  // The frames use 16 bits and say so, so that the one line on stderr is the skipped file's.
  const auto run = RunXelimg({"pseudo", in.string(), (dir / "out").string(), "--jobs", "2", "--input-bits", "16"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("skipped " + (in / "f1b.png").string() + ": "), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(FileNames(dir / "out"), (std::vector<std::string>{"f0.png", "f1.png", "f2.png", "f3.png"}));

  // Readings of the good frames still come, one JSON object a line, in order.
  const auto readings = RunXelimg({"temperature", in.string(), "--json"});
  EXPECT_EQ(readings.exitCode, 1) << readings.err;
  EXPECT_EQ(std::count(readings.out.begin(), readings.out.end(), '\n'), 4) << readings.out;
  EXPECT_NE(readings.out.find("{\"frame\": 4, \"source\": \"" + (in / "f3.png").string() + "\", \"page\": 0"),
            std::string::npos)
      << readings.out;
  EXPECT_NE(readings.err.find("f1b.png"), std::string::npos) << readings.err;

  // Nothing done at all is a failure.
  ExpectFailure(RunXelimg({"pseudo", (in / "f1b.png").string(), (dir / "none.tif").string()}), "f1b.png");
  EXPECT_FALSE(std::filesystem::exists(dir / "none.tif"));
}

TEST(BatchCommand, RefusalsComeBeforeAnyFileIsTouched) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto in = WriteFrames(dir, 2);
  const auto a = in / "f0.png";
  const auto before = ReadBytes(a);
  ExpectFailure(RunXelimg({"pseudo", a.string()}), "output");
  ExpectFailure(RunXelimg({"pseudo", a.string(), a.string()}), "also an input");
  ExpectFailure(RunXelimg({"pseudo", in.string(), in.string()}), "also an input");
  ExpectFailure(RunXelimg({"pseudo", in.string(), (dir / "both.png").string()}), "one PNG holds one frame");
  ExpectFailure(RunXelimg({"pseudo", in.string(), "-"}), "standard output");
  xelhost::WriteImageFile(Frame(7), dir / "f0.tif");
  ExpectFailure(RunXelimg({"pseudo", a.string(), (dir / "f0.tif").string(), (dir / "out").string()}), "both");
  ExpectFailure(RunXelimg({"pseudo", (dir / "nothing*.png").string(), (dir / "out").string()}), "no file matches");
  ExpectFailure(RunXelimg({"pseudo", in.string(), (dir / "out").string(), "--profile", "9"}), "no profile 9");
  EXPECT_EQ(ReadBytes(a), before);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"f0.tif", "in"}));
}

TEST(BatchCommand, PagesOfATiffGetTheirOwnFilesAndStandardStreamsWork) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image pages(48, 32, PixelLayout::Grey(16, 16), 3);
  for (UINT f = 0; f < 3; ++f) std::memcpy(pages.Data(f), Frame(f).Data(), pages.FrameBytes());
  xelhost::WriteImageFile(pages, dir / "seq.tif");
  ExpectSuccess(
      RunXelimg({"pseudo", (dir / "seq.tif").string(), "demo:", (dir / "out").string(), "--compression", "small"}));
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "seq-0002.png"));
  EXPECT_EQ(xelhost::ReadImageFile(dir / "out" / "demo.png").Width(), 320u);

  xelhost::WriteImageFile(Frame(1), dir / "one.pgm");
  const auto piped = RunXelimg({"pseudo", "-", "-", "--compression", "fast"}, dir / "one.pgm");
  ExpectSuccess(piped);
  const Image decoded = xelhost::DecodeImage({reinterpret_cast<const BYTE*>(piped.out.data()), piped.out.size()});
  const Image page = xelhost::ReadImageFile(dir / "out" / "seq-0001.png");
  for (UINT x = 0; x < 48; x += 7) EXPECT_EQ(decoded.GetComponent(x, 5, 2), page.GetComponent(x, 5, 2)) << x;
}

TEST(BatchCommand, DamagedPageEndsItsFileAndTheRestIsWritten) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  Image pages(48, 32, PixelLayout::Grey(16, 16), 4);
  for (UINT f = 0; f < 4; ++f) std::memcpy(pages.Data(f), Frame(f).Data(), pages.FrameBytes());
  xelhost::WriteImageFile(pages, dir / "seq.tif");
  // Garbage over the compressed pixels of page 2; the pages before it stay readable.
  std::vector<unsigned char> bytes = ReadBytes(dir / "seq.tif");
  const auto [offset, size] = OnlyStripOfPage(bytes, 2);
  std::fill_n(bytes.begin() + offset, size, 0xA5);
  WriteBytes(dir / "cut.tif", bytes);
  xelhost::WriteImageFile(Frame(9), dir / "after.png");

  const auto run =
      RunXelimg({"pseudo", (dir / "cut.tif").string(), (dir / "after.png").string(), (dir / "out.tif").string()});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("skipped " + (dir / "cut.tif").string()), std::string::npos) << run.err;
  const Image out = xelhost::ReadImageFile(dir / "out.tif");
  // The pages before the damage as far as the reader gets them out before it fails, then the file after.
  EXPECT_GE(out.Frames(), 1u);
  EXPECT_LE(out.Frames(), 3u);

  const auto readings = RunXelimg({"temperature", (dir / "cut.tif").string(), (dir / "after.png").string()});
  EXPECT_EQ(readings.exitCode, 1) << readings.err;
  EXPECT_NE(readings.out.find("(" + (dir / "after.png").string() + " page 0)\n"), std::string::npos) << readings.out;
}

TEST(BatchCommand, FramesThatFitNoneOfTheOptionsAreSkippedOneByOne) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  xelhost::WriteImageFile(Frame(0), dir / "a.png");
  xelhost::WriteImageFile(Image(8, 8, PixelLayout::Grey(8, 8)), dir / "small.pgm");
  const auto run =
      RunXelimg({"temperature", (dir / "a.png").string(), (dir / "small.pgm").string(), "--aoi", "20,20,4,4"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("small.pgm: --aoi has no pixel in the 8 x 8 image (aoi1)"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;

  xelhost::WriteImageFile(Image(4, 4, PixelLayout::Colour(8, 3)), dir / "colour.png");
  const auto none = RunXelimg({"pseudo", (dir / "colour.png").string(), (dir / "colour.png").string() + ".d/"});
  EXPECT_EQ(none.exitCode, 2) << none.err;
  const auto piped = RunXelimg({"temperature", "-", "--json"}, dir / "small.pgm");
  ExpectSuccess(piped);
  EXPECT_EQ(
      piped.out.rfind(
          "{\"frame\": 0, \"source\": \"-\", \"page\": 0, \"time\": null, \"kind\": \"area\", \"area\": \"image\"", 0),
      0u)
      << piped.out;
}
