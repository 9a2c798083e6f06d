// The LUT: the rule for one entry, and the three tables built from it when their keys change.
#include "pseudocolor/lut.h"

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

// --- the tables ----------------------------------------------------------------------------------

namespace {

bool ServesImages(const CXelImage_0& source, const CXelImage_0& destination) {
  return XiFormatClass(source.GetFormat()) == XI_IMGFORMAT_CLASS_GREYSCALE &&
         XiFormatClass(destination.GetFormat()) == XI_IMGFORMAT_CLASS_RGB;
}

// Formed in 32 bits, as the size a table may have is limited to what fits there.
std::uint64_t TableBytes(const CXelImage_0& source, const CXelImage_0& destination) {
  const UINT entries = source.GetImgBPC() >= 32 ? 0 : 1u << source.GetImgBPC();
  return (entries * destination.GetMemBPC()) / 8;
}

template <typename Entry>
void FillTables(const CColorProfile_0& profile, UINT entries, const TLutEntryFormat& format, TLutWindow window,
                void* const (&tables)[4]) {
  const double step = 1.0 / (entries - 1);
  auto* red = static_cast<Entry*>(tables[0]);
  auto* green = static_cast<Entry*>(tables[1]);
  auto* blue = static_cast<Entry*>(tables[2]);
  for (UINT i = 0; i < entries; ++i) {
    const double p = NormalizeWindowPosition(i * step, window.lower, window.upper);
    red[i] = static_cast<Entry>(LutEntry(profile.GetRed(p), format));
    green[i] = static_cast<Entry>(LutEntry(profile.GetGreen(p), format));
    blue[i] = static_cast<Entry>(LutEntry(profile.GetBlue(p), format));
  }
}

}  // namespace

CPseudoColorLut::~CPseudoColorLut() { Reset(); }

CPseudoColorLut::EEnsureResult CPseudoColorLut::Ensure(const CXelImage_0* source, const CXelImage_0* destination,
                                                       const std::function<TLutInputs()>& readInputs) {
  if (source == nullptr || destination == nullptr || !ServesImages(*source, *destination)) return EEnsureResult::Failed;
  if (source->GetFormat() != m_SrcFormat || destination->GetMemBPC() != m_DstMemBPC) {
    if (!Allocate(*source, *destination)) return EEnsureResult::Failed;
  }
  // Acquire, and before the inputs: whatever was stored before this generation's Invalidate is read.
  const std::uint64_t generation = m_Generation.load(std::memory_order_acquire);
  if (destination->GetMsbPos() == m_DstMsbPos && destination->GetMemBPC() == m_DstMemBPC &&
      destination->GetImgBPC() == m_DstImgBPC && generation == m_BuiltGeneration)
    return EEnsureResult::Current;
  const TLutInputs inputs = readInputs();
  if (inputs.profile == nullptr) return EEnsureResult::Failed;
  if (!Calculate(*source, *destination, *inputs.profile, inputs.window)) return EEnsureResult::Failed;
  m_BuiltGeneration = generation;
  return EEnsureResult::Rebuilt;
}

void CPseudoColorLut::Reset() {
  m_SrcFormat = 0;
  for (void*& table : m_Tables) {
    std::free(table);
    table = nullptr;
  }
  m_DstMsbPos = 0;
  m_DstMemBPC = 0;
  m_DstImgBPC = 0;
  m_BuiltGeneration = 0;
}

BOOL CPseudoColorLut::Allocate(const CXelImage_0& source, const CXelImage_0& destination) {
  Reset();
  if (!ServesImages(source, destination) || source.GetImgBPC() > 16) return FALSE;
  const std::uint64_t size = TableBytes(source, destination);
  // An entry narrower than a byte has no table that Calculate could fill.
  if (size == 0) return FALSE;
  m_SrcFormat = source.GetFormat();
  for (UINT c = 0; c < 3; ++c) {
    m_Tables[c] = std::malloc(size);
    if (m_Tables[c] == nullptr) {
      Reset();
      return FALSE;
    }
  }
  return TRUE;
}

BOOL CPseudoColorLut::Calculate(const CXelImage_0& source, const CXelImage_0& destination,
                                const CColorProfile_0& profile, TLutWindow window) {
  m_DstMsbPos = destination.GetMsbPos();
  m_DstMemBPC = destination.GetMemBPC();
  m_DstImgBPC = destination.GetImgBPC();
  const UINT entries = 1u << source.GetImgBPC();
  const TLutEntryFormat format{destination.GetMemBPC(), destination.GetImgBPC(), destination.GetLsbPos(),
                               destination.GetComponentMask()};
  switch (format.memBPC) {
    case 8:
      FillTables<std::uint8_t>(profile, entries, format, window, m_Tables);
      break;
    case 16:
      FillTables<std::uint16_t>(profile, entries, format, window, m_Tables);
      break;
    case 32:
      FillTables<std::uint32_t>(profile, entries, format, window, m_Tables);
      break;
    default:
      return FALSE;
  }
  return TRUE;
}
