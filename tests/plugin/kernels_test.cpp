// The row kernels as a host sees them: every packing, rows that start at odd addresses, and nothing
// written outside the area or into a pixel's padding.
#include "pseudo_color_rig.h"

namespace {

using namespace pseudo_color_rig;

constexpr UINT kUntouched = 0x5A5A;

struct Packing {
  UINT memBPC, units, order;
};

// Grey wedge over the full range: an 8-bit grey g becomes g in 8-bit units and g * 257 in 16-bit ones.
UINT Wedge(UINT grey, UINT memBPC) { return memBPC == 8 ? grey : grey * 257; }

TEST(KernelTest, WritesExactlyTheAreaAtAnyAlignment) {
  const Packing packings[] = {
      {8, 3, XI_ORDER_RGB}, {8, 3, XI_ORDER_BGR}, {8, 4, XI_ORDER_RGB}, {16, 3, XI_ORDER_BGR}, {16, 4, XI_ORDER_RGB}};
  const UINT width = 21, height = 4;
  for (const UINT srcMemBPC : {8u, 16u, 32u}) {
    for (const Packing& packing : packings) {
      SCOPED_TRACE(testing::Message() << "source unit " << srcMemBPC << ", dest " << packing.memBPC << "x"
                                      << packing.units << " order " << packing.order);
      xelfw::Image source(width, height, xelfw::PixelLayout::Grey(8, srcMemBPC));
      xelfw::Image destination(width, height, xelfw::PixelLayout::Colour(packing.memBPC, packing.units, packing.order));
      for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x) {
          source.SetUnit(x, y, 0, (x * 37 + y * 11) & 0xFF);
          for (UINT u = 0; u < packing.units; ++u)
            destination.SetUnit(x, y, u, kUntouched & ((1u << packing.memBPC) - 1));
        }
      // Odd offsets put the rows of both images at addresses no wider unit is aligned to.
      const xelfw::Aoi sourceAoi = xelfw::Aoi::FromSize(1, 0, 13, height);
      const xelfw::Aoi destinationAoi = xelfw::Aoi::FromSize(5, 1, 13, 2);
      Rig rig;
      rig.SelectProfile(kProfileGreyWedge);
      rig.SetImages(&source, &destination, &sourceAoi, &destinationAoi);
      ASSERT_EQ(rig.Process(), XIP_OK);

      for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x) {
          const bool inside = x >= 5 && x < 18 && y >= 1 && y < 3;
          for (UINT u = 0; u < packing.units; ++u) {
            const bool written = inside && u < 3;
            const UINT expected = written ? Wedge(source.GetUnit(x - 4, y - 1, 0), packing.memBPC)
                                          : kUntouched & ((1u << packing.memBPC) - 1);
            ASSERT_EQ(destination.GetUnit(x, y, u), expected) << "pixel " << x << "," << y << " unit " << u;
          }
        }
    }
  }
}

}  // namespace
