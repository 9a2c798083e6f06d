// Text and lines drawn by the window layer's GDI in the dialogs' fixed font on a 32-bit memory bitmap,
// then copied unit for unit into a picture of any depth: what legends, marks' labels and plots share.
#pragma once

#include <xelfw/Image.h>

#include <winui/afxwin.h>

#include <string>

namespace xelhost {

class LabelCanvas {
 public:
  // Filled with the background colour, text in the ink colour without a text background.
  LabelCanvas(int width, int height, COLORREF background = RGB(255, 255, 255), COLORREF ink = RGB(0, 0, 0));
  ~LabelCanvas();
  LabelCanvas(const LabelCanvas&) = delete;
  LabelCanvas& operator=(const LabelCanvas&) = delete;

  HDC Dc() const { return m_Dc; }
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  // text: Windows-1252, as the font draws it.
  void Text(const std::string& text, RECT box, UINT format) const;
  void Line(int x0, int y0, int x1, int y1) const;
  // Lines and text from now on in this colour.
  void Ink(COLORREF colour);
  void Fill(RECT box, COLORREF colour) const;
  // 0..255 for component 0 (red), 1, 2.
  BYTE Component(int x, int y, int component) const;
  // The canvas's pixels inside box, at (left, top) of the RGB picture, scaled to its depth; what falls
  // outside the picture is left out.
  void CopyTo(xelfw::Image& picture, RECT box, long left, long top) const;

 private:
  int m_Width;
  int m_Height;
  HDC m_Dc;
  HBITMAP m_Bitmap = nullptr;
  HGDIOBJ m_OldBitmap = nullptr;
  HGDIOBJ m_OldFont = nullptr;
  HGDIOBJ m_OldPen = nullptr;
  HPEN m_Pen = nullptr;
  void* m_pBits = nullptr;
};

// Text size in the fixed font, measured on a bitmap of its own before a canvas's size is known.
class TextMeasure {
 public:
  TextMeasure();
  int Width(const std::string& text) const;
  int Height() const { return m_Height; }

 private:
  LabelCanvas m_Canvas;
  int m_Height = 0;
};

}  // namespace xelhost
