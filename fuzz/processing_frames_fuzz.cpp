// Arbitrary pixel layouts, areas, bounds, settings and pixels through Process: whatever the framework
// can describe must either be converted or refused with a code, never read past a table or write
// outside the destination's area.
#include "fuzz/fuzz_input.h"

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/ProcessingHost.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

using fuzz::Input;

constexpr UINT kStorage[] = {8, 16, 32};
constexpr BYTE kOutside = 0xC3;

xelfw::Aoi TakeAoi(Input& in) {
  const LONG left = in.Pick(6), top = in.Pick(4);
  return xelfw::Aoi(RECT{left, top, left + static_cast<LONG>(in.Pick(24)), top + static_cast<LONG>(in.Pick(8))},
                    in.Pick(8) == 0, in.Pick(8) == 0);
}

// The table's size doubles with every bit, and depths above 10 add no new paths; one input in four
// takes them, so the others run fast.
UINT TakeSourceDepth(Input& in) { return in.Pick(4) == 0 ? 1 + in.Pick(16) : 1 + in.Pick(10); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  Input in(data, size);
  const UINT width = 1 + in.Pick(20), height = 1 + in.Pick(6);
  std::vector<std::uint8_t> settings(128);
  for (auto& byte : settings) byte = in.Take<std::uint8_t>();
  const UINT profile = in.Pick(6);
  const UINT processors = 1 + in.Pick(3);
  try {
    const UINT srcMem = kStorage[in.Pick(3)];
    const xelfw::PixelLayout sourceLayout = xelfw::PixelLayout::Grey(TakeSourceDepth(in), srcMem, in.Pick(srcMem));
    const UINT dstMem = kStorage[in.Pick(3)];
    const xelfw::PixelLayout destinationLayout =
        xelfw::PixelLayout::Colour(dstMem, 3 + in.Pick(2), in.Pick(2), in.Pick(dstMem + 1), in.Pick(dstMem));
    xelfw::Image source(width, height, sourceLayout);
    xelfw::Image destination(width + 2, height, destinationLayout);
    for (UINT y = 0; y < height; ++y)
      for (UINT x = 0; x < width; ++x) source.SetUnit(x, y, 0, in.Take<UINT>());
    std::memset(destination.Data(), kOutside, destination.FrameBytes());
    const xelfw::Aoi sourceAoi = TakeAoi(in);
    const xelfw::Aoi destinationAoi = TakeAoi(in);

    xelfw::ProcessingHost host(library, XIP_OBJTYPE_PSEUDOCOLOR_LUT, xelfw::HostOptions{processors, nullptr});
    host.Object().SetParam(12, reinterpret_cast<UINT_PTR>(settings.data()), settings.size());
    host.Object().SetParam(XIP_PARAM_OBJECT_INDEX, profile, 0);
    host.SetSource(&source, &sourceAoi);
    host.SetDestination(&destination, &destinationAoi);
    const std::vector<BYTE> before(destination.Data(), destination.Data() + destination.FrameBytes());
    const UINT result = host.Process();
    const std::vector<BYTE> after(destination.Data(), destination.Data() + destination.FrameBytes());
    if (result != XIP_OK && before != after) std::abort();  // a refusal changed the destination

    // Outside the destination's area nothing changes.
    const RECT area = destinationAoi.GetBoundingRect();
    const std::size_t pixelBytes = destinationLayout.BytesPerPixel();
    for (UINT y = 0; y < height; ++y)
      for (UINT x = 0; x < width + 2; ++x) {
        const bool inside = static_cast<LONG>(x) >= area.left && static_cast<LONG>(x) < area.right &&
                            static_cast<LONG>(y) >= area.top && static_cast<LONG>(y) < area.bottom;
        if (inside) continue;
        const std::size_t at = y * destination.Stride() + x * pixelBytes;
        for (std::size_t b = 0; b < pixelBytes; ++b)
          if (after[at + b] != kOutside) std::abort();
      }
  } catch (const std::invalid_argument&) {
    // A layout the framework cannot describe: nothing to convert.
  }
  return 0;
}
