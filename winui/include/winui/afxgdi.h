// MFC's drawing classes: the geometry helpers and thin wrappers over GDI handles.
//
// A wrapper owns its handle (the destructor deletes it) unless it came from FromHandle, which hands
// out a wrapper that only borrows the handle, as MFC's temporary objects do.
#pragma once

#include <winui/wingdi.h>

#include <string>

class CSize;
class CRect;

class CPoint : public POINT {
 public:
  CPoint() = default;
  CPoint(int xIn, int yIn) : POINT{xIn, yIn} {}
  CPoint(POINT p) : POINT(p) {}  // NOLINT: converts implicitly, as MFC's does
  explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}

  void Offset(int dx, int dy) { x += dx, y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  void SetPoint(int xIn, int yIn) { x = xIn, y = yIn; }

  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  CPoint& operator+=(SIZE s) {
    Offset(s);
    return *this;
  }
  CPoint& operator-=(SIZE s) {
    Offset(-s.cx, -s.cy);
    return *this;
  }
  CPoint& operator+=(POINT p) {
    Offset(p);
    return *this;
  }
  CPoint& operator-=(POINT p) {
    Offset(-p.x, -p.y);
    return *this;
  }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CSize operator-(POINT p) const;  // the distance between two points
};

class CSize : public SIZE {
 public:
  CSize() = default;
  CSize(int cxIn, int cyIn) : SIZE{cxIn, cyIn} {}
  CSize(SIZE s) : SIZE(s) {}  // NOLINT: converts implicitly, as MFC's does
  explicit CSize(POINT p) : SIZE{p.x, p.y} {}

  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  CSize& operator+=(SIZE s) {
    cx += s.cx, cy += s.cy;
    return *this;
  }
  CSize& operator-=(SIZE s) {
    cx -= s.cx, cy -= s.cy;
    return *this;
  }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(POINT p) const { return CSize(x - p.x, y - p.y); }

class CRect : public RECT {
 public:
  CRect() = default;
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& rc) : RECT(rc) {}  // NOLINT: converts implicitly, as MFC's does
  explicit CRect(LPCRECT rc) : RECT(*rc) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  // Rounds towards the top-left, as MFC's integer halving does.
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // Left and top edges are inside, right and bottom edges outside.
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool EqualRect(LPCRECT rc) const {
    return left == rc->left && top == rc->top && right == rc->right && bottom == rc->bottom;
  }

  void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT rc) { *static_cast<RECT*>(this) = *rc; }

  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
  void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
  void InflateRect(LPCRECT rc) { InflateRect(rc->left, rc->top, rc->right, rc->bottom); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
  void DeflateRect(LPCRECT rc) { DeflateRect(rc->left, rc->top, rc->right, rc->bottom); }
  void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void MoveToX(int x) { right = x + Width(), left = x; }
  void MoveToY(int y) { bottom = y + Height(), top = y; }
  void MoveToXY(int x, int y) { MoveToX(x), MoveToY(y); }
  void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
  void NormalizeRect();
  // Both return false and leave an empty rectangle when the result has no area.
  bool IntersectRect(LPCRECT a, LPCRECT b);
  bool UnionRect(LPCRECT a, LPCRECT b);

  bool operator==(const RECT& rc) const { return EqualRect(&rc); }
  bool operator!=(const RECT& rc) const { return !EqualRect(&rc); }
  CRect& operator+=(POINT p) {
    OffsetRect(p);
    return *this;
  }
  CRect& operator-=(POINT p) {
    OffsetRect(-p.x, -p.y);
    return *this;
  }
  CRect& operator+=(SIZE s) {
    OffsetRect(s);
    return *this;
  }
  CRect& operator-=(SIZE s) {
    OffsetRect(-s.cx, -s.cy);
    return *this;
  }
  CRect& operator&=(const RECT& rc) {
    IntersectRect(this, &rc);
    return *this;
  }
  CRect& operator|=(const RECT& rc) {
    UnionRect(this, &rc);
    return *this;
  }
  CRect operator+(POINT p) const {
    CRect r(*this);
    r += p;
    return r;
  }
  CRect operator-(POINT p) const {
    CRect r(*this);
    r -= p;
    return r;
  }
  CRect operator+(SIZE s) const {
    CRect r(*this);
    r += s;
    return r;
  }
  CRect operator-(SIZE s) const {
    CRect r(*this);
    r -= s;
    return r;
  }
  CRect operator&(const RECT& rc) const {
    CRect r;
    r.IntersectRect(this, &rc);
    return r;
  }
  CRect operator|(const RECT& rc) const {
    CRect r;
    r.UnionRect(this, &rc);
    return r;
  }
};

// ---- GDI objects --------------------------------------------------------------------------------
class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  // A borrowing wrapper for `object`, valid as long as the handle is; null for a null handle.
  static CGdiObject* FromHandle(HGDIOBJ object);

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }
  BOOL Attach(HGDIOBJ object);
  BOOL Attach(GdiObjectHandle auto object) { return Attach(reinterpret_cast<HGDIOBJ>(object)); }
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
  BOOL CreateStockObject(int index);

  HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  static CPen* FromHandle(HPEN pen);
  BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
  BOOL CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
  operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  static CBrush* FromHandle(HBRUSH brush);
  BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
  BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
  BOOL CreateSysColorBrush(int index) { return Attach(::CreateSolidBrush(::GetSysColor(index))); }
  operator HBRUSH() const { return reinterpret_cast<HBRUSH>(m_hObject); }
};

class CDC;

class CFont : public CGdiObject {
 public:
  static CFont* FromHandle(HFONT font);
  BOOL CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCSTR faceName);
  // `pointSize` in tenths of a point, converted at the screen's 96 dpi.
  BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }
  operator HFONT() const { return reinterpret_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
 public:
  static CBitmap* FromHandle(HBITMAP bitmap);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
  }
  int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
  CSize GetBitmapDimension() const;
  operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
};

// ---- Device context -----------------------------------------------------------------------------
class CDC {
 public:
  CDC() = default;
  virtual ~CDC();  // deletes a DC it still holds, as MFC's does
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  static CDC* FromHandle(HDC dc);

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  BOOL Attach(HDC dc);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int savedDc) { return ::RestoreDC(m_hDC, savedDc); }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  CGdiObject* SelectObject(CGdiObject* object);
  CGdiObject* SelectStockObject(int index);
  CFont* GetCurrentFont() const;

  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
  int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
  int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
  int GetMapMode() const { return ::GetMapMode(m_hDC); }

  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  CPoint GetWindowOrg() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint GetViewportOrg() const;
  CPoint OffsetViewportOrg(int dx, int dy);
  int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
  int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
  int IntersectClipRect(LPCRECT rc) { return IntersectClipRect(rc->left, rc->top, rc->right, rc->bottom); }
  void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
  void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }

  COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
  COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  CPoint GetCurrentPosition() const;
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
  BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
  BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
  BOOL Rectangle(LPCRECT rc) { return Rectangle(rc->left, rc->top, rc->right, rc->bottom); }
  BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
  BOOL Ellipse(LPCRECT rc) { return Ellipse(rc->left, rc->top, rc->right, rc->bottom); }
  void FillRect(LPCRECT rc, CBrush* brush) { ::FillRect(m_hDC, rc, static_cast<HBRUSH>(*brush)); }
  void FrameRect(LPCRECT rc, CBrush* brush) { ::FrameRect(m_hDC, rc, static_cast<HBRUSH>(*brush)); }
  void InvertRect(LPCRECT rc) { ::InvertRect(m_hDC, rc); }
  void FillSolidRect(LPCRECT rc, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  // One-pixel frame: top and left in the first colour, bottom and right in the second.
  void Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
  void DrawFocusRect(LPCRECT rc) { ::DrawFocusRect(m_hDC, rc); }
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth, int srcHeight,
                  DWORD rop);
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
  BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }

  BOOL TextOut(int x, int y, LPCSTR text, int length) { return ::TextOut(m_hDC, x, y, text, length); }
  BOOL TextOut(int x, int y, const std::string& text);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rc, const std::string& text, const INT* dx = nullptr);
  int DrawText(LPCSTR text, int length, LPRECT rc, UINT format) { return ::DrawText(m_hDC, text, length, rc, format); }
  int DrawText(const std::string& text, LPRECT rc, UINT format);
  CSize GetTextExtent(LPCSTR text, int length) const;
  CSize GetTextExtent(const std::string& text) const;
  BOOL GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetrics(m_hDC, metrics); }
  int GetTextFace(int count, LPSTR faceName) const { return ::GetTextFace(m_hDC, count, faceName); }

  HDC m_hDC = nullptr;
};
