// A rectangular area of interest whose shape flags can be set, to present AOIs an object refuses.
#pragma once

#include <XelImgProcess/CXelAoi_0.h>

namespace xelfw {

class XEL_HOST_API Aoi final : public CXelAoi_0 {
 public:
  Aoi() = default;
  explicit Aoi(const RECT& rect, BOOL complex = FALSE, BOOL nonRectangular = FALSE)
      : m_Rect(rect), m_Complex(complex), m_NonRectangular(nonRectangular) {}
  static Aoi FromSize(LONG left, LONG top, LONG width, LONG height) {
    return Aoi(RECT{left, top, left + width, top + height});
  }

  BOOL IsComplex() const override { return m_Complex; }
  BOOL IsNonRectangular() const override { return m_NonRectangular; }
  RECT GetBoundingRect() const override { return m_Rect; }

  void SetRect(const RECT& rect) { m_Rect = rect; }
  void SetComplex(BOOL complex) { m_Complex = complex; }
  void SetNonRectangular(BOOL nonRectangular) { m_NonRectangular = nonRectangular; }

 private:
  RECT m_Rect{};
  BOOL m_Complex = FALSE;
  BOOL m_NonRectangular = FALSE;
};

}  // namespace xelfw
