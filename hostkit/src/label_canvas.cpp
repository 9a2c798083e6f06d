#include "label_canvas.h"

#include <xelhost/errors.h>

#include <cstddef>

namespace xelhost {

LabelCanvas::LabelCanvas(int width, int height, COLORREF background, COLORREF ink)
    : m_Width(width), m_Height(height), m_Dc(::CreateCompatibleDC(nullptr)) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  m_Bitmap = ::CreateDIBSection(m_Dc, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
  if (m_Dc == nullptr || m_Bitmap == nullptr || m_pBits == nullptr) throw CommandError("cannot make a text bitmap");
  m_OldBitmap = ::SelectObject(m_Dc, m_Bitmap);
  m_OldFont = ::SelectObject(m_Dc, ::GetStockObject(ANSI_FIXED_FONT));
  Fill(RECT{0, 0, width, height}, background);
  ::SetBkMode(m_Dc, TRANSPARENT);
  Ink(ink);
}

LabelCanvas::~LabelCanvas() {
  if (m_OldPen != nullptr) ::SelectObject(m_Dc, m_OldPen);
  if (m_Pen != nullptr) ::DeleteObject(m_Pen);
  ::SelectObject(m_Dc, m_OldFont);
  ::SelectObject(m_Dc, m_OldBitmap);
  ::DeleteObject(m_Bitmap);
  ::DeleteDC(m_Dc);
}

void LabelCanvas::Text(const std::string& text, RECT box, UINT format) const {
  ::DrawText(m_Dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
}

void LabelCanvas::Line(int x0, int y0, int x1, int y1) const {
  ::MoveToEx(m_Dc, x0, y0, nullptr);
  ::LineTo(m_Dc, x1, y1);
}

void LabelCanvas::Ink(COLORREF colour) {
  ::SetTextColor(m_Dc, colour);
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = ::SelectObject(m_Dc, pen);
  if (m_Pen != nullptr) {
    ::DeleteObject(m_Pen);
  } else {
    m_OldPen = old;
  }
  m_Pen = pen;
}

void LabelCanvas::Fill(RECT box, COLORREF colour) const {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(m_Dc, &box, brush);
  ::DeleteObject(brush);
}

BYTE LabelCanvas::Component(int x, int y, int component) const {
  const auto* quad = static_cast<const RGBQUAD*>(m_pBits) + static_cast<std::size_t>(y) * m_Width + x;
  return component == 0 ? quad->rgbRed : component == 1 ? quad->rgbGreen : quad->rgbBlue;
}

void LabelCanvas::CopyTo(xelfw::Image& picture, RECT box, long left, long top) const {
  const UINT full = (1u << picture.Layout().imgBPC) - 1;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const long px = left + (x - box.left), py = top + (y - box.top);
      if (px < 0 || py < 0 || px >= static_cast<long>(picture.Width()) || py >= static_cast<long>(picture.Height()))
        continue;
      for (UINT c = 0; c < 3; ++c) {
        picture.SetComponent(static_cast<UINT>(px), static_cast<UINT>(py), c,
                             Component(x, y, static_cast<int>(c)) * full / 255);
      }
    }
  }
}

TextMeasure::TextMeasure() : m_Canvas(1, 1) {
  TEXTMETRIC metrics{};
  ::GetTextMetrics(m_Canvas.Dc(), &metrics);
  m_Height = metrics.tmHeight;
}

int TextMeasure::Width(const std::string& text) const {
  SIZE size{};
  ::GetTextExtentPoint32(m_Canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace xelhost
