// The classic non-client frame: borders and 3-D edges, the gradient caption with its close button,
// hit testing on it, and the system metrics that describe it.
#include "nonclient.h"

#include "input_state.h"

#include <winui/wingdi.h>

#include <algorithm>
#include <cstring>

using namespace winui::core;

namespace winui::core {
namespace {

constexpr int kBorder = 1;
constexpr int kFixedFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kCaption = 19;  // 18 pixels of caption and the line under it
constexpr int kCaptionButtonWidth = 16;
constexpr int kCaptionButtonHeight = 14;

bool HasDialogFrame(DWORD style, DWORD exStyle) { return (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME); }

// Writes straight into a window's backing pixels, inside the part of the window that is visible.
class FramePainter {
 public:
  explicit FramePainter(Window* w)
      : surface_(TopLevelOf(w)->backing.get()), origin_(WindowOriginOnTopLevel(w)), clip_(VisibleWindowOnTopLevel(w)) {}

  void Fill(RECT rc, COLORREF color) {
    OffsetRect(&rc, origin_.x, origin_.y);
    RECT bounds{0, 0, surface_->Width(), surface_->Height()};
    IntersectRect(&rc, &rc, &clip_);
    IntersectRect(&rc, &rc, &bounds);
    const std::uint32_t pixel = winui::PixelFromColorRef(color);
    for (int y = rc.top; y < rc.bottom; ++y) {
      std::uint32_t* row = surface_->Row(y);
      std::fill(row + rc.left, row + rc.right, pixel);
    }
  }
  void Pixel(int x, int y, COLORREF color) { Fill(RECT{x, y, x + 1, y + 1}, color); }

  // One ring of a 3-D edge: `topLeft` colours the left and top lines, `bottomRight` the others.
  RECT Ring(RECT rc, COLORREF topLeft, COLORREF bottomRight) {
    Fill(RECT{rc.left, rc.top, rc.right - 1, rc.top + 1}, topLeft);
    Fill(RECT{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, topLeft);
    Fill(RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
    Fill(RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
    InflateRect(&rc, -1, -1);
    return rc;
  }

  void HorizontalGradient(RECT rc, COLORREF from, COLORREF to) {
    const int width = std::max<int>(1, rc.right - rc.left - 1);
    for (int x = rc.left; x < rc.right; ++x) {
      const int t = x - rc.left;
      auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>(a + (static_cast<int>(b) - a) * t / width); };
      Fill(RECT{x, rc.top, x + 1, rc.bottom},
           RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to))));
    }
  }

 private:
  winui::Surface* surface_;
  POINT origin_;
  RECT clip_;
};

RECT CaptionRect(const Window* w) {
  const int frame =
      w->insets.left - ((w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0) - ((w->exStyle & WS_EX_STATICEDGE) ? 1 : 0);
  return RECT{frame, frame, w->Width() - frame, frame + kCaption - 1};
}

RECT CloseButtonRect(const Window* w) {
  const RECT caption = CaptionRect(w);
  const int top = caption.top + (caption.bottom - caption.top - kCaptionButtonHeight) / 2;
  return RECT{caption.right - 2 - kCaptionButtonWidth, top, caption.right - 2, top + kCaptionButtonHeight};
}

void PaintCloseButton(FramePainter& p, RECT rc) {
  p.Fill(rc, GetSysColor(COLOR_BTNFACE));
  rc = p.Ring(rc, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  p.Ring(rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  // The classic cross: two diagonals two pixels thick, 8 wide and 7 high, centred.
  const int x0 = rc.left + (rc.right - rc.left - 8) / 2;
  const int y0 = rc.top + (rc.bottom - rc.top - 7) / 2;
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  for (int i = 0; i < 7; ++i) {
    p.Fill(RECT{x0 + i, y0 + i, x0 + i + 2, y0 + i + 1}, ink);
    p.Fill(RECT{x0 + 6 - i, y0 + i, x0 + 8 - i, y0 + i + 1}, ink);
  }
}

void PaintCaptionText(Window* w, const RECT& caption, bool active) {
  if (w->text.empty()) return;
  HDC dc = GetWindowDC(w->handle);
  LOGFONT lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_BOLD;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  HFONT font = CreateFontIndirect(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  RECT text = caption;
  text.left += 3;
  if (w->style & WS_SYSMENU) text.right = CloseButtonRect(w).left - 2;
  DrawText(dc, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(w->handle, dc);
}

}  // namespace

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

RECT FrameInsets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if (style & WS_THICKFRAME) {
    frame = kSizingFrame;
  } else if (HasDialogFrame(style, exStyle)) {
    frame = kFixedFrame;
  } else if (style & WS_BORDER) {
    frame = kBorder;
  }
  if (exStyle & WS_EX_CLIENTEDGE) frame += 2;
  if (exStyle & WS_EX_STATICEDGE) frame += 1;
  RECT insets{frame, frame, frame, frame};
  if (HasCaption(style)) insets.top += kCaption;
  return insets;
}

bool IsDrawnActive(const Window* w) { return FocusOfThisThread().active == w->handle; }

void PaintNonClient(Window* w) {
  if (IsRectEmpty(&w->insets) && w->insets.left == 0 && w->insets.top == 0) return;
  MarkScreenChanged();
  FramePainter p(w);
  RECT rc{0, 0, w->Width(), w->Height()};
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  if ((w->style & WS_THICKFRAME) || HasDialogFrame(w->style, w->exStyle)) {
    rc = p.Ring(rc, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    rc = p.Ring(rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    const int rest = ((w->style & WS_THICKFRAME) ? kSizingFrame : kFixedFrame) - 2;
    for (int i = 0; i < rest; ++i) rc = p.Ring(rc, face, face);
  } else if (w->style & WS_BORDER) {
    rc = p.Ring(rc, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
  }
  if (HasCaption(w->style)) {
    const bool active = IsDrawnActive(w);
    const RECT caption = CaptionRect(w);
    p.HorizontalGradient(caption, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION),
                         GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION));
    p.Fill(RECT{caption.left, caption.bottom, caption.right, caption.bottom + 1}, face);
    if (w->style & WS_SYSMENU) PaintCloseButton(p, CloseButtonRect(w));
    PaintCaptionText(w, caption, active);
    rc.top = caption.bottom + 1;
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    rc = p.Ring(rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    rc = p.Ring(rc, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
  if (w->exStyle & WS_EX_STATICEDGE) p.Ring(rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

LRESULT NonClientHitTest(const Window* w, POINT screen) {
  RECT window;
  GetWindowRect(w->handle, &window);
  if (!PtInRect(&window, screen)) return HTNOWHERE;
  const POINT p{screen.x - window.left, screen.y - window.top};
  const RECT client{w->insets.left, w->insets.top, w->Width() - w->insets.right, w->Height() - w->insets.bottom};
  if (PtInRect(&client, p)) return HTCLIENT;
  if (w->style & WS_THICKFRAME) {
    const int corner = kCaption + kSizingFrame;
    const bool left = p.x < kSizingFrame, right = p.x >= w->Width() - kSizingFrame;
    const bool top = p.y < kSizingFrame, bottom = p.y >= w->Height() - kSizingFrame;
    const bool nearLeft = p.x < corner, nearRight = p.x >= w->Width() - corner;
    const bool nearTop = p.y < corner, nearBottom = p.y >= w->Height() - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  if (HasCaption(w->style)) {
    const RECT caption = CaptionRect(w);
    if (PtInRect(&caption, p)) {
      const RECT close = CloseButtonRect(w);
      return (w->style & WS_SYSMENU) && PtInRect(&close, p) ? HTCLOSE : HTCAPTION;
    }
  }
  return HTBORDER;
}

MINMAXINFO DefaultMinMaxInfo(const Window*) {
  MINMAXINFO info;
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  info.ptMaxSize = POINT{cx, cy};
  info.ptMaxPosition = POINT{0, 0};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{cx + 2 * kSizingFrame, cy + 2 * kSizingFrame};
  return info;
}

}  // namespace winui::core

namespace winui::core {
int ScreenWidth();
int ScreenHeight();
}  // namespace winui::core

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return ScreenWidth();
    case SM_CYSCREEN:
      return ScreenHeight();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 16;
    case SM_CYCAPTION:
      return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return kFixedFrame;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kSizingFrame;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXSIZE:
      return 18;
    case SM_CYSIZE:
      return 18;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXMIN:
    case SM_CXMINTRACK:
      return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
      return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CYSMCAPTION:
      return 16;
    case SM_SWAPBUTTON:
      return 0;
    default:
      return 0;
  }
}

UINT GetDoubleClickTime() { return 500; }
