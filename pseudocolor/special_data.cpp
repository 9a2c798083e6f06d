#include "pseudocolor/CXelPseudoColorClass.h"

namespace {
constexpr UINT kMaxSourceBitDepth = 16;
}

void* CXelPseudoColorClass::GetSpecialData(UINT id) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (id != 0) return nullptr;
  SpecialData = {};
  const CXelImage_0* source = GetImage(0);
  if (source == nullptr) return nullptr;
  const XI_IMGFORMAT format = source->GetFormat();
  if (XiFormatClass(format) != XI_IMGFORMAT_CLASS_GREYSCALE || XiFormatBitDepth(format) > kMaxSourceBitDepth)
    return nullptr;
  const CXelAoi_0* aoi = GetAoi(0);
  if (aoi->IsNonRectangular() != 0) return nullptr;
  SpecialData.Valid = 1;
  SpecialData.FormatClass = XI_IMGFORMAT_CLASS_RGB;
  SpecialData.Word3 = 16;
  SpecialData.Word4 = 16;
  SpecialData.Width = source->GetAoiWidth(aoi);
  SpecialData.Height = source->GetAoiHeight(aoi);
  SpecialData.MemBPC = source->GetMemBPC();
  Log("CXelPseudoColorClass::GetSpecialData:  success");
  return &SpecialData;
}
