// Images of the framework: greyscale and three-component colour in 8-, 16- or 32-bit storage units.
#pragma once

#include <XelImgProcess/CXelImage_0.h>

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace xelfw {

// How a pixel is stored. Greyscale: one unit a pixel, 1..16 significant bits at any LSB position
// that fits the unit. Colour: three components in 3 or 4 units a pixel (the fourth is padding), RGB
// or BGR order, each component with its significant bits at the same LSB position.
struct PixelLayout {
  UINT formatClass = XI_IMGFORMAT_CLASS_GREYSCALE;
  UINT numComponents = 1;
  UINT imgBPC = 8;
  UINT memBPC = 8;
  UINT lsbPos = 0;
  UINT unitsPerPixel = 1;
  UINT order = XI_ORDER_RGB;

  static PixelLayout Grey(UINT imgBPC, UINT memBPC, UINT lsbPos = 0);
  // imgBPC 0: all bits of the unit are significant.
  static PixelLayout Colour(UINT memBPC, UINT unitsPerPixel, UINT order = XI_ORDER_RGB, UINT imgBPC = 0,
                            UINT lsbPos = 0);

  UINT BytesPerPixel() const { return unitsPerPixel * memBPC / 8; }
  // Throws std::invalid_argument naming what does not fit.
  void Validate() const;
};

// Allocates without initialising, so that a large buffer costs memory only where it is written: a
// decoder that fails halfway through a frame has not touched the rest of it.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// One frame's pixels, Stride() × Height() bytes.
using FrameBuffer = std::vector<BYTE, UninitialisedAllocator<BYTE>>;

// Rows are stored top-down without padding; frames are separate buffers of the same layout, chosen
// by the first access value of GetRowAddress.
class XEL_HOST_API Image final : public CXelImage_0 {
 public:
  // Pixels start zeroed. Throws std::invalid_argument for an invalid layout or a size that does not
  // fit in memory words.
  Image(UINT width, UINT height, const PixelLayout& layout, UINT frames = 1);
  // Takes frames filled elsewhere (a decoder writes straight into them), each of width × height
  // pixels of the layout. Throws std::invalid_argument as above, and for a buffer of another size.
  Image(UINT width, UINT height, const PixelLayout& layout, std::vector<FrameBuffer> frames);

  XI_IMGFORMAT GetFormat() const override;
  UINT GetImgBPC() const override { return m_Layout.imgBPC; }
  UINT GetMemBPC() const override { return m_Layout.memBPC; }
  UINT GetBitsPerPixel() const override { return m_Layout.unitsPerPixel * m_Layout.memBPC; }
  UINT GetNumComponents() const override { return m_Layout.numComponents; }
  // RGB: component i in unit i; BGR: red in unit 2, blue in unit 0. Indices past the components
  // name the unit of the same number (the padding unit for 3).
  UINT GetComponentPos(UINT component) const override;
  UINT GetMsbPos() const override { return m_Layout.lsbPos + m_Layout.imgBPC - 1; }
  UINT GetLsbPos() const override { return m_Layout.lsbPos; }
  UINT GetComponentMask() const override;
  // An AOI selects its bounding rectangle clipped to the image; null selects the whole image.
  UINT GetAoiWidth(const CXelAoi_0* aoi) const override;
  UINT GetAoiHeight(const CXelAoi_0* aoi) const override;
  // access1: frame index; access2: XI_ACCESS_READ or XI_ACCESS_WRITE. Null for a pixel outside the
  // AOI's part of the image, a frame that does not exist or an unknown access mode.
  BYTE* GetRowAddress(UINT row, UINT column, uintptr_t access1, const CXelAoi_0* aoi, uintptr_t access2) const override;

  UINT Width() const { return m_Width; }
  UINT Height() const { return m_Height; }
  UINT Frames() const { return static_cast<UINT>(m_Frames.size()); }
  std::size_t Stride() const { return m_Stride; }
  const PixelLayout& Layout() const { return m_Layout; }
  BYTE* Data(UINT frame = 0) { return m_Frames.at(frame).data(); }
  const BYTE* Data(UINT frame = 0) const { return m_Frames.at(frame).data(); }
  std::size_t FrameBytes() const { return m_Stride * m_Height; }

  // Whether the significant bits came from the file (PNG sBIT, PGM maxval, TIFF MaxSampleValue)
  // rather than from the size of its samples alone.
  bool SignificantBitsDeclared() const { return m_SignificantBitsDeclared; }
  void SetSignificantBitsDeclared(bool declared) { m_SignificantBitsDeclared = declared; }
  // Says how many of the unit's bits count, without touching the pixels; the caller has made sure
  // no value is larger. Throws std::invalid_argument when the bits do not fit the layout.
  void SetSignificantBits(UINT bits);

  // Significant value of a component, (unit & mask) >> LSB. Throws std::out_of_range outside the image.
  UINT GetComponent(UINT x, UINT y, UINT component, UINT frame = 0) const;
  // Stores the value's significant bits and leaves the other bits of the unit alone.
  void SetComponent(UINT x, UINT y, UINT component, UINT value, UINT frame = 0);
  // Whole storage unit of a component, including bits outside the mask.
  UINT GetUnit(UINT x, UINT y, UINT unit, UINT frame = 0) const;
  void SetUnit(UINT x, UINT y, UINT unit, UINT value, UINT frame = 0);

 private:
  BYTE* UnitAddress(UINT x, UINT y, UINT unit, UINT frame) const;
  void CheckSize() const;

  UINT m_Width;
  UINT m_Height;
  PixelLayout m_Layout;
  std::size_t m_Stride;
  std::vector<FrameBuffer> m_Frames;
  bool m_SignificantBitsDeclared = false;
};

}  // namespace xelfw
