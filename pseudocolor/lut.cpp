// The LUT: the rule for one entry, and the object's three tables built from it when their keys change.
#include "pseudocolor/lut.h"

#include "pseudocolor/CXelPseudoColorClass.h"

#include <cstdint>
#include <cstdlib>

double NormalizeWindowPosition(double x, double lower, double upper) {
  if (x <= lower) return 0.0;
  if (x > upper) return 1.0;
  return (x - lower) / (upper - lower);
}

UINT LutEntry(double v, const TLutEntryFormat& format) {
  // NaN (from bounds a caller set to NaN) is treated like an intensity above 1, so the conversion
  // below is always defined.
  if (!(v <= 1.0)) v = 1.0;
  const UINT maxOut = format.imgBPC >= 32 ? 0xFFFFFFFFu : static_cast<UINT>((std::uint64_t{1} << format.imgBPC) - 1);
  const auto scaled = static_cast<std::int64_t>(v * static_cast<double>(maxOut) + 0.5);
  const UINT width = format.memBPC;
  const UINT widthMask = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
  if (format.lsbPos >= width) return 0;
  const UINT low = static_cast<UINT>(scaled) & widthMask;
  return (low << format.lsbPos) & widthMask & format.mask;
}

// --- the object's tables ------------------------------------------------------------------------------

BOOL CXelPseudoColorClass::UpdateLut(UINT src, UINT dst) {
  CXelImage_0* source = GetImage(src);
  CXelImage_0* destination = GetImage(dst);
  if (source == nullptr || destination == nullptr) return FALSE;
  if (XiFormatClass(source->GetFormat()) != XI_IMGFORMAT_CLASS_GREYSCALE ||
      XiFormatClass(destination->GetFormat()) != XI_IMGFORMAT_CLASS_RGB)
    return FALSE;
  if (source->GetFormat() != LutSrcFormat || destination->GetMemBPC() != LutDstMemBPC) {
    if (!AllocLut(src, dst)) return FALSE;
  }
  if (destination->GetMsbPos() == LutDstMsbPos && destination->GetMemBPC() == LutDstMemBPC &&
      destination->GetImgBPC() == LutDstImgBPC && LutValid) {
    if (m_pLogger != nullptr)
      m_pLogger->LogPrintLevel(XIP_LOG_DETAIL, "CXelPseudoColorClass::UpdateLut: No need to recalculate LUT");
    return TRUE;
  }
  return CalculateLut(src, dst);
}

void CXelPseudoColorClass::ResetLut() {
  LutSrcFormat = 0;
  for (void*& table : Luts) {
    std::free(table);
    table = nullptr;
  }
  LutDstMsbPos = 0;
  LutDstMemBPC = 0;
  LutDstImgBPC = 0;
  LutValid = 0;
}

std::uint64_t CXelPseudoColorClass::GetLutSize(UINT src, UINT dst) {
  const CXelImage_0* source = GetImage(src);
  const CXelImage_0* destination = GetImage(dst);
  if (source == nullptr || destination == nullptr) return 0;
  // Formed in 32 bits, as the size a table may have is limited to what fits there.
  const UINT entries = source->GetImgBPC() >= 32 ? 0 : 1u << source->GetImgBPC();
  return (entries * destination->GetMemBPC()) / 8;
}

BOOL CXelPseudoColorClass::AllocLut(UINT src, UINT dst) {
  ResetLut();
  const CXelImage_0* source = GetImage(src);
  const CXelImage_0* destination = GetImage(dst);
  if (source == nullptr || destination == nullptr) return FALSE;
  if (XiFormatClass(source->GetFormat()) != XI_IMGFORMAT_CLASS_GREYSCALE ||
      XiFormatClass(destination->GetFormat()) != XI_IMGFORMAT_CLASS_RGB || source->GetImgBPC() > 16)
    return FALSE;
  const std::uint64_t size = GetLutSize(src, dst);
  // An entry narrower than a byte has no table that CalculateLut could fill.
  if (size == 0) return FALSE;
  LutSrcFormat = source->GetFormat();
  for (UINT c = 0; c < 3; ++c) {
    Luts[c] = std::malloc(size);
    if (Luts[c] == nullptr) {
      ResetLut();
      return FALSE;
    }
  }
  return TRUE;
}

double CXelPseudoColorClass::NormalizePosition(double x) {
  return NormalizeWindowPosition(x, Settings.Lower, Settings.Upper);
}

namespace {

template <typename Entry>
void FillTables(const CColorProfile_0& profile, UINT entries, const TLutEntryFormat& format, double lower,
                double upper, void* const (&tables)[4]) {
  const double step = 1.0 / (entries - 1);
  auto* red = static_cast<Entry*>(tables[0]);
  auto* green = static_cast<Entry*>(tables[1]);
  auto* blue = static_cast<Entry*>(tables[2]);
  for (UINT i = 0; i < entries; ++i) {
    const double p = NormalizeWindowPosition(i * step, lower, upper);
    red[i] = static_cast<Entry>(LutEntry(profile.GetRed(p), format));
    green[i] = static_cast<Entry>(LutEntry(profile.GetGreen(p), format));
    blue[i] = static_cast<Entry>(LutEntry(profile.GetBlue(p), format));
  }
}

}  // namespace

BOOL CXelPseudoColorClass::CalculateLut(UINT src, UINT dst) {
  const CXelImage_0* source = GetImage(src);
  const CXelImage_0* destination = GetImage(dst);
  if (source == nullptr || destination == nullptr) return FALSE;
  LutDstMsbPos = destination->GetMsbPos();
  LutDstMemBPC = destination->GetMemBPC();
  LutDstImgBPC = destination->GetImgBPC();
  const UINT entries = 1u << source->GetImgBPC();
  const TLutEntryFormat format{destination->GetMemBPC(), destination->GetImgBPC(), destination->GetLsbPos(),
                               destination->GetComponentMask()};
  const CColorProfile_0& profile = *ProfileList.GetCurrentProfile();
  const double lower = Settings.Lower;
  const double upper = Settings.Upper;
  switch (format.memBPC) {
    case 8:
      FillTables<std::uint8_t>(profile, entries, format, lower, upper, Luts);
      break;
    case 16:
      FillTables<std::uint16_t>(profile, entries, format, lower, upper, Luts);
      break;
    case 32:
      FillTables<std::uint32_t>(profile, entries, format, lower, upper, Luts);
      break;
    default:
      return FALSE;
  }
  LutValid = 1;
  return TRUE;
}
