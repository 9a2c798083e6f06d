// MFC's drawing classes over the GDI functions.
#include <winui/afxgdi.h>

#include "gdi/gdi_objects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// The wrappers FromHandle hands out: one per handle and wrapper type, borrowing the handle, and
// freed when the handle is (as a window's temporary CWnd dies with its window). Every paint makes
// new pens and DCs, so a map that only grew would grow for as long as a dialog is shown.
template <class Wrapper, class Handle>
class TemporaryMap {
 public:
  // Never destroyed: objects freed during exit still come here to forget their wrappers.
  static TemporaryMap& Get() {
    static auto* map = new TemporaryMap;
    return *map;
  }

  Wrapper* Wrap(Handle handle) {
    std::lock_guard lock(mutex_);
    std::unique_ptr<Wrapper>& wrapper = wrappers_[handle];
    if (!wrapper) {
      wrapper = std::make_unique<Wrapper>();
      wrapper->Attach(handle);
    }
    return wrapper.get();
  }

  void Forget(const void* handle) {
    std::unique_ptr<Wrapper> wrapper;
    {
      std::lock_guard lock(mutex_);
      auto it = wrappers_.find(handle);
      if (it == wrappers_.end()) return;
      wrapper = std::move(it->second);
      wrappers_.erase(it);
    }
    wrapper->Detach();  // the handle is gone already; the wrapper only borrowed it
  }

 private:
  std::mutex mutex_;
  std::unordered_map<const void*, std::unique_ptr<Wrapper>> wrappers_;
};

// A handle that is already gone (SelectObject handing back an object deleted while selected, or a
// stale handle) gets a wrapper too, as MFC gives one, but nothing would ever free a kept one: each
// thread re-points one wrapper per type instead. Calls through it fail as they do for the handle.
template <class Wrapper, class Handle>
Wrapper* StaleWrapper(Handle handle) {
  struct Borrowed {
    Wrapper wrapper;
    ~Borrowed() { wrapper.Detach(); }
  };
  thread_local Borrowed stale;
  stale.wrapper.Detach();
  stale.wrapper.Attach(handle);
  return &stale.wrapper;
}

template <class Wrapper, class Handle>
Wrapper* Temporary(Handle handle) {
  if (!handle) return nullptr;
  if (!winui::gdi::IsLiveHandle(handle)) return StaleWrapper<Wrapper>(handle);
  return TemporaryMap<Wrapper, Handle>::Get().Wrap(handle);
}

// The wrapper of whatever SelectObject handed back, in the wrapper type the caller selected with.
template <class Wrapper>
Wrapper* SelectInto(HDC dc, const CGdiObject* object) {
  if (!object) return nullptr;
  return Temporary<Wrapper>(SelectObject(dc, object->GetSafeHandle()));
}

}  // namespace

namespace winui::gdi {

void ForgetTemporaryWrappers(const void* handle) {
  TemporaryMap<CGdiObject, HGDIOBJ>::Get().Forget(handle);
  TemporaryMap<CPen, HGDIOBJ>::Get().Forget(handle);
  TemporaryMap<CBrush, HGDIOBJ>::Get().Forget(handle);
  TemporaryMap<CFont, HGDIOBJ>::Get().Forget(handle);
  TemporaryMap<CBitmap, HGDIOBJ>::Get().Forget(handle);
  TemporaryMap<CDC, HDC>::Get().Forget(handle);
}

}  // namespace winui::gdi

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

bool CRect::IntersectRect(LPCRECT a, LPCRECT b) {
  const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
               std::min(a->bottom, b->bottom)};
  if (r.right <= r.left || r.bottom <= r.top) {
    SetRectEmpty();
    return false;
  }
  CopyRect(&r);
  return true;
}

bool CRect::UnionRect(LPCRECT a, LPCRECT b) {
  const CRect first(a), second(b);
  if (first.IsRectEmpty() && second.IsRectEmpty()) {
    SetRectEmpty();
    return false;
  }
  if (first.IsRectEmpty()) return CopyRect(b), true;
  if (second.IsRectEmpty()) return CopyRect(a), true;
  SetRect(std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
          std::max(a->bottom, b->bottom));
  return true;
}

// ---- GDI objects --------------------------------------------------------------------------------
CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return Temporary<CGdiObject>(object); }

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (!object || m_hObject) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ object = m_hObject;
  m_hObject = nullptr;
  return object;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

CPen* CPen::FromHandle(HPEN pen) { return Temporary<CPen>(reinterpret_cast<HGDIOBJ>(pen)); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return Temporary<CBrush>(reinterpret_cast<HGDIOBJ>(brush)); }
CFont* CFont::FromHandle(HFONT font) { return Temporary<CFont>(reinterpret_cast<HGDIOBJ>(font)); }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return Temporary<CBitmap>(reinterpret_cast<HGDIOBJ>(bitmap)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR faceName) {
  return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc) {
  LOGFONT font;
  font.lfHeight = pointSize;
  font.lfCharSet = DEFAULT_CHARSET;
  if (faceName) std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", faceName);
  return CreatePointFontIndirect(&font, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* font, CDC* /*dc*/) {
  if (!font) return FALSE;
  LOGFONT scaled = *font;
  // Tenths of a point to an em height in pixels at 96 dpi, rounded to nearest: 80 -> 11 px.
  scaled.lfHeight = -((std::abs(font->lfHeight) * 96 + 360) / 720);
  return CreateFontIndirect(&scaled);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}

CSize CBitmap::GetBitmapDimension() const {
  BITMAP bitmap;
  return GetBitmap(&bitmap) ? CSize(bitmap.bmWidth, bitmap.bmHeight) : CSize();
}

// ---- Device context -----------------------------------------------------------------------------
CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc) { return Temporary<CDC>(dc); }

BOOL CDC::Attach(HDC dc) {
  if (!dc || m_hDC) return FALSE;
  m_hDC = dc;
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->GetSafeHdc() : nullptr)); }

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pen) { return SelectInto<CPen>(m_hDC, pen); }
CBrush* CDC::SelectObject(CBrush* brush) { return SelectInto<CBrush>(m_hDC, brush); }
CFont* CDC::SelectObject(CFont* font) { return SelectInto<CFont>(m_hDC, font); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) { return SelectInto<CBitmap>(m_hDC, bitmap); }
CGdiObject* CDC::SelectObject(CGdiObject* object) { return SelectInto<CGdiObject>(m_hDC, object); }

CGdiObject* CDC::SelectStockObject(int index) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT previous{};
  ::SetWindowOrgEx(m_hDC, x, y, &previous);
  return previous;
}

CPoint CDC::GetWindowOrg() const {
  POINT origin{};
  ::GetWindowOrgEx(m_hDC, &origin);
  return origin;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT previous{};
  ::SetViewportOrgEx(m_hDC, x, y, &previous);
  return previous;
}

CPoint CDC::GetViewportOrg() const {
  POINT origin{};
  ::GetViewportOrgEx(m_hDC, &origin);
  return origin;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  POINT previous{};
  ::OffsetViewportOrgEx(m_hDC, dx, dy, &previous);
  return previous;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT previous{};
  ::MoveToEx(m_hDC, x, y, &previous);
  return previous;
}

CPoint CDC::GetCurrentPosition() const {
  POINT position{};
  ::GetCurrentPositionEx(m_hDC, &position);
  return position;
}

void CDC::FillSolidRect(LPCRECT rc, COLORREF color) {
  // MFC fills through ExtTextOut's opaque rectangle, so the background colour changes as a side effect.
  ::SetBkColor(m_hDC, color);
  ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  const RECT rc{x, y, x + cx, y + cy};
  FillSolidRect(&rc, color);
}

void CDC::Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight) {
  Draw3dRect(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  // MFC's order: top and left in one colour, then right and bottom over the far corners.
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, src ? src->GetSafeHdc() : nullptr, srcX, srcY, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth, int srcHeight,
                     DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, src ? src->GetSafeHdc() : nullptr, srcX, srcY, srcWidth, srcHeight,
                      rop);
}

BOOL CDC::TextOut(int x, int y, const std::string& text) {
  return ::TextOut(m_hDC, x, y, text.data(), static_cast<int>(text.size()));
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rc, const std::string& text, const INT* dx) {
  return ::ExtTextOut(m_hDC, x, y, options, rc, text.data(), static_cast<UINT>(text.size()), dx);
}

int CDC::DrawText(const std::string& text, LPRECT rc, UINT format) {
  return ::DrawText(m_hDC, text.data(), static_cast<int>(text.size()), rc, format);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
  SIZE size{};
  ::GetTextExtentPoint32(m_hDC, text, length, &size);
  return size;
}

CSize CDC::GetTextExtent(const std::string& text) const {
  return GetTextExtent(text.data(), static_cast<int>(text.size()));
}
