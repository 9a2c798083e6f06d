// The framework's statistics object (object type 67): histogram and measurement of image 0 in an AOI.
#pragma once

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/XelStatistics.h>

#include <vector>

namespace xelfw {

// SetParam(XIP_STAT_PARAM_AOI, 0, aoi) limits both modes to the AOI until the next such call (null:
// the whole image); SetParam(XIP_STAT_PARAM_LOGGER, logger, 0) names the logger for its failure
// lines. Process(XIP_STAT_MODE_STATISTICS) fills the statistics record, Process(XIP_STAT_MODE_HISTOGRAM)
// the histogram; each run drops the records of the previous one, so GetSpecialData gives only what
// the last run made. Sources of up to 16 significant bits a component are measured, in any layout
// the image interface describes.
class XEL_HOST_API StatisticsObject final : public CXelImgProcess {
 public:
  explicit StatisticsObject(CXelImgProcessInstance_0* instance);

  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_STATISTICS; }
  UINT GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) override;
  UINT SetParam(UINT id, UINT_PTR value, UINT_PTR size) override;
  UINT GetParam(UINT id, UINT_PTR value, UINT_PTR extra) override;
  // XIP_E_NOIMAGE without a source, XIP_E_FORMAT for more than 16 bits, XIP_E_AOI for an empty AOI,
  // XIP_E_BADARG for an unknown mode.
  UINT Process(UINT mode) override;
  void* GetSpecialData(UINT id) override;

 private:
  UINT Fail(UINT code, const char* reason);
  void Measure(const CXelImage_0& image);
  void Count(const CXelImage_0& image);

  const CXelAoi_0* m_pMeasureAoi = nullptr;
  bool m_HaveStatistics = false;
  TStatisticsResult m_Statistics{};
  bool m_HaveHistogram = false;
  std::vector<UINT> m_Histogram;  // THistogramResult header, then the bins
};

}  // namespace xelfw
