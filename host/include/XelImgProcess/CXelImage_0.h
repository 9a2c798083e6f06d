// Image as processing objects see it: format queries and row addressing through an AOI.
#pragma once

#include <XelImgProcess/CXelAoi_0.h>

class XEL_HOST_API CXelImage_0 {
 public:
  virtual XI_IMGFORMAT GetFormat() const = 0;
  virtual UINT GetImgBPC() const = 0;  // significant bits per component
  virtual UINT GetMemBPC() const = 0;  // storage bits per component (8, 16 or 32)
  virtual UINT GetBitsPerPixel() const = 0;
  virtual UINT GetNumComponents() const = 0;
  virtual UINT GetComponentPos(UINT component) const = 0;  // storage unit index of a component in a pixel
  virtual UINT GetMsbPos() const = 0;
  virtual UINT GetLsbPos() const = 0;
  virtual UINT GetComponentMask() const = 0;  // bits of a component inside its storage unit
  // Size of the part of the image an AOI selects (the whole image for a null AOI).
  virtual UINT GetAoiWidth(const CXelAoi_0* aoi) const = 0;
  virtual UINT GetAoiHeight(const CXelAoi_0* aoi) const = 0;
  // Address of pixel (column, row) counted from the AOI's top-left corner. access1 selects the frame
  // buffer of the image, access2 the access mode (XI_ACCESS_*); null when the pixel lies outside the image.
  virtual BYTE* GetRowAddress(UINT row, UINT column, uintptr_t access1, const CXelAoi_0* aoi,
                              uintptr_t access2) const = 0;

 protected:
  ~CXelImage_0() = default;
};

inline constexpr uintptr_t XI_ACCESS_READ = 0;
inline constexpr uintptr_t XI_ACCESS_WRITE = 1;
