// Every kernel is one template instance. The per-component loop is the reference behaviour; the
// packed path, taken for the usual three-component layouts, looks up all three tables in a single
// pass over the row and writes each pixel with one store. Both give the same bytes.
#include "pseudocolor/kernels.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// Rows may start at any byte address, so every unit goes through memcpy.
template <typename T>
T LoadUnit(const BYTE* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void StoreUnit(BYTE* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

template <typename S>
UINT GreyAt(const BYTE* pSrc, UINT srcMask, UINT srcShift) {
  return (static_cast<UINT>(LoadUnit<S>(pSrc)) & srcMask) >> srcShift;
}

template <typename S, typename D>
void ConvertPerComponent(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                         const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents,
                         UINT width) {
  for (UINT c = numComponents; c-- > 0;) {
    if (pDstOffsets[c] < 0) continue;
    const D* table = static_cast<const D*>(pLuts[c]);
    const BYTE* pSrc = pSrcRow;
    BYTE* pDst = pDstRow + pDstOffsets[c];
    for (UINT x = 0; x < width; ++x, pSrc += srcStep, pDst += dstStep)
      StoreUnit<D>(pDst, table[GreyAt<S>(pSrc, srcMask, srcShift)]);
  }
}

// The tables of the three components in the order of their units inside a pixel, when the pixel is
// exactly three units (or three units and one left alone) holding the three components in any
// order. Null entries otherwise.
template <typename D>
struct PackedTables {
  const D* byUnit[3] = {};
  bool padded = false;

  PackedTables(const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents) {
    constexpr UINT unit = sizeof(D);
    if (numComponents < 3 || numComponents > 4) return;
    if (numComponents == 4 && pDstOffsets[3] >= 0) return;
    if (dstStep != 3 * unit && dstStep != 4 * unit) return;
    const D* found[3] = {};
    for (UINT c = 0; c < 3; ++c) {
      const INT offset = pDstOffsets[c];
      if (offset < 0 || offset % unit != 0 || offset / unit >= 3) return;
      const D*& slot = found[offset / unit];
      if (slot != nullptr) return;  // two components in one unit: the plain loop decides which wins
      slot = static_cast<const D*>(pLuts[c]);
    }
    for (UINT u = 0; u < 3; ++u) byUnit[u] = found[u];
    padded = dstStep == 4 * unit;
  }
  explicit operator bool() const { return byUnit[0] != nullptr; }
};

// 8- and 16-bit units: the three units of a pixel form the low part of one machine word.
template <typename D>
using PixelWord = std::conditional_t<sizeof(D) == 1, std::uint32_t, std::uint64_t>;

template <typename S, typename D>
void ConvertPackedWords(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                        const PackedTables<D>& tables, UINT width) {
  using Word = PixelWord<D>;
  constexpr UINT bits = 8 * sizeof(D);
  constexpr UINT step3 = 3 * sizeof(D);
  const D* t0 = tables.byUnit[0];
  const D* t1 = tables.byUnit[1];
  const D* t2 = tables.byUnit[2];
  auto pixel = [&](const BYTE* pSrc) {
    const UINT g = GreyAt<S>(pSrc, srcMask, srcShift);
    return Word{t0[g]} | (Word{t1[g]} << bits) | (Word{t2[g]} << (2 * bits));
  };

  const BYTE* pSrc = pSrcRow;
  BYTE* pDst = pDstRow;
  if (tables.padded) {
    // The fourth unit is not ours to write, so each pixel is stored as its first two units and
    // then its third.
    using Pair = std::conditional_t<sizeof(D) == 1, std::uint16_t, std::uint32_t>;
    for (UINT x = 0; x < width; ++x, pSrc += srcStep, pDst += 4 * sizeof(D)) {
      const Word w = pixel(pSrc);
      StoreUnit<Pair>(pDst, static_cast<Pair>(w));
      StoreUnit<D>(pDst + 2 * sizeof(D), static_cast<D>(w >> (2 * bits)));
    }
    return;
  }
  // The word's top unit spills into the next pixel's first unit, which that pixel then rewrites;
  // the row's last pixel is written unit by unit so that nothing past the row is touched.
  UINT x = 0;
  for (; x + 1 < width; ++x, pSrc += srcStep, pDst += step3) StoreUnit<Word>(pDst, pixel(pSrc));
  const Word last = pixel(pSrc);
  for (UINT u = 0; u < 3; ++u) StoreUnit<D>(pDst + u * sizeof(D), static_cast<D>(last >> (u * bits)));
}

template <typename S, typename D>
void ConvertPackedUnits(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow, UINT dstStep,
                        const PackedTables<D>& tables, UINT width) {
  const BYTE* pSrc = pSrcRow;
  BYTE* pDst = pDstRow;
  for (UINT x = 0; x < width; ++x, pSrc += srcStep, pDst += dstStep) {
    const UINT g = GreyAt<S>(pSrc, srcMask, srcShift);
    for (UINT u = 0; u < 3; ++u) StoreUnit<D>(pDst + u * sizeof(D), tables.byUnit[u][g]);
  }
}

template <typename S, typename D>
void LutKernel(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow, const INT* pDstOffsets,
               UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width) {
  if (width == 0 || numComponents == 0) return;
  const PackedTables<D> tables(pDstOffsets, dstStep, pLuts, numComponents);
  if (!tables) {
    ConvertPerComponent<S, D>(pSrcRow, srcStep, srcMask, srcShift, pDstRow, pDstOffsets, dstStep, pLuts, numComponents,
                              width);
  } else if constexpr (sizeof(D) <= 2) {
    ConvertPackedWords<S, D>(pSrcRow, srcStep, srcMask, srcShift, pDstRow, tables, width);
  } else {
    ConvertPackedUnits<S, D>(pSrcRow, srcStep, srcMask, srcShift, pDstRow, dstStep, tables, width);
  }
}

using U8 = std::uint8_t;
using U16 = std::uint16_t;
using U32 = std::uint32_t;

}  // namespace

#define XEL_DEFINE_LUT_KERNEL(name, S, D)                                                                             \
  void name(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow, const INT* pDstOffsets,    \
            UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width) {                                 \
    LutKernel<S, D>(pSrcRow, srcStep, srcMask, srcShift, pDstRow, pDstOffsets, dstStep, pLuts, numComponents, width); \
  }

XEL_DEFINE_LUT_KERNEL(LutKernel8To8, U8, U8)
XEL_DEFINE_LUT_KERNEL(LutKernel16To8, U16, U8)
XEL_DEFINE_LUT_KERNEL(LutKernel32To8, U32, U8)
XEL_DEFINE_LUT_KERNEL(LutKernel8To16, U8, U16)
XEL_DEFINE_LUT_KERNEL(LutKernel16To16, U16, U16)
XEL_DEFINE_LUT_KERNEL(LutKernel32To16, U32, U16)
XEL_DEFINE_LUT_KERNEL(LutKernel8To32, U8, U32)
XEL_DEFINE_LUT_KERNEL(LutKernel16To32, U16, U32)
XEL_DEFINE_LUT_KERNEL(LutKernel32To32, U32, U32)

#undef XEL_DEFINE_LUT_KERNEL

void FillKernelTable(TLutKernel (&table)[kKernelTableSize]) {
  for (TLutKernel& entry : table) entry = nullptr;
  table[0] = LutKernel8To8;
  table[1] = LutKernel16To8;
  table[2] = LutKernel32To8;
  table[4] = LutKernel8To16;
  table[5] = LutKernel16To16;
  table[6] = LutKernel32To16;
  table[8] = LutKernel8To32;
  table[9] = LutKernel16To32;
  table[10] = LutKernel32To32;
}
