// Area of interest as processing objects see it.
#pragma once

#include <XelImgProcess/XelTypes.h>

class XEL_HOST_API CXelAoi_0 {
 public:
  // Both 0 for a plain rectangle.
  virtual BOOL IsComplex() const = 0;
  virtual BOOL IsNonRectangular() const = 0;
  // The rectangle that bounds the area, in image pixels (right and bottom excluded).
  virtual RECT GetBoundingRect() const = 0;

 protected:
  ~CXelAoi_0() = default;
};
