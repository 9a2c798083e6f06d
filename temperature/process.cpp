#include "temperature/CXelTemperatureDisplayClass.h"

#include <XelImgProcess/XelStatistics.h>
#include <winui/afxwin.h>

#include <cstring>

namespace {

// 2^depth must fit the 32-bit grey-level count the conversion divides by.
constexpr UINT kMaxSupportedBitDepth = 31;

}  // namespace

UINT CXelTemperatureDisplayClass::Process(UINT /*mode*/) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_pLogger != nullptr) m_pLogger->LogPrint("Entering CXelTemperatureDisplayClass::Process");
  SetStartTimeStamp();

  CXelImage_0* image = GetValidImage(0);
  if (image == nullptr) {
    if (m_pLogger != nullptr) {
      m_pLogger->LogPrint("Invalid source image");
      m_pLogger->LogPrint("Leaving CXelLut::Process");
    }
    SetEndTimeStamp();
    return XIP_E_NOIMAGE;
  }

  const XI_IMGFORMAT format = image->GetFormat();
  if (XiFormatClass(format) != XI_IMGFORMAT_CLASS_GREYSCALE) {
    if (m_pLogger != nullptr) m_pLogger->LogPrint("Source image format XI_IMGFORMAT_CLASS_GREYSCALE expected!");
    SetEndTimeStamp();
    return XIP_E_FORMAT;
  }
  const UINT bitDepth = XiFormatBitDepth(format);
  if (bitDepth > kMaxSupportedBitDepth) {
    if (m_pLogger != nullptr)
      m_pLogger->LogPrint("CXelTemperatureDisplayClass::Process: source bit depth %u not supported", bitDepth);
    SetEndTimeStamp();
    return XIP_E_FORMAT;
  }
  if (pStatisticsObj == nullptr) {
    if (m_pLogger != nullptr) m_pLogger->LogPrint("Statistics object not available!");
    SetEndTimeStamp();
    return XIP_E_FORMAT;
  }

  const CXelAoi_0* aoi = GetAoi(0);
  pStatisticsObj->SetImages(1, &image);
  pStatisticsObj->SetParam(XIP_STAT_PARAM_AOI, 0, reinterpret_cast<UINT_PTR>(aoi));
  pStatisticsObj->SetParam(XIP_STAT_PARAM_LOGGER, reinterpret_cast<UINT_PTR>(m_pLogger), 0);
  // A failed measurement shows up as a missing record below.
  pStatisticsObj->Process(XIP_STAT_MODE_STATISTICS);
  const void* record = pStatisticsObj->GetSpecialData(XIP_STAT_DATA_STATISTICS);

  if (record != nullptr) {
    NumGreyLevels = UINT{1} << bitDepth;
    std::memcpy(&StatValue, static_cast<const BYTE*>(record) + offsetof(TStatisticsResult, MeanValue),
                sizeof StatValue);
  } else {
    NumGreyLevels = 0;
  }

  RefreshDialog(kTempDisplayRefreshTemperature);
  SetEndTimeStamp();
  if (m_pLogger != nullptr) m_pLogger->LogPrint("CXelLut::Process: exit -> success");
  return XIP_OK;
}
