// Invalidation, update regions, BeginPaint/EndPaint and the window DCs.
#include "painting.h"

#include <winui/wingdi.h>

#include <algorithm>

using namespace winui::core;

namespace winui::core {
namespace {

void AddToUpdate(Window* w, RECT rc, bool erase) {
  const RECT client = w->ClientRect();
  IntersectRect(&rc, &rc, &client);
  if (IsRectEmpty(&rc)) return;
  if (IsRectEmpty(&w->update)) {
    w->update = rc;
  } else {
    UnionRect(&w->update, &w->update, &rc);
  }
  w->erase = w->erase || erase;
}

Window* FindPaintable(Window* w, const std::shared_ptr<ThreadQueue>& queue) {
  if (!(w->style & WS_VISIBLE) || w->destroyed) return nullptr;
  if (w->queue == queue) {
    if (w->frameDirty) {
      w->frameDirty = false;
      SendMessage(w->handle, WM_NCPAINT, 1, 0);
    }
    if (!IsRectEmpty(&w->update)) return w;
  }
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    if (Window* found = FindPaintable(*it, queue)) return found;
  }
  return nullptr;
}

}  // namespace

void Invalidate(Window* w, const RECT* rc, bool erase) {
  const RECT all = w->ClientRect();
  const RECT area = rc ? *rc : all;
  AddToUpdate(w, area, erase);
  if (w->style & WS_CLIPCHILDREN) return;
  for (Window* child : w->children) {
    if (!(child->style & WS_VISIBLE)) continue;
    RECT overlap;
    if (!IntersectRect(&overlap, &area, &child->rect)) continue;
    if (overlap.left < child->rect.left + child->insets.left || overlap.top < child->rect.top + child->insets.top ||
        overlap.right > child->rect.right - child->insets.right ||
        overlap.bottom > child->rect.bottom - child->insets.bottom) {
      child->frameDirty = true;
    }
    OffsetRect(&overlap, -child->rect.left - child->insets.left, -child->rect.top - child->insets.top);
    Invalidate(child, &overlap, true);
  }
}

void InvalidateUnderChild(Window* child, const RECT& rectInParent) {
  if (child->IsChild()) Invalidate(child->parent, &rectInParent, true);
}

HWND NextWindowToPaint() {
  auto queue = QueueOfThisThread();
  for (Window* top : std::vector<Window*>(TopLevelWindows())) {
    if (Window* w = FindPaintable(top, queue)) return w->handle;
  }
  return nullptr;
}

void PaintAllPending() {
  // A window that never validates would repaint forever; a bounded number of rounds stops that.
  for (int round = 0; round < 10000; ++round) {
    HWND hwnd = NextWindowToPaint();
    if (!hwnd) return;
    Window* w = Find(hwnd);
    const RECT before = w->update;
    SendMessage(hwnd, WM_PAINT, 0, 0);
    if ((w = Find(hwnd)) && EqualRect(&before, &w->update)) w->update = RECT{};
  }
}

}  // namespace winui::core

BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase) {
  if (!hwnd) {
    for (Window* top : TopLevelWindows()) {
      top->frameDirty = true;
      Invalidate(top, nullptr, true);
    }
    return TRUE;
  }
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  Invalidate(w, rect, erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, LPCRECT rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->update = RECT{};
    w->erase = false;
    return TRUE;
  }
  RECT rest = w->update;
  RECT overlap;
  // The region is kept as one rectangle, so only validations that cover it entirely or cut a full
  // band off one side shrink it.
  if (IntersectRect(&overlap, &rest, rect)) {
    if (EqualRect(&overlap, &rest)) {
      rest = RECT{};
    } else if (overlap.left == rest.left && overlap.right == rest.right) {
      if (overlap.top == rest.top)
        rest.top = overlap.bottom;
      else if (overlap.bottom == rest.bottom)
        rest.bottom = overlap.top;
    } else if (overlap.top == rest.top && overlap.bottom == rest.bottom) {
      if (overlap.left == rest.left)
        rest.left = overlap.right;
      else if (overlap.right == rest.right)
        rest.right = overlap.left;
    }
  }
  w->update = rest;
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL /*erase*/) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->update;
  return !IsRectEmpty(&w->update);
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  BusyWindow busy(w);
  if (w->frameDirty && IsShownOnScreen(w)) {
    w->frameDirty = false;
    SendMessage(hwnd, WM_NCPAINT, 1, 0);
  }
  if (!IsRectEmpty(&w->update) && IsShownOnScreen(w)) SendMessage(hwnd, WM_PAINT, 0, 0);
  for (Window* child : std::vector<Window*>(w->children.rbegin(), w->children.rend())) {
    if (!child->destroyed) UpdateWindow(child->handle);
  }
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, LPCRECT rect, HRGN /*region*/, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (flags & RDW_FRAME) w->frameDirty = true;
  if (flags & RDW_INVALIDATE) Invalidate(w, rect, (flags & RDW_ERASE) != 0);
  if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  Window* w = Find(hwnd);
  if (!w || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  const RECT update = w->update;
  const bool erase = w->erase;
  w->update = RECT{};
  w->erase = false;
  Window* top = TopLevelOf(w);
  const POINT origin = WindowOriginOnTopLevel(w);
  RECT clip = update;
  OffsetRect(&clip, origin.x + w->insets.left, origin.y + w->insets.top);
  const RECT visible = VisibleClientOnTopLevel(w);
  IntersectRect(&clip, &clip, &visible);
  MarkScreenChanged();
  paint->hdc =
      winui::CreateSurfaceDC(top->backing.get(), POINT{origin.x + w->insets.left, origin.y + w->insets.top}, clip);
  paint->rcPaint = update;
  paint->fErase = TRUE;
  if (erase) {
    paint->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  } else {
    paint->fErase = FALSE;
  }
  return paint->hdc;
}

BOOL EndPaint(HWND /*hwnd*/, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  winui::ReleaseSurfaceDC(paint->hdc);
  MarkScreenChanged();
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  const POINT origin = WindowOriginOnTopLevel(w);
  MarkScreenChanged();
  return winui::CreateSurfaceDC(TopLevelOf(w)->backing.get(),
                                POINT{origin.x + w->insets.left, origin.y + w->insets.top}, VisibleClientOnTopLevel(w));
}

HDC GetWindowDC(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  MarkScreenChanged();
  return winui::CreateSurfaceDC(TopLevelOf(w)->backing.get(), WindowOriginOnTopLevel(w), VisibleWindowOnTopLevel(w));
}

int ReleaseDC(HWND /*hwnd*/, HDC dc) {
  if (!dc) return 0;
  winui::ReleaseSurfaceDC(dc);
  MarkScreenChanged();
  return 1;
}
