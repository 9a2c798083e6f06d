// The LUT: the rule by which a grey value becomes a finished destination component value, and the
// three tables (red, green, blue) built from it for one pair of image formats.
#pragma once

#include "profiles/CColorProfile_0.h"

#include <XelImgProcess/CXelImage_0.h>
#include <XelImgProcess/XelTypes.h>

#include <atomic>
#include <cstdint>
#include <functional>

// Where a normalised grey value x falls in the window [lower, upper], as a profile position 0..1.
// At or below lower gives 0, above upper 1; an empty or inverted window is a hard step at lower.
double NormalizeWindowPosition(double x, double lower, double upper);

// The destination component format the entries are computed for.
struct TLutEntryFormat {
  UINT memBPC;  // entry width: 8, 16 or 32
  UINT imgBPC;  // significant bits the intensity is scaled to
  UINT lsbPos;  // where those bits start inside the unit
  UINT mask;    // the component's bits inside the unit
};

// Entry for a profile intensity v (nominally 0..1; values above 1 are cut to 1): v scaled to the
// significant bits, halves rounded up, placed at the LSB position and masked, in the low memBPC bits.
UINT LutEntry(double v, const TLutEntryFormat& format);

// The LUT window, as fractions of the source grey range.
struct TLutWindow {
  double lower;
  double upper;
};

// What the entries are computed from; the owner's settings, which other threads store to freely.
struct TLutInputs {
  const CColorProfile_0* profile;
  TLutWindow window;
};

// The tables and the keys they were built for: the source format and the destination's MSB
// position, storage and significant bits, and the generation of the inputs. Ensure rebuilds them
// when a key changes or after Invalidate, and otherwise leaves them alone.
//
// Nothing is locked: a writer stores new inputs, then calls Invalidate, which advances the
// generation. A rebuild reads the generation before it reads the inputs, so a writer that slips in
// between leaves the generation ahead of the tables, and the next Ensure rebuilds them: the last
// inputs stored always reach the tables.
class CPseudoColorLut {
 public:
  enum class EEnsureResult { Failed, Rebuilt, Current };

  CPseudoColorLut() = default;
  ~CPseudoColorLut();
  CPseudoColorLut(const CPseudoColorLut&) = delete;
  CPseudoColorLut& operator=(const CPseudoColorLut&) = delete;

  // The next Ensure recomputes the entries (the window or the profile changed). Call it after the
  // new inputs are stored: the release makes them visible to the rebuild that sees this generation.
  void Invalidate() { m_Generation.fetch_add(1, std::memory_order_release); }
  // Failed when the tables cannot serve a greyscale source and an RGB destination of these formats,
  // or there is no memory for them. readInputs is called only when the entries are recomputed.
  EEnsureResult Ensure(const CXelImage_0* source, const CXelImage_0* destination,
                       const std::function<TLutInputs()>& readInputs);
  // Red, green and blue, then an unused fourth slot; entries are memBPC wide.
  const void* const* Tables() const { return m_Tables; }
  // Frees the tables and forgets the keys.
  void Reset();

 private:
  BOOL Allocate(const CXelImage_0& source, const CXelImage_0& destination);
  BOOL Calculate(const CXelImage_0& source, const CXelImage_0& destination, const CColorProfile_0& profile,
                 TLutWindow window);

  XI_IMGFORMAT m_SrcFormat = 0;
  void* m_Tables[4] = {};
  UINT m_DstMsbPos = 0;
  UINT m_DstMemBPC = 0;
  UINT m_DstImgBPC = 0;
  // Advanced by Invalidate from any thread; the one synchronised member.
  std::atomic<std::uint64_t> m_Generation{1};
  // The generation read before the inputs of the current tables; 0 when there are none.
  std::uint64_t m_BuiltGeneration = 0;
};
