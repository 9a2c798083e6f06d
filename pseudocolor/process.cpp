// One frame: automatic bounds, LUT refresh, format checks, kernel choice and the row loop.
#include "pseudocolor/CXelPseudoColorClass.h"
#include "pseudocolor/worker_thread.h"

#include <algorithm>

namespace {

// Storage-width code of the kernel table: 8 -> 0, 16 -> 1, 32 -> 2.
int WidthCode(UINT memBPC, UINT largest) {
  for (UINT code = 0, bits = 8; bits <= largest; ++code, bits *= 2)
    if (memBPC == bits) return static_cast<int>(code);
  return -1;
}

// The kernels index the tables and read the source units unchecked, so the largest grey value a
// source can yield must have one of the 2^ImgBPC entries, and a pixel must hold its whole unit.
bool SourceLayoutFits(const CXelImage_0& source) {
  const UINT lsb = source.GetLsbPos();
  if (lsb >= 32 || source.GetImgBPC() > 16) return false;
  if (source.GetBitsPerPixel() < source.GetMemBPC()) return false;
  const UINT unitBits = source.GetMemBPC() >= 32 ? 0xFFFFFFFFu : (1u << source.GetMemBPC()) - 1;
  return ((source.GetComponentMask() & unitBits) >> lsb) <= (1u << source.GetImgBPC()) - 1;
}

// Every unit a kernel writes lies inside its pixel, and the offsets array covers every component
// (a fourth one is never written).
bool DestinationLayoutFits(const CXelImage_0& destination, UINT numComponents, const INT (&offsets)[4]) {
  if (numComponents > 4) return false;
  const UINT unitBytes = destination.GetMemBPC() / 8;
  const UINT step = destination.GetBitsPerPixel() / 8;
  for (UINT c = 0; c < std::min(numComponents, 3u); ++c)
    if (offsets[c] < 0 || static_cast<UINT>(offsets[c]) + unitBytes > step) return false;
  return true;
}

}  // namespace

UINT CXelPseudoColorClass::LeaveWithLine(UINT result) {
  Log("Leaving CXelPseudoColorClass::Process");
  return result;
}

void CXelPseudoColorClass::ApplyAutoBounds() {
  const UINT mode = Settings.AutoMode;
  if (mode != kPseudoColorAutoContrast && mode != kPseudoColorAutoBrightness) return;
  double lower = 0.0;
  double upper = 0.0;
  if (mode == kPseudoColorAutoContrast && CalculateAutoContrast(&lower, &upper)) {
    LogDetail("Performed auto contrast (lower: %lf, upper: %lf)", lower, upper);
  } else if (mode == kPseudoColorAutoBrightness &&
             CalculateAutoBrightness(&lower, &upper, Settings.Upper - Settings.Lower)) {
    LogDetail("Performed auto brightness (lower: %lf, upper: %lf)", lower, upper);
  } else {
    Log("Error: could not perform auto contrast!");
    AutoWindow = kPseudoColorAutoWindowNotFound;
    return;
  }
  Settings.Lower = lower;
  Settings.Upper = upper;
  AutoWindow = kPseudoColorAutoWindowFound;
  Lut.Invalidate();
}

TLutInputs CXelPseudoColorClass::ReadLutInputs() const {
  return {ProfileList.GetCurrentProfile(), {Settings.Lower, Settings.Upper}};
}

BOOL CXelPseudoColorClass::UpdateLut(UINT src, UINT dst) {
  const CPseudoColorLut::EEnsureResult result =
      Lut.Ensure(GetImage(src), GetImage(dst), [this] { return ReadLutInputs(); });
  if (result == CPseudoColorLut::EEnsureResult::Current)
    LogDetail("CXelPseudoColorClass::UpdateLut: No need to recalculate LUT");
  return result != CPseudoColorLut::EEnsureResult::Failed;
}

UINT CXelPseudoColorClass::Process(UINT /*mode*/) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log("Entering CXelPseudoColorClass::Process");
  const CScopedTimeStamp timeStamp(*this);
  AutoWindow = kPseudoColorAutoWindowNone;

  CXelImage_0* source = GetValidImage(0);
  if (source == nullptr) {
    Log("Invalid source image");
    return LeaveWithLine(XIP_E_NOIMAGE);
  }
  CXelImage_0* destination = GetValidImage(1);
  if (destination == nullptr) {
    Log("Invalid dest image");
    return LeaveWithLine(XIP_E_NOIMAGE);
  }

  const UINT srcShift = source->GetLsbPos();
  const UINT srcMask = source->GetComponentMask();
  const UINT srcStep = source->GetBitsPerPixel() / 8;
  const UINT dstStep = destination->GetBitsPerPixel() / 8;
  GreySpan.store(srcMask >> (srcShift % 32), std::memory_order_relaxed);

  ApplyAutoBounds();
  UpdatePseudoColorDialog(kPseudoColorRefreshFrame);
  UpdateTempScaleDialog(kTempScaleRefreshScale);

  const UINT numComponents = destination->GetNumComponents();
  if (!UpdateLut(0, 1)) {
    Log("Image classes of source and destination image do not match or LUT table initalization error");
    return LeaveWithLine(XIP_E_FORMAT);
  }

  const CXelAoi_0* srcAoi = GetAoi(0);
  const CXelAoi_0* dstAoi = GetAoi(1);
  if (srcAoi->IsNonRectangular() != 0 || dstAoi->IsComplex() != 0) {
    Log("Source or dest AOI is not rectangular! LUT requires rectangular AOI's");
    return LeaveWithLine(XIP_E_AOI);
  }
  const UINT width = std::min(source->GetAoiWidth(srcAoi), destination->GetAoiWidth(dstAoi));
  const UINT height = std::min(source->GetAoiHeight(srcAoi), destination->GetAoiHeight(dstAoi));
  LogDetail("Width = %u, Height = %u", width, height);
  if (width == 0 || height == 0) {
    Log("Invalid source and/or destination resolution!");
    return XIP_E_AOI;
  }

  LogDetail("MemBPC (src = %u, dst = %u)", source->GetMemBPC(), destination->GetMemBPC());
  LogDetail("ImgBPC (src = %u, dst = %u)", source->GetImgBPC(), destination->GetImgBPC());
  LogDetail("MsbPos (src = %u, dst = %u)", source->GetMsbPos(), destination->GetMsbPos());
  LogDetail("LsbPos (src = %u, dst = %u)", srcShift, destination->GetLsbPos());
  LogDetail("Component Mask (src = 0x%08X, dst = 0x%08X)", srcMask, destination->GetComponentMask());
  LogDetail("Stepsize [BYTES] (src = %u, dst = %u)", srcStep, dstStep);

  const UINT dstMemBPC = destination->GetMemBPC();
  INT dstOffsets[4];
  for (UINT i = 0; i < 3; ++i) dstOffsets[i] = static_cast<INT>(destination->GetComponentPos(i) * dstMemBPC / 8);
  dstOffsets[3] = -1;

  const int srcCode = WidthCode(source->GetMemBPC(), 32);
  if (srcCode < 0) {
    Log("Invalid source bit depth (= %u)!", source->GetMemBPC());
    return XIP_E_FORMAT;
  }
  const int dstCode = WidthCode(dstMemBPC, 16);
  if (dstCode < 0) {
    Log("Invalid dest bit depth (= %u)!", dstMemBPC);
    return XIP_E_FORMAT;
  }
  if (!SourceLayoutFits(*source)) {
    Log("Invalid source layout (mask = 0x%08X, ImgBPC = %u, step = %u)!", srcMask, source->GetImgBPC(), srcStep);
    return XIP_E_FORMAT;
  }
  if (!DestinationLayoutFits(*destination, numComponents, dstOffsets)) {
    Log("Invalid dest layout (components = %u, step = %u)!", numComponents, dstStep);
    return XIP_E_FORMAT;
  }
  const UINT pattern = static_cast<UINT>(srcCode + 4 * dstCode);
  LogDetail("Initial function pointer pattern index = %u", pattern);

  if (!SignalZeroProgress()) return XIP_E_PROGRESS_REFUSED;

  CWorkerThread::CParameter record;
  record.pSrcImage = source;
  record.pSrcAoi = srcAoi;
  record.SrcAccess2 = m_ImageAccess2[0];
  record.SrcAccess1 = m_ImageAccess1[0];
  record.pDstImage = destination;
  record.pDstAoi = dstAoi;
  record.DstAccess2 = m_ImageAccess2[1];
  record.DstAccess1 = m_ImageAccess1[1];
  record.SrcStep = srcStep;
  record.SrcMask = srcMask;
  record.SrcShift = srcShift;
  record.pDstOffsets = dstOffsets;
  record.DstStep = dstStep;
  record.pLuts = Lut.Tables();
  record.NumComponents = numComponents;
  record.Width = width;
  record.pfnKernel = KernelTable[pattern];

  const UINT threads = std::min(m_NumWorkerThreads, height);
  if (threads >= 2) {
    LogDetail("CXelPseudoColorClass::Process: processing will be parallelized by %u threads.", threads);
    ExecuteWorkerThreads(threads, height, &record);
  } else {
    LogDetail("CXelPseudoColorClass::Process: processing will be completely done by current thread");
    ProcessRows(0, height, &record);
  }

  SignalProgress(height, height);
  Log("CXelLut::Process: exit -> success");
  return XIP_OK;
}
