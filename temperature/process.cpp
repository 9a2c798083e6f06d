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
  Log("Entering CXelTemperatureDisplayClass::Process");
  const CScopedTimeStamp timeStamp(*this);

  CXelImage_0* image = GetValidImage(0);
  if (image == nullptr) {
    Log("Invalid source image");
    Log("Leaving CXelLut::Process");
    return XIP_E_NOIMAGE;
  }

  const XI_IMGFORMAT format = image->GetFormat();
  if (XiFormatClass(format) != XI_IMGFORMAT_CLASS_GREYSCALE) {
    Log("Source image format XI_IMGFORMAT_CLASS_GREYSCALE expected!");
    return XIP_E_FORMAT;
  }
  const UINT bitDepth = XiFormatBitDepth(format);
  if (bitDepth > kMaxSupportedBitDepth) {
    Log("CXelTemperatureDisplayClass::Process: source bit depth %u not supported", bitDepth);
    return XIP_E_FORMAT;
  }
  if (pStatisticsObj == nullptr) {
    Log("Statistics object not available!");
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
  Log("CXelLut::Process: exit -> success");
  return XIP_OK;
}
