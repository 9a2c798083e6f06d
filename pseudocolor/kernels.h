// Row kernels: map one row of grey source units through the per-component LUTs into colour units.
#pragma once

#include <XelImgProcess/XelTypes.h>

// One row: every destination component c with a non-negative offset receives, for each pixel x,
// entry g of table c, where g = (source unit & srcMask) >> srcShift. The caller guarantees that g
// stays inside every table used and that every addressed unit lies inside the row.
using TLutKernel = void (*)(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                            const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents,
                            UINT width);

void LutKernel8To8(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                   const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel16To8(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                    const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel32To8(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                    const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel8To16(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                    const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel16To16(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                     const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel32To16(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                     const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel8To32(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                    const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel16To32(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                     const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);
void LutKernel32To32(const BYTE* pSrcRow, UINT srcStep, UINT srcMask, UINT srcShift, BYTE* pDstRow,
                     const INT* pDstOffsets, UINT dstStep, const void* const* pLuts, UINT numComponents, UINT width);

// Pattern index of a pair of storage widths: source code + 4 x destination code (8 -> 0, 16 -> 1,
// 32 -> 2). Indices 3, 7 and 11 to 15 stay empty.
inline constexpr UINT kKernelTableSize = 16;
void FillKernelTable(TLutKernel (&table)[kKernelTableSize]);
