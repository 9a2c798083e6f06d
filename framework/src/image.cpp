// Pixel layouts and row addressing of the framework's images.
#include <xelfw/Image.h>

#include "storage_units.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

namespace xelfw {

PixelLayout PixelLayout::Grey(UINT imgBPC, UINT memBPC, UINT lsbPos) {
  PixelLayout layout;
  layout.imgBPC = imgBPC;
  layout.memBPC = memBPC;
  layout.lsbPos = lsbPos;
  layout.Validate();
  return layout;
}

PixelLayout PixelLayout::Colour(UINT memBPC, UINT unitsPerPixel, UINT order, UINT imgBPC, UINT lsbPos) {
  PixelLayout layout;
  layout.formatClass = XI_IMGFORMAT_CLASS_RGB;
  layout.numComponents = 3;
  layout.memBPC = memBPC;
  layout.imgBPC = imgBPC == 0 ? memBPC : imgBPC;
  layout.lsbPos = lsbPos;
  layout.unitsPerPixel = unitsPerPixel;
  layout.order = order;
  layout.Validate();
  return layout;
}

void PixelLayout::Validate() const {
  auto fail = [](const std::string& what) { throw std::invalid_argument("pixel layout: " + what); };
  if (memBPC != 8 && memBPC != 16 && memBPC != 32) fail("storage unit must be 8, 16 or 32 bits");
  if (imgBPC == 0 || lsbPos + imgBPC > memBPC) fail("significant bits do not fit the storage unit");
  if (order != XI_ORDER_RGB && order != XI_ORDER_BGR) fail("component order must be RGB or BGR");
  if (formatClass == XI_IMGFORMAT_CLASS_GREYSCALE) {
    if (numComponents != 1 || unitsPerPixel != 1) fail("greyscale has one component in one unit");
    if (imgBPC > 16) fail("greyscale carries at most 16 significant bits");
  } else if (formatClass == XI_IMGFORMAT_CLASS_RGB) {
    if (numComponents != 3 || (unitsPerPixel != 3 && unitsPerPixel != 4))
      fail("colour has three components in 3 or 4 units");
  } else {
    fail("format class must be greyscale or colour");
  }
}

Image::Image(UINT width, UINT height, const PixelLayout& layout, UINT frames)
    : m_Width(width), m_Height(height), m_Layout(layout), m_Stride(std::size_t{width} * layout.BytesPerPixel()) {
  CheckSize();
  if (frames == 0) throw std::invalid_argument("image: at least one frame");
  // Each frame is made in place: a zeroed prototype copied into every frame would cost one frame more.
  m_Frames.resize(frames);
  for (FrameBuffer& frame : m_Frames) frame.resize(m_Stride * height, BYTE{0});
}

Image::Image(UINT width, UINT height, const PixelLayout& layout, std::vector<FrameBuffer> frames)
    : m_Width(width),
      m_Height(height),
      m_Layout(layout),
      m_Stride(std::size_t{width} * layout.BytesPerPixel()),
      m_Frames(std::move(frames)) {
  CheckSize();
  if (m_Frames.empty()) throw std::invalid_argument("image: at least one frame");
  for (const FrameBuffer& frame : m_Frames) {
    if (frame.size() != FrameBytes()) throw std::invalid_argument("image: frame buffer of the wrong size");
  }
}

void Image::CheckSize() const {
  m_Layout.Validate();
  if (m_Width > static_cast<UINT>(std::numeric_limits<LONG>::max()) ||
      m_Height > static_cast<UINT>(std::numeric_limits<LONG>::max())) {
    throw std::invalid_argument("image: size does not fit AOI coordinates");
  }
  if (m_Height != 0 && m_Stride > std::numeric_limits<std::size_t>::max() / m_Height) {
    throw std::invalid_argument("image: size does not fit in memory words");
  }
}

void Image::SetSignificantBits(UINT bits) {
  PixelLayout layout = m_Layout;
  layout.imgBPC = bits;
  layout.Validate();
  m_Layout = layout;
}

XI_IMGFORMAT Image::GetFormat() const {
  return XiMakeFormat(m_Layout.formatClass, m_Layout.numComponents, m_Layout.imgBPC, m_Layout.lsbPos, m_Layout.memBPC,
                      GetBitsPerPixel(), m_Layout.order);
}

UINT Image::GetComponentPos(UINT component) const {
  if (m_Layout.order == XI_ORDER_BGR && component < 3) return 2 - component;
  return component;
}

UINT Image::GetComponentMask() const {
  const std::uint64_t bits = (std::uint64_t{1} << m_Layout.imgBPC) - 1;
  return static_cast<UINT>(bits << m_Layout.lsbPos);
}

namespace {

// The AOI's part of the image: its bounding rectangle clipped to the image.
RECT Selection(const CXelAoi_0* aoi, UINT width, UINT height) {
  const RECT full{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  if (aoi == nullptr) return full;
  const RECT box = aoi->GetBoundingRect();
  RECT r{std::max(box.left, full.left), std::max(box.top, full.top), std::min(box.right, full.right),
         std::min(box.bottom, full.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace

UINT Image::GetAoiWidth(const CXelAoi_0* aoi) const {
  const RECT r = Selection(aoi, m_Width, m_Height);
  return static_cast<UINT>(r.right - r.left);
}

UINT Image::GetAoiHeight(const CXelAoi_0* aoi) const {
  const RECT r = Selection(aoi, m_Width, m_Height);
  return static_cast<UINT>(r.bottom - r.top);
}

BYTE* Image::GetRowAddress(UINT row, UINT column, uintptr_t access1, const CXelAoi_0* aoi, uintptr_t access2) const {
  if (access1 >= m_Frames.size() || (access2 != XI_ACCESS_READ && access2 != XI_ACCESS_WRITE)) return nullptr;
  const RECT r = Selection(aoi, m_Width, m_Height);
  if (row >= static_cast<UINT>(r.bottom - r.top) || column >= static_cast<UINT>(r.right - r.left)) return nullptr;
  const std::size_t x = static_cast<std::size_t>(r.left) + column;
  const std::size_t y = static_cast<std::size_t>(r.top) + row;
  // The interface hands out writable rows of a const image, as the frame buffer belongs to the host.
  BYTE* frame = const_cast<BYTE*>(m_Frames[access1].data());
  return frame + y * m_Stride + x * m_Layout.BytesPerPixel();
}

BYTE* Image::UnitAddress(UINT x, UINT y, UINT unit, UINT frame) const {
  if (x >= m_Width || y >= m_Height || unit >= m_Layout.unitsPerPixel || frame >= m_Frames.size()) {
    throw std::out_of_range("image: pixel, unit or frame outside the image");
  }
  BYTE* pixel = const_cast<BYTE*>(m_Frames[frame].data()) + y * m_Stride + std::size_t{x} * m_Layout.BytesPerPixel();
  return pixel + unit * (m_Layout.memBPC / 8);
}

UINT Image::GetUnit(UINT x, UINT y, UINT unit, UINT frame) const {
  return ReadStorageUnit(UnitAddress(x, y, unit, frame), m_Layout.memBPC);
}

void Image::SetUnit(UINT x, UINT y, UINT unit, UINT value, UINT frame) {
  BYTE* address = UnitAddress(x, y, unit, frame);
  switch (m_Layout.memBPC) {
    case 8:
      *address = static_cast<BYTE>(value);
      break;
    case 16: {
      const auto narrow = static_cast<std::uint16_t>(value);
      std::memcpy(address, &narrow, sizeof narrow);
      break;
    }
    default:
      std::memcpy(address, &value, sizeof value);
      break;
  }
}

UINT Image::GetComponent(UINT x, UINT y, UINT component, UINT frame) const {
  return (GetUnit(x, y, GetComponentPos(component), frame) & GetComponentMask()) >> m_Layout.lsbPos;
}

void Image::SetComponent(UINT x, UINT y, UINT component, UINT value, UINT frame) {
  const UINT unit = GetComponentPos(component);
  const UINT mask = GetComponentMask();
  const UINT old = GetUnit(x, y, unit, frame);
  SetUnit(x, y, unit, (old & ~mask) | ((value << m_Layout.lsbPos) & mask), frame);
}

}  // namespace xelfw
