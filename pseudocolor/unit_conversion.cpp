#include "pseudocolor/CXelPseudoColorClass.h"

#include <algorithm>
#include <iterator>

void CXelPseudoColorClass::UpdateUnitConversion(const TPseudoColorSettings& settings) {
  if (pUnitConverter == nullptr) return;
  double scaleOffset[2] = {settings.UnitMax - settings.UnitMin, settings.UnitMin};
  const UINT span = GreySpan.load(std::memory_order_relaxed);
  if (span != 0) scaleOffset[0] /= static_cast<double>(span);
  // The record's text may lack its NUL when a host filled all 32 bytes.
  char unit[sizeof settings.UnitDesc + 1] = {};
  std::copy(std::begin(settings.UnitDesc), std::end(settings.UnitDesc), unit);
  pUnitConverter->SetUnitText(unit);
  pUnitConverter->SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, reinterpret_cast<UINT_PTR>(scaleOffset), 0, 0, 0);
  pUnitConverter->SetConvParam(XI_CONV_PARAM_NORMALIZATION, settings.UnitUseNormalization != 0 ? 1 : 0, 0, 0, 0);
}
