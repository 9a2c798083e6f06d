// Where the picture lies in the image window: fitted to the window, or at a zoom the user chose
// and moved about. Pure geometry in client coordinates.
#pragma once

#include <winui/windef.h>
#include "host_kit.h"

#include <optional>

namespace xelimg::view {

class PictureView {
 public:
  // The area the picture is shown in and the picture's size; a fitted view fits again.
  void SetArea(const RECT& area, UINT width, UINT height);
  void Fit();
  // 1:1 about the middle of the area, the picture point there staying where it is.
  void ActualSize();
  // Zooms by `factor` about a client point, which keeps the picture point under it.
  void ZoomAt(POINT client, double factor);
  void ZoomAtMiddle(double factor);
  void Pan(int dx, int dy);

  double Scale() const { return m_Scale; }
  bool Fitted() const { return m_Fitted; }
  // The whole picture's rectangle in client coordinates (edges on whole pixels; may reach outside).
  RECT PictureRect() const;
  // The picture pixel under the middle of a client pixel; none outside the picture.
  std::optional<POINT> ToImage(POINT client) const;
  // The same, clamped to the picture's edges (0..width, 0..height), for the ends of a drag.
  POINT ToImageClamped(POINT client) const;
  POINT ToClient(double imageX, double imageY) const;
  RECT ToClient(const RECT& imageArea) const;

 private:
  void ZoomTo(POINT client, double scale);
  POINT Middle() const;

  RECT m_Area{};
  UINT m_Width = 0;
  UINT m_Height = 0;
  bool m_Fitted = true;
  double m_Scale = 1.0;
  double m_OriginX = 0.0;  // client point of the picture's top-left corner
  double m_OriginY = 0.0;
};

}  // namespace xelimg::view
