// Process end to end: pixel output against a reference worked out from the profile formulas and the
// LUT rule, the refusals with their codes and log lines, and the worker threads.
#include "pseudo_color_rig.h"

#include <XelImgProcess/XelTypes.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

using namespace pseudo_color_rig;

// --- reference: the profiles and the LUT rule written out directly -----------------------------------
constexpr double H = 1.570796325;
constexpr double kSixth = 0.16666666666666666, kThird = 0.3333333333333333;
constexpr double kTwoThirds = 0.6666666666666666, kFiveSixths = 0.8333333333333334;

double Rise(double p, double from) { return std::sin((p - from) * 6.0 * H); }

double ReferenceIntensity(UINT profile, UINT channel, double p) {
  if (profile == kProfileGreyWedge) return p;
  if (profile == kProfileClipDetect) {
    if (p < 0.024) return channel == 2 ? 1.0 : 0.0;
    if (p == 1.0) return channel == 0 ? 1.0 : 0.0;
    return (p - 0.024) * 1.0245901639344261;
  }
  switch (channel) {  // black - blue - green - yellow - red - white
    case 0:
      return p < 0.5 ? 0.0 : p < kTwoThirds ? Rise(p, 0.5) : 1.0;
    case 1:
      if (p < kSixth) return 0.0;
      if (p < kThird) return Rise(p, kSixth);
      if (p < kTwoThirds) return 1.0;
      if (p < kFiveSixths) return Rise(p, 0.5);
      return p < 1.0 ? Rise(p, kFiveSixths) : 1.0;
    default:
      if (p < 0.0) return 0.0;
      if (p < kSixth) return Rise(p, 0.0);
      if (p < kThird) return 1.0;
      if (p < 0.5) return Rise(p, kSixth);
      if (p < kFiveSixths) return 0.0;
      return p < 1.0 ? Rise(p, kFiveSixths) : 1.0;
  }
}

UINT ReferenceComponent(UINT grey, UINT srcImgBPC, double lower, double upper, UINT profile, UINT channel,
                        UINT dstImgBPC) {
  const UINT n = 1u << srcImgBPC;
  const double x = grey * (1.0 / (n - 1));
  const double p = x <= lower ? 0.0 : x > upper ? 1.0 : (x - lower) / (upper - lower);
  const double v = std::min(ReferenceIntensity(profile, channel, p), 1.0);
  return static_cast<UINT>(v * ((1u << dstImgBPC) - 1) + 0.5);
}

// --- frames -------------------------------------------------------------------------------------------
constexpr UINT kPadding = 0xA5A5A5A5;

// Every grey value of small depths, a spread of them for large ones, with noise in the unit's bits
// outside the mask that the conversion must ignore.
xelfw::Image MakeSource(UINT width, UINT height, UINT imgBPC, UINT memBPC, UINT lsb) {
  xelfw::Image image(width, height, xelfw::PixelLayout::Grey(imgBPC, memBPC, lsb));
  const UINT mask = image.GetComponentMask();
  const UINT unitBits = memBPC == 32 ? ~0u : (1u << memBPC) - 1;
  for (UINT y = 0; y < height; ++y)
    for (UINT x = 0; x < width; ++x) {
      const UINT i = y * width + x;
      const UINT grey = (i * 2654435761u >> 7) & ((1u << imgBPC) - 1);
      image.SetUnit(x, y, 0, ((grey << lsb) & mask) | ((i * 40503u) & ~mask & unitBits));
    }
  return image;
}

xelfw::Image MakeDestination(UINT width, UINT height, const xelfw::PixelLayout& layout) {
  xelfw::Image image(width, height, layout);
  const UINT unitBits = layout.memBPC == 32 ? ~0u : (1u << layout.memBPC) - 1;
  for (UINT y = 0; y < height; ++y)
    for (UINT x = 0; x < width; ++x)
      for (UINT u = 0; u < layout.unitsPerPixel; ++u) image.SetUnit(x, y, u, kPadding & unitBits);
  return image;
}

std::vector<BYTE> Bytes(const xelfw::Image& image) { return {image.Data(), image.Data() + image.FrameBytes()}; }

// --- the reference test ------------------------------------------------------------------------------
struct SourceFormat {
  UINT memBPC, imgBPC, lsb;
};
struct DestinationFormat {
  UINT memBPC, units, order, imgBPC, lsb;
};

TEST(ProcessTest, MatchesReferenceForEverySourceUnitAndDestinationPacking) {
  const SourceFormat sources[] = {{8, 1, 0},   {8, 3, 5},   {8, 8, 0},   {16, 10, 3}, {16, 12, 0},
                                  {16, 12, 4}, {16, 16, 0}, {32, 8, 20}, {32, 14, 9}, {32, 16, 0}};
  const DestinationFormat destinations[] = {{8, 3, XI_ORDER_RGB, 8, 0},   {8, 3, XI_ORDER_BGR, 8, 0},
                                            {8, 4, XI_ORDER_RGB, 8, 0},   {8, 4, XI_ORDER_BGR, 6, 1},
                                            {16, 3, XI_ORDER_RGB, 16, 0}, {16, 3, XI_ORDER_BGR, 12, 4},
                                            {16, 4, XI_ORDER_RGB, 16, 0}, {16, 4, XI_ORDER_BGR, 10, 0}};
  const UINT profiles[] = {kProfileBlueGreenYellowRed, kProfileGreyWedge, kProfileClipDetect};
  const UINT width = 67, height = 5;
  UINT run = 0;
  for (const SourceFormat& s : sources) {
    const xelfw::Image source = MakeSource(width, height, s.imgBPC, s.memBPC, s.lsb);
    for (const DestinationFormat& d : destinations) {
      const UINT profile = profiles[run % 3];
      const double lower = run % 2 ? 0.1 : 0.0, upper = run % 4 ? 0.85 : 1.0;
      ++run;
      SCOPED_TRACE(testing::Message() << "source " << s.memBPC << "/" << s.imgBPC << "@" << s.lsb << ", dest "
                                      << d.memBPC << "x" << d.units << " order " << d.order << " " << d.imgBPC << "@"
                                      << d.lsb << ", profile " << profile);
      xelfw::Image destination =
          MakeDestination(width, height, xelfw::PixelLayout::Colour(d.memBPC, d.units, d.order, d.imgBPC, d.lsb));
      Rig rig;
      rig.SelectProfile(profile);
      rig.SetBounds(lower, upper);
      rig.SetImages(const_cast<xelfw::Image*>(&source), &destination);
      ASSERT_EQ(rig.Process(), XIP_OK);
      for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x) {
          const UINT grey = source.GetComponent(x, y, 0);
          for (UINT c = 0; c < 3; ++c) {
            const UINT expected = ReferenceComponent(grey, s.imgBPC, lower, upper, profile, c, d.imgBPC) << d.lsb;
            ASSERT_EQ(destination.GetUnit(x, y, destination.GetComponentPos(c)), expected)
                << "pixel " << x << "," << y << " grey " << grey << " channel " << c;
          }
          if (d.units == 4) {
            ASSERT_EQ(destination.GetUnit(x, y, 3), kPadding & ((1u << d.memBPC) - 1));
          }
        }
    }
  }
}

TEST(ProcessTest, WorkerThreadsGiveTheSameBytesAsTheCallingThread) {
  for (const auto& [width, height] : {std::pair{333u, 7u}, std::pair{17u, 2u}, std::pair{1u, 5u}}) {
    const xelfw::Image source = MakeSource(width, height, 12, 16, 2);
    std::vector<std::vector<BYTE>> results;
    for (const UINT processors : {1u, 2u, 3u}) {
      xelfw::Image destination = MakeDestination(width, height, xelfw::PixelLayout::Colour(8, 3));
      Rig rig(processors);
      rig.SetImages(const_cast<xelfw::Image*>(&source), &destination);
      ASSERT_EQ(rig.Process(), XIP_OK);
      const std::string line =
          processors == 1 || height == 1
              ? "CXelPseudoColorClass::Process: processing will be completely done by current thread"
              : "CXelPseudoColorClass::Process: processing will be parallelized by " +
                    std::to_string(std::min(processors, height)) + " threads.";
      EXPECT_TRUE(rig.Logged(line)) << line;
      results.push_back(Bytes(destination));
    }
    EXPECT_EQ(results[1], results[0]) << width << "x" << height;
    EXPECT_EQ(results[2], results[0]) << width << "x" << height;
  }
}

// --- refusals ------------------------------------------------------------------------------------------

// An image that reports one property differently from the real image behind it, as a faulty or
// unusual host would.
class MisreportingImage final : public CXelImage_0 {
 public:
  explicit MisreportingImage(xelfw::Image& real) : m_Real(real) {}
  std::optional<UINT> memBPC, imgBPC, mask, bitsPerPixel;

  XI_IMGFORMAT GetFormat() const override { return m_Real.GetFormat(); }
  UINT GetImgBPC() const override { return imgBPC.value_or(m_Real.GetImgBPC()); }
  UINT GetMemBPC() const override { return memBPC.value_or(m_Real.GetMemBPC()); }
  UINT GetBitsPerPixel() const override { return bitsPerPixel.value_or(m_Real.GetBitsPerPixel()); }
  UINT GetNumComponents() const override { return m_Real.GetNumComponents(); }
  UINT GetComponentPos(UINT c) const override { return m_Real.GetComponentPos(c); }
  UINT GetMsbPos() const override { return m_Real.GetMsbPos(); }
  UINT GetLsbPos() const override { return m_Real.GetLsbPos(); }
  UINT GetComponentMask() const override { return mask.value_or(m_Real.GetComponentMask()); }
  UINT GetAoiWidth(const CXelAoi_0* aoi) const override { return m_Real.GetAoiWidth(aoi); }
  UINT GetAoiHeight(const CXelAoi_0* aoi) const override { return m_Real.GetAoiHeight(aoi); }
  BYTE* GetRowAddress(UINT row, UINT column, uintptr_t a1, const CXelAoi_0* aoi, uintptr_t a2) const override {
    return m_Real.GetRowAddress(row, column, a1, aoi, a2);
  }

 private:
  xelfw::Image& m_Real;
};

class ProcessRefusalTest : public testing::Test {
 protected:
  xelfw::Image source = MakeSource(16, 4, 8, 16, 0);
  xelfw::Image destination = MakeDestination(16, 4, xelfw::PixelLayout::Colour(8, 3));
  Rig rig;

  // The refusal's code, its lines in order, and the destination as it was.
  void ExpectRefusal(UINT code, const std::vector<std::string>& lines) {
    const std::vector<BYTE> before = Bytes(destination);
    EXPECT_EQ(rig.Process(), code);
    std::vector<std::string> texts = rig.logger.Texts();
    auto at = texts.begin();
    for (const std::string& line : lines) {
      at = std::find(at, texts.end(), line);
      EXPECT_NE(at, texts.end()) << "missing or out of order: " << line;
    }
    EXPECT_FALSE(rig.Logged("CXelLut::Process: exit -> success"));
    EXPECT_EQ(Bytes(destination), before);
  }
};

TEST_F(ProcessRefusalTest, MissingImages) {
  rig.SetImages(nullptr, &destination);
  ExpectRefusal(XIP_E_NOIMAGE, {"Entering CXelPseudoColorClass::Process", "Invalid source image",
                                "Leaving CXelPseudoColorClass::Process"});
  rig.SetImages(&source, nullptr);
  ExpectRefusal(XIP_E_NOIMAGE, {"Invalid dest image", "Leaving CXelPseudoColorClass::Process"});
}

TEST_F(ProcessRefusalTest, FormatsTheLutCannotServe) {
  xelfw::Image colourSource = MakeDestination(16, 4, xelfw::PixelLayout::Colour(8, 3));
  rig.SetImages(&colourSource, &destination);
  const std::string lutLine =
      "Image classes of source and destination image do not match or LUT table initalization error";
  ExpectRefusal(XIP_E_FORMAT, {lutLine, "Leaving CXelPseudoColorClass::Process"});

  MisreportingImage deep(source);
  deep.imgBPC = 17;
  rig.SetImages(&deep, &destination);
  ExpectRefusal(XIP_E_FORMAT, {lutLine});
}

TEST_F(ProcessRefusalTest, AoisThatAreNotPlainRectangles) {
  const std::string line = "Source or dest AOI is not rectangular! LUT requires rectangular AOI's";
  const xelfw::Aoi nonRectangular(RECT{0, 0, 8, 4}, FALSE, TRUE);
  rig.SetImages(&source, &destination, &nonRectangular, nullptr);
  ExpectRefusal(XIP_E_AOI, {line, "Leaving CXelPseudoColorClass::Process"});
  const xelfw::Aoi complex(RECT{0, 0, 8, 4}, TRUE, FALSE);
  rig.SetImages(&source, &destination, nullptr, &complex);
  ExpectRefusal(XIP_E_AOI, {line});
}

TEST_F(ProcessRefusalTest, EmptyArea) {
  const xelfw::Aoi empty = xelfw::Aoi::FromSize(2, 0, 0, 4);
  rig.SetImages(&source, &destination, nullptr, &empty);
  ExpectRefusal(XIP_E_AOI, {"Width = 0, Height = 4", "Invalid source and/or destination resolution!"});
}

TEST_F(ProcessRefusalTest, StorageWidthsWithoutKernel) {
  MisreportingImage twelveBitUnits(source);
  twelveBitUnits.memBPC = 12;
  rig.SetImages(&twelveBitUnits, &destination);
  ExpectRefusal(XIP_E_FORMAT, {"MemBPC (src = 12, dst = 8)", "Invalid source bit depth (= 12)!"});

  xelfw::Image wide = MakeDestination(16, 4, xelfw::PixelLayout::Colour(32, 3));
  rig.SetImages(&source, &wide);
  const std::vector<BYTE> before = Bytes(wide);
  EXPECT_EQ(rig.Process(), XIP_E_FORMAT);
  EXPECT_TRUE(rig.Logged("Invalid dest bit depth (= 32)!"));
  EXPECT_EQ(Bytes(wide), before);
}

TEST_F(ProcessRefusalTest, LayoutsTheKernelsWouldOverrun) {
  MisreportingImage loose(source);  // 8 significant bits, but a mask claiming all 16
  loose.mask = 0xFFFF;
  rig.SetImages(&loose, &destination);
  ExpectRefusal(XIP_E_FORMAT, {"Invalid source layout (mask = 0x0000FFFF, ImgBPC = 8, step = 2)!"});

  MisreportingImage narrow(destination);  // three byte components in a two-byte pixel
  narrow.bitsPerPixel = 16;
  rig.SetImages(&source, &narrow);
  ExpectRefusal(XIP_E_FORMAT, {"Invalid dest layout (components = 3, step = 2)!"});
}

TEST_F(ProcessRefusalTest, HostRefusesProgress) {
  rig.host.Record().SetZeroProgressHook([](CXelImgProcess_0*) { return FALSE; });
  rig.SetImages(&source, &destination);
  ExpectRefusal(XIP_E_PROGRESS_REFUSED, {"Initial function pointer pattern index = 1"});
  EXPECT_FALSE(rig.Logged("Leaving CXelPseudoColorClass::Process"));
}

TEST(ProcessLogTest, ReportsFormatsAndKernelChoice) {
  xelfw::Image source = MakeSource(8, 2, 12, 16, 0);
  xelfw::Image destination = MakeDestination(8, 2, xelfw::PixelLayout::Colour(8, 4));
  Rig rig;
  rig.SetImages(&source, &destination);
  ASSERT_EQ(rig.Process(), XIP_OK);
  for (const char* line : {"Entering CXelPseudoColorClass::Process", "MemBPC (src = 16, dst = 8)",
                           "ImgBPC (src = 12, dst = 8)", "MsbPos (src = 11, dst = 7)", "LsbPos (src = 0, dst = 0)",
                           "Component Mask (src = 0x00000FFF, dst = 0x000000FF)", "Stepsize [BYTES] (src = 2, dst = 4)",
                           "Initial function pointer pattern index = 1", "CXelLut::Process: exit -> success"})
    EXPECT_TRUE(rig.Logged(line)) << line;

  xelfw::Image byteSource = MakeSource(8, 2, 8, 8, 0);
  xelfw::Image wideDestination = MakeDestination(8, 2, xelfw::PixelLayout::Colour(16, 3));
  rig.SetImages(&byteSource, &wideDestination);
  ASSERT_EQ(rig.Process(), XIP_OK);
  EXPECT_TRUE(rig.Logged("Initial function pointer pattern index = 4"));
}

}  // namespace
