// What GetSpecialData(0) reports about the current source: seven 32-bit words a host reads by position.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstddef>

struct TPseudoColorSpecialData {
  UINT Valid;
  UINT FormatClass;  // the destination class the LUT needs: three-component colour
  UINT Word3;
  UINT Word4;
  UINT Width;   // source AOI
  UINT Height;  // source AOI
  UINT MemBPC;  // source storage bits per component
};

static_assert(sizeof(TPseudoColorSpecialData) == 28);
static_assert(offsetof(TPseudoColorSpecialData, Width) == 16);
static_assert(offsetof(TPseudoColorSpecialData, MemBPC) == 24);
