// Histogram and measurement of the source image inside an AOI, read through the image interface so
// that any layout an image describes is counted the same way.
#include <xelfw/StatisticsObject.h>

#include "storage_units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace xelfw {

namespace {

constexpr UINT kMaxImgBPC = 16;
constexpr UINT kHeaderWords = sizeof(THistogramResult) / sizeof(UINT);

template <typename Unit, typename Visit>
void VisitUnits(const BYTE* row, UINT width, UINT mask, UINT shift, Visit& visit) {
  for (UINT x = 0; x < width; ++x) {
    Unit unit;
    std::memcpy(&unit, row + std::size_t{x} * sizeof unit, sizeof unit);
    visit(0u, (UINT{unit} & mask) >> shift);
  }
}

// Calls visit(channel, value) for every component value inside the AOI, row by row.
template <typename Visit>
void ForEachValue(const CXelImage_0& image, const CXelAoi_0* aoi, UINT_PTR access1, UINT_PTR access2, Visit visit) {
  const UINT width = image.GetAoiWidth(aoi);
  const UINT height = image.GetAoiHeight(aoi);
  const UINT memBPC = image.GetMemBPC();
  const UINT channels = image.GetNumComponents();
  const UINT pixelBytes = image.GetBitsPerPixel() / 8;
  const UINT mask = image.GetComponentMask();
  const UINT shift = image.GetLsbPos() % 32;
  UINT offsets[4] = {};
  for (UINT c = 0; c < channels && c < 4; ++c) offsets[c] = image.GetComponentPos(c) * memBPC / 8;
  // Greyscale in whole 8- or 16-bit units, what cameras deliver, is read without asking each value
  // its unit size: the histogram of every frame's automatic window runs through here.
  const bool packedGrey = channels == 1 && offsets[0] == 0 && pixelBytes * 8 == memBPC;
  for (UINT row = 0; row < height; ++row) {
    const BYTE* pixel = image.GetRowAddress(row, 0, access1, aoi, access2);
    if (pixel == nullptr) continue;
    if (packedGrey && memBPC == 16) {
      VisitUnits<std::uint16_t>(pixel, width, mask, shift, visit);
      continue;
    }
    if (packedGrey && memBPC == 8) {
      VisitUnits<std::uint8_t>(pixel, width, mask, shift, visit);
      continue;
    }
    for (UINT x = 0; x < width; ++x, pixel += pixelBytes) {
      for (UINT c = 0; c < channels && c < 4; ++c)
        visit(c, (ReadStorageUnit(pixel + offsets[c], memBPC) & mask) >> shift);
    }
  }
}

}  // namespace

StatisticsObject::StatisticsObject(CXelImgProcessInstance_0* instance) : CXelImgProcess(instance) {}

UINT StatisticsObject::GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) {
  if (id != XIP_STAT_PARAM_LOGGER && id != XIP_STAT_PARAM_AOI) {
    return CXelImgProcess::GetParamLimits(id, minValue, maxValue, minSize, maxSize);
  }
  if (minValue != nullptr) *minValue = 0;
  if (maxValue != nullptr) *maxValue = id == XIP_STAT_PARAM_AOI ? 0 : 0xFFFFFFFF;
  if (minSize != nullptr) *minSize = 0;
  if (maxSize != nullptr) *maxSize = id == XIP_STAT_PARAM_AOI ? 0xFFFFFFFF : 0;
  return XIP_OK;
}

UINT StatisticsObject::SetParam(UINT id, UINT_PTR value, UINT_PTR size) {
  switch (id) {
    case XIP_STAT_PARAM_LOGGER:
      m_pLogger = reinterpret_cast<CXelLogger_0*>(value);
      return XIP_OK;
    case XIP_STAT_PARAM_AOI:
      if (value != 0) return XIP_E_BADARG;
      m_pMeasureAoi = reinterpret_cast<const CXelAoi_0*>(size);
      return XIP_OK;
    default:
      return CXelImgProcess::SetParam(id, value, size);
  }
}

UINT StatisticsObject::GetParam(UINT id, UINT_PTR value, UINT_PTR extra) {
  switch (id) {
    case XIP_STAT_PARAM_LOGGER:
    case XIP_STAT_PARAM_AOI:
      if (value == 0) return XIP_E_BADARG;
      *reinterpret_cast<UINT_PTR*>(value) = id == XIP_STAT_PARAM_LOGGER ? reinterpret_cast<UINT_PTR>(m_pLogger)
                                                                        : reinterpret_cast<UINT_PTR>(m_pMeasureAoi);
      return XIP_OK;
    default:
      return CXelImgProcess::GetParam(id, value, extra);
  }
}

UINT StatisticsObject::Fail(UINT code, const char* reason) {
  if (m_pLogger != nullptr) m_pLogger->LogPrint("StatisticsObject::Process: %s", reason);
  SetEndTimeStamp();
  return code;
}

UINT StatisticsObject::Process(UINT mode) {
  SetStartTimeStamp();
  m_HaveStatistics = false;
  m_HaveHistogram = false;
  if (mode != XIP_STAT_MODE_STATISTICS && mode != XIP_STAT_MODE_HISTOGRAM) return Fail(XIP_E_BADARG, "unknown mode");
  const CXelImage_0* image = GetValidImage(0);
  if (image == nullptr) return Fail(XIP_E_NOIMAGE, "no source image");
  if (image->GetImgBPC() > kMaxImgBPC || image->GetImgBPC() == 0 || image->GetNumComponents() == 0 ||
      image->GetNumComponents() > 4) {
    return Fail(XIP_E_FORMAT, "source format not supported");
  }
  if (m_pMeasureAoi != nullptr && (m_pMeasureAoi->IsComplex() || m_pMeasureAoi->IsNonRectangular())) {
    return Fail(XIP_E_AOI, "AOI is not a rectangle");
  }
  if (image->GetAoiWidth(m_pMeasureAoi) == 0 || image->GetAoiHeight(m_pMeasureAoi) == 0) {
    return Fail(XIP_E_AOI, "AOI selects no pixel");
  }
  if (mode == XIP_STAT_MODE_STATISTICS) {
    Measure(*image);
  } else {
    Count(*image);
  }
  SetEndTimeStamp();
  return XIP_OK;
}

void StatisticsObject::Measure(const CXelImage_0& image) {
  double sum = 0.0;
  double sumSquares = 0.0;
  double count = 0.0;
  UINT low = std::numeric_limits<UINT>::max();
  UINT high = 0;
  ForEachValue(image, m_pMeasureAoi, m_ImageAccess1[0], m_ImageAccess2[0], [&](UINT, UINT value) {
    const double v = value;
    sum += v;
    sumSquares += v * v;
    count += 1.0;
    low = std::min(low, value);
    high = std::max(high, value);
  });
  if (count == 0.0) return;
  const double mean = sum / count;
  m_Statistics = TStatisticsResult{};
  m_Statistics.RecordSize = sizeof(TStatisticsResult);
  m_Statistics.NumChannels = image.GetNumComponents();
  m_Statistics.NumPixels = image.GetAoiWidth(m_pMeasureAoi) * image.GetAoiHeight(m_pMeasureAoi);
  m_Statistics.ImgBPC = image.GetImgBPC();
  m_Statistics.MinValue = low;
  m_Statistics.MaxValue = high;
  m_Statistics.MeanValue = mean;
  m_Statistics.StdDeviation = std::sqrt(std::max(0.0, sumSquares / count - mean * mean));
  m_HaveStatistics = true;
}

void StatisticsObject::Count(const CXelImage_0& image) {
  const UINT channels = image.GetNumComponents();
  const UINT bins = 1u << image.GetImgBPC();
  m_Histogram.assign(kHeaderWords + std::size_t{channels} * bins, 0);
  UINT* counters = m_Histogram.data() + kHeaderWords;
  UINT total = 0;
  ForEachValue(image, m_pMeasureAoi, m_ImageAccess1[0], m_ImageAccess2[0], [&](UINT channel, UINT value) {
    // The mask keeps values below 2^ImgBPC for any honest image; a larger one is counted in the top bin.
    ++counters[std::size_t{channel} * bins + std::min(value, bins - 1)];
    ++total;
  });
  THistogramResult header{};
  header.RecordSize = static_cast<UINT>(m_Histogram.size() * sizeof(UINT));
  header.NumChannels = channels;
  header.ImgBPC = image.GetImgBPC();
  header.NumBins = bins;
  header.BinArrayOffset = sizeof(THistogramResult);
  header.NumPixels = image.GetAoiWidth(m_pMeasureAoi) * image.GetAoiHeight(m_pMeasureAoi);
  header.TotalValueCount = total;
  bool seen = false;
  for (UINT bin = 0; bin < bins; ++bin) {
    if (counters[bin] == 0) continue;
    header.ChannelValueCount += counters[bin];
    if (!seen) header.MinValue = bin;
    header.MaxValue = bin;
    seen = true;
  }
  std::memcpy(m_Histogram.data(), &header, sizeof header);
  m_HaveHistogram = true;
}

void* StatisticsObject::GetSpecialData(UINT id) {
  if (id == XIP_STAT_DATA_STATISTICS) return m_HaveStatistics ? &m_Statistics : nullptr;
  if (id == XIP_STAT_DATA_HISTOGRAM) return m_HaveHistogram ? static_cast<void*>(m_Histogram.data()) : nullptr;
  return nullptr;
}

}  // namespace xelfw
