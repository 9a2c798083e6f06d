// Bounds of the LUT window from the histogram of the current source, through the host's statistics
// object. Both operations only compute: the caller stores what they return.
#include "pseudocolor/CXelPseudoColorClass.h"

#include <XelImgProcess/XelStatistics.h>

#include <algorithm>

namespace {

struct THistogramView {
  UINT numBins;
  const UINT* bins;
  UINT channelValueCount;
  UINT totalValueCount;
};

THistogramView ViewOf(const THistogramResult& result) {
  const auto* base = reinterpret_cast<const BYTE*>(&result);
  return {result.NumBins, reinterpret_cast<const UINT*>(base + result.BinArrayOffset), result.ChannelValueCount,
          result.TotalValueCount};
}

UINT FractionOf(UINT total, double level) { return static_cast<UINT>(static_cast<double>(total) * level); }

// A window that slid below 0 moves up; one that reaches past 1 is cut there.
void KeepInside(double& lo, double& hi) {
  if (lo < 0.0) {
    hi -= lo;
    lo = 0.0;
  }
  if (hi > 1.0) hi = 1.0;
}

}  // namespace

// Runs the statistics object on the current source and returns its histogram, or null after logging
// why there is none. An AOI is handed over only for auto contrast; auto brightness keeps whatever
// the statistics object was given last.
const THistogramResult* CXelPseudoColorClass::RunHistogram(const char* operation, const CXelAoi_0* aoi, BOOL setAoi) {
  CXelImage_0* source = GetValidImage(0);
  pHistogramObj->SetImages(1, &source);
  if (setAoi) pHistogramObj->SetParam(XIP_STAT_PARAM_AOI, 0, reinterpret_cast<UINT_PTR>(aoi));
  const char* failure = nullptr;
  const THistogramResult* result = nullptr;
  if (pHistogramObj->Process(XIP_STAT_MODE_HISTOGRAM) != XIP_OK) {
    failure = "Could not calculate histogram";
  } else {
    result = static_cast<const THistogramResult*>(pHistogramObj->GetSpecialData(XIP_STAT_DATA_HISTOGRAM));
    if (result == nullptr) return nullptr;  // a statistics object without a histogram: nothing to say
    if (result->NumChannels != 1)
      failure = "Only one histogram channel supported";
    else if (result->TotalValueCount == 0)
      failure = "Histogram contains no values";
  }
  if (failure == nullptr) return result;
  Log("CXelPseudoColorClass::%s: %s", operation, failure);
  return nullptr;
}

BOOL CXelPseudoColorClass::CalculateAutoContrast(double* pLower, double* pUpper) {
  const TPseudoColorSettings& s = Settings;
  if (!(0.0 <= s.AutoContrastMinLevel && s.AutoContrastMaxLevel <= 1.0 &&
        s.AutoContrastMinLevel <= s.AutoContrastMaxLevel && s.AutoContrastDestRange <= 1.0 &&
        0.0 <= s.AutoContrastDestRange))
    return FALSE;
  if (pHistogramObj == nullptr || GetValidImage(0) == nullptr) return FALSE;
  const CXelAoi_0* aoi = m_pAoiOverride != nullptr ? m_pAoiOverride : GetAoi(0);
  const THistogramResult* result = RunHistogram("CalculateAutoContrast", aoi, TRUE);
  if (result == nullptr) return FALSE;
  const THistogramView h = ViewOf(*result);
  const UINT lowTarget = FractionOf(h.totalValueCount, s.AutoContrastMinLevel);
  const UINT highTarget = FractionOf(h.totalValueCount, s.AutoContrastMaxLevel);
  const UINT n = h.numBins;
  if (n == 0) return FALSE;

  UINT low = n;
  UINT sum = 0;
  for (UINT i = 0; i < n; ++i) {
    sum += h.bins[i];
    if (sum >= lowTarget) {
      low = i;
      break;
    }
  }
  if (low == n) return FALSE;

  // Walking down from the channel's count: the upper index lies one above the bin whose removal
  // brings the remainder down to the target.
  UINT high = 0;
  bool foundHigh = false;
  UINT remainder = h.channelValueCount;
  for (UINT k = n; k-- > 0;) {
    remainder -= h.bins[k];
    if (remainder <= highTarget) {
      high = k + 1;
      foundHigh = true;
      break;
    }
  }
  if (!foundHigh || low > high) return FALSE;

  const auto margin = static_cast<UINT>((high - low) * (1.0 - s.AutoContrastDestRange) * 0.5);
  const UINT lowWide = margin > low ? 0 : low - margin;
  const UINT highWide = std::min(high + margin, n - 1);
  double lo = static_cast<double>(lowWide) / n;
  double hi = static_cast<double>(highWide) / n;
  const double width = hi - lo;

  const bool limitsConsistent = s.AutoContrastMaxWidth >= s.AutoContrastMinWidth;
  if (s.AutoContrastMinWidthEnable && (limitsConsistent || !s.AutoContrastMaxWidthEnable) &&
      width < s.AutoContrastMinWidth) {
    const double grow = (s.AutoContrastMinWidth - width) * 0.5;
    lo -= grow;
    hi += grow;
    KeepInside(lo, hi);
  }
  if (s.AutoContrastMaxWidthEnable && (limitsConsistent || !s.AutoContrastMinWidthEnable) &&
      width > s.AutoContrastMaxWidth) {
    const double shrink = (width - s.AutoContrastMaxWidth) * 0.5;
    lo += shrink;
    hi -= shrink;
    KeepInside(lo, hi);
  }
  *pLower = lo;
  *pUpper = hi;
  return TRUE;
}

BOOL CXelPseudoColorClass::CalculateAutoBrightness(double* pLower, double* pUpper, double width) {
  const TPseudoColorSettings& s = Settings;
  if (!(0.0 <= s.AutoContrastMinLevel && s.AutoContrastMaxLevel <= 1.0 &&
        s.AutoContrastMinLevel <= s.AutoContrastMaxLevel))
    return FALSE;
  if (pHistogramObj == nullptr || GetValidImage(0) == nullptr) return FALSE;
  const THistogramResult* result = RunHistogram("CalculateAutoBrightness", nullptr, FALSE);
  if (result == nullptr) return FALSE;
  const THistogramView h = ViewOf(*result);
  const UINT n = h.numBins;
  // A histogram with values but no bins has no centre to find.
  if (n == 0) return FALSE;
  const UINT lowTarget = FractionOf(h.totalValueCount, s.AutoContrastMinLevel);
  const UINT highTail = FractionOf(h.totalValueCount, 1.0 - s.AutoContrastMaxLevel);

  UINT low = n - 1;
  UINT sum = 0;
  for (UINT i = 0; i + 1 < n; ++i) {
    sum += h.bins[i];
    if (sum > lowTarget) {
      low = i;
      break;
    }
  }
  UINT high = low;
  sum = 0;
  for (UINT k = n - 1; k > low; --k) {
    sum += h.bins[k];
    if (sum > highTail) {
      high = k;
      break;
    }
  }

  const double centre = (static_cast<double>(low) + high) / (2.0 * n);
  double lower = centre - width * 0.5;
  double upper = lower + width;
  if (lower < 0.0) {
    lower = 0.0;
    upper = width;
  }
  if (upper > 1.0) {
    upper = 1.0;
    lower = 1.0 - width;
  }
  *pLower = lower;
  *pUpper = upper;
  return TRUE;
}
