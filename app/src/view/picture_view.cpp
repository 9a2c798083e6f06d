// Fit, zoom and pan of the viewer's picture.
#include "view/picture_view.h"
#include "host_kit.h"

#include <algorithm>
#include <cmath>

namespace xelimg::view {

namespace {

// From a sixteenth, where a large frame still shows as a thumbnail, to 64 times, where single
// pixels are squares large enough to point at.
constexpr double kMinScale = 1.0 / 16;
constexpr double kMaxScale = 64.0;

LONG Floor(double v) { return static_cast<LONG>(std::floor(v)); }

}  // namespace

void PictureView::SetArea(const RECT& area, UINT width, UINT height) {
  const bool newSize = width != m_Width || height != m_Height;
  m_Area = area;
  m_Width = width;
  m_Height = height;
  if (m_Fitted || newSize) Fit();
}

void PictureView::Fit() {
  m_Fitted = true;
  if (m_Width == 0 || m_Height == 0) return;
  const double w = m_Area.right - m_Area.left;
  const double h = m_Area.bottom - m_Area.top;
  m_Scale = std::max(kMinScale, std::min(w / m_Width, h / m_Height));
  // Whole pixels, so that the edges of a fitted picture land where the integer layout put them.
  m_OriginX = m_Area.left + std::floor((w - m_Width * m_Scale) / 2);
  m_OriginY = m_Area.top + std::floor((h - m_Height * m_Scale) / 2);
}

void PictureView::ActualSize() { ZoomTo(Middle(), 1.0); }

// Rounded to nine digits, so that two wheel notches of a square root of two from 7.5 land on 15
// exactly, and pixel edges where whole zooms put them.
void PictureView::ZoomAt(POINT client, double factor) { ZoomTo(client, std::round(m_Scale * factor * 1e9) / 1e9); }

void PictureView::ZoomTo(POINT client, double target) {
  const double scale = std::clamp(target, kMinScale, kMaxScale);
  m_OriginX = client.x - (client.x - m_OriginX) * scale / m_Scale;
  m_OriginY = client.y - (client.y - m_OriginY) * scale / m_Scale;
  // At whole zooms picture pixels start on whole client pixels, so that 1:1 is a plain copy.
  if (scale >= 1.0 && scale == std::floor(scale)) {
    m_OriginX = std::round(m_OriginX);
    m_OriginY = std::round(m_OriginY);
  }
  m_Scale = scale;
  m_Fitted = false;
}

void PictureView::ZoomAtMiddle(double factor) { ZoomAt(Middle(), factor); }

void PictureView::Pan(int dx, int dy) {
  m_OriginX += dx;
  m_OriginY += dy;
  m_Fitted = false;
}

RECT PictureView::PictureRect() const {
  return RECT{Floor(m_OriginX), Floor(m_OriginY), Floor(m_OriginX + m_Width * m_Scale),
              Floor(m_OriginY + m_Height * m_Scale)};
}

std::optional<POINT> PictureView::ToImage(POINT client) const {
  if (m_Width == 0) return std::nullopt;
  // The middle of the client pixel names the picture pixel it shows; its corner may lie on the one
  // before when the picture is shown smaller than 1:1.
  const double x = std::floor((client.x + 0.5 - m_OriginX) / m_Scale);
  const double y = std::floor((client.y + 0.5 - m_OriginY) / m_Scale);
  if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return std::nullopt;
  return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

POINT PictureView::ToImageClamped(POINT client) const {
  const double x = std::clamp((client.x - m_OriginX) / m_Scale, 0.0, static_cast<double>(m_Width));
  const double y = std::clamp((client.y - m_OriginY) / m_Scale, 0.0, static_cast<double>(m_Height));
  return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

POINT PictureView::ToClient(double imageX, double imageY) const {
  return POINT{Floor(m_OriginX + imageX * m_Scale), Floor(m_OriginY + imageY * m_Scale)};
}

RECT PictureView::ToClient(const RECT& imageArea) const {
  const POINT topLeft = ToClient(imageArea.left, imageArea.top);
  const POINT bottomRight = ToClient(imageArea.right, imageArea.bottom);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

POINT PictureView::Middle() const { return POINT{(m_Area.left + m_Area.right) / 2, (m_Area.top + m_Area.bottom) / 2}; }

}  // namespace xelimg::view
