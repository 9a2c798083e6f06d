// Positions, sizes, z-order and coordinate mapping of windows.
#include "input_state.h"
#include "nonclient.h"
#include "painting.h"
#include "window.h"

#include <algorithm>

using namespace winui::core;

namespace {

void Reorder(Window* w, HWND insertAfter) {
  std::vector<Window*>& siblings = w->IsChild() ? w->parent->children : TopLevelWindows();
  siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    siblings.insert(siblings.begin(), w);
  } else if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(w);
  } else {
    Window* after = Find(insertAfter);
    auto it = std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(it == siblings.end() ? siblings.end() : it + 1, w);
  }
  if (w->IsChild()) winui::core::Invalidate(w, nullptr, true);
}

void SendSizeAndMove(Window* w, bool moved, bool sized) {
  if (sized) {
    const RECT client = w->ClientRect();
    SendMessage(w->handle, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  }
  if (moved && !w->destroyed) {
    SendMessage(w->handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->rect.left), static_cast<WORD>(w->rect.top)));
  }
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  BusyWindow busy(w);
  MarkScreenChanged();
  const RECT old = w->rect;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  RECT next = old;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&next, x - old.left, y - old.top);
  if (!(flags & SWP_NOSIZE)) {
    next.right = next.left + std::max(0, cx);
    next.bottom = next.top + std::max(0, cy);
  }
  const bool moved = next.left != old.left || next.top != old.top;
  const bool sized =
      (next.right - next.left) != (old.right - old.left) || (next.bottom - next.top) != (old.bottom - old.top);
  w->rect = next;
  if (flags & SWP_FRAMECHANGED) {
    w->insets = FrameInsets(w->style, w->exStyle);
    w->frameDirty = true;
  }
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  const bool visible = (w->style & WS_VISIBLE) != 0;
  if (!(flags & SWP_NOZORDER)) Reorder(w, insertAfter);

  if (!w->IsChild() && (sized || !w->backing)) {
    w->backing->Resize(std::max(1, w->Width()), std::max(1, w->Height()), 0);
  }
  const bool redraw = !(flags & SWP_NOREDRAW);
  if (redraw && (sized || moved || visible != wasVisible || (flags & SWP_FRAMECHANGED))) {
    if (w->IsChild() && wasVisible) InvalidateUnderChild(w, old);
    if (visible && (sized || visible != wasVisible || w->IsChild() || (flags & SWP_FRAMECHANGED))) {
      w->frameDirty = true;
      winui::core::Invalidate(w, nullptr, true);
    }
  }
  if (visible != wasVisible && !w->IsChild()) {
    if (visible && !(flags & SWP_NOACTIVATE)) {
      SetActiveWindow(hwnd);
    } else if (!visible && FocusOfThisThread().active == hwnd) {
      // The next visible top-level window of this thread takes over, as Windows activates another.
      HWND successor = nullptr;
      for (Window* top : TopLevelWindows()) {
        if (top != w && (top->style & WS_VISIBLE) && top->queue == w->queue && !(top->style & WS_DISABLED)) {
          successor = top->handle;
          break;
        }
      }
      SetActiveWindow(successor);
    }
  }
  if (!visible && wasVisible) {
    ForgetInputFor(w, [](const Window* gone, const Window* holder) {
      for (; holder; holder = holder->IsChild() ? holder->parent : nullptr) {
        if (holder == gone) return true;
      }
      return false;
    });
  }
  SendSizeAndMove(w, moved, sized);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  POINT origin{w->rect.left, w->rect.top};
  if (w->IsChild()) {
    origin = ClientOriginOnScreen(w->parent);
    origin.x += w->rect.left;
    origin.y += w->rect.top;
  }
  *rect = RECT{origin.x, origin.y, origin.x + w->Width(), origin.y + w->Height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = w->ClientRect();
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  const POINT o = ClientOriginOnScreen(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  const POINT o = ClientOriginOnScreen(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT delta{0, 0};
  if (from) {
    Window* w = Find(from);
    if (!w) return 0;
    const POINT o = ClientOriginOnScreen(w);
    delta.x += o.x;
    delta.y += o.y;
  }
  if (to) {
    Window* w = Find(to);
    if (!w) return 0;
    const POINT o = ClientOriginOnScreen(w);
    delta.x -= o.x;
    delta.y -= o.y;
  }
  for (UINT i = 0; i < count; ++i) {
    points[i].x += delta.x;
    points[i].y += delta.y;
  }
  return MAKELONG(static_cast<WORD>(delta.x), static_cast<WORD>(delta.y));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL /*menu*/, DWORD exStyle) {
  if (!rect) return FALSE;
  const RECT insets = FrameInsets(style, exStyle);
  rect->left -= insets.left;
  rect->top -= insets.top;
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

namespace {
// The deepest visible, enabled-or-not child under `clientPoint`, skipping those that answer
// HTTRANSPARENT (group boxes), as the mouse finds its window.
Window* DeepestAt(Window* w, POINT screen) {
  for (Window* child : w->children) {
    if (!(child->style & WS_VISIBLE)) continue;
    RECT rc;
    GetWindowRect(child->handle, &rc);
    if (!PtInRect(&rc, screen)) continue;
    if (!(child->style & WS_DISABLED) &&
        SendMessage(child->handle, WM_NCHITTEST, 0,
                    MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) == HTTRANSPARENT) {
      continue;
    }
    return DeepestAt(child, screen);
  }
  return w;
}
}  // namespace

HWND WindowFromPoint(POINT screen) {
  for (Window* top : TopLevelWindows()) {
    if (!(top->style & WS_VISIBLE) || !PtInRect(&top->rect, screen)) continue;
    return DeepestAt(top, screen)->handle;
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  const RECT client = w->ClientRect();
  if (!PtInRect(&client, clientPoint)) return nullptr;
  for (Window* child : w->children) {
    if (PtInRect(&child->rect, clientPoint)) return child->handle;
  }
  return parent;
}

// ---- Rectangles ---------------------------------------------------------------------------------
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}
BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }
BOOL CopyRect(LPRECT to, LPCRECT from) {
  if (!to || !from) return FALSE;
  *to = *from;
  return TRUE;
}
BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->top -= dy;
  rect->right += dx;
  rect->bottom += dy;
  return TRUE;
}
BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}
BOOL IsRectEmpty(LPCRECT rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }
BOOL IntersectRect(LPRECT result, LPCRECT a, LPCRECT b) {
  if (!result || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *result = RECT{};
    return FALSE;
  }
  *result = r;
  return TRUE;
}
BOOL UnionRect(LPRECT result, LPCRECT a, LPCRECT b) {
  if (!result || !a || !b) return FALSE;
  if (IsRectEmpty(a)) {
    *result = IsRectEmpty(b) ? RECT{} : *b;
  } else if (IsRectEmpty(b)) {
    *result = *a;
  } else {
    *result = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                   std::max(a->bottom, b->bottom)};
  }
  return !IsRectEmpty(result);
}
BOOL EqualRect(LPCRECT a, LPCRECT b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL PtInRect(LPCRECT rect, POINT p) {
  return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}
