// Records and identifiers of the framework's statistics object (object type 67).
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <cstddef>

// Parameters of the statistics object (SetParam).
inline constexpr UINT XIP_STAT_PARAM_LOGGER = 4;  // value: CXelLogger_0* (null: silent)
inline constexpr UINT XIP_STAT_PARAM_AOI = 6;     // value: image index (0); size word: CXelAoi_0* (null: whole image)

// Modes of Process and the matching GetSpecialData identifiers.
inline constexpr UINT XIP_STAT_MODE_STATISTICS = 1;  // measures; GetSpecialData(XIP_STAT_DATA_STATISTICS)
inline constexpr UINT XIP_STAT_MODE_HISTOGRAM = 2;   // counts;   GetSpecialData(XIP_STAT_DATA_HISTOGRAM)
inline constexpr UINT XIP_STAT_DATA_STATISTICS = 0;
inline constexpr UINT XIP_STAT_DATA_HISTOGRAM = 1;

// Histogram of the source inside the AOI: one bin per grey value (2^ImgBPC bins) and one channel per
// image component. The bin counters follow the header at BinArrayOffset, channel 0 first, each
// channel NumBins unsigned 32-bit counts with bin 0 (grey 0) first.
struct THistogramResult {
  UINT RecordSize;  // bytes, header and bins
  UINT NumChannels;
  UINT ImgBPC;             // significant bits of the counted values
  UINT NumBins;            // per channel
  UINT MinValue;           // smallest value counted in channel 0 (0 when none)
  UINT MaxValue;           // largest value counted in channel 0 (0 when none)
  UINT ChannelValueCount;  // values counted in channel 0
  UINT BinArrayOffset;
  UINT NumPixels;        // pixels inside the AOI
  UINT TotalValueCount;  // values counted in all channels
};
static_assert(sizeof(THistogramResult) == 40);
static_assert(offsetof(THistogramResult, NumChannels) == 4);
static_assert(offsetof(THistogramResult, NumBins) == 12);
static_assert(offsetof(THistogramResult, ChannelValueCount) == 24);
static_assert(offsetof(THistogramResult, BinArrayOffset) == 28);
static_assert(offsetof(THistogramResult, TotalValueCount) == 36);

// Measurement of the source inside the AOI, over every component value of every pixel, in grey-value
// units of the source (component value = (unit & mask) >> LSB position).
struct TStatisticsResult {
  UINT RecordSize;
  UINT NumChannels;
  UINT NumPixels;
  UINT ImgBPC;
  double MinValue;
  double MaxValue;
  double MeanValue;
  double StdDeviation;
};
static_assert(sizeof(TStatisticsResult) == 48);
static_assert(offsetof(TStatisticsResult, MeanValue) == 32);
