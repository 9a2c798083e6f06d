// Making and destroying windows, and the tree they form.
#include "dialog_state.h"
#include "input_state.h"
#include "nonclient.h"
#include "painting.h"
#include "window.h"

#include <algorithm>
#include <cstring>

using namespace winui::core;

namespace {

// Where a top-level window made with CW_USEDEFAULT goes: cascading from the top left, as Windows does.
POINT NextDefaultPosition() {
  static int step = 0;
  const int offset = 22 * (step++ % 10);
  return POINT{40 + offset, 40 + offset};
}

void RemoveFromTree(Window* w) {
  if (w->IsChild()) {
    auto& siblings = w->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  } else {
    auto& tops = TopLevelWindows();
    tops.erase(std::remove(tops.begin(), tops.end(), w), tops.end());
  }
}

void SendDestroy(Window* w) {
  BusyWindow busy(w);
  SendMessage(w->handle, WM_DESTROY, 0, 0);
  for (Window* child : std::vector<Window*>(w->children)) {
    if (!child->destroyed) SendDestroy(child);
  }
}

void SendNcDestroy(Window* w) {
  // Held by hand: the records go in Release, once the whole tree is marked, not when this returns.
  ++w->busy;
  for (Window* child : std::vector<Window*>(w->children)) SendNcDestroy(child);
  SendMessage(w->handle, WM_NCDESTROY, 0, 0);
  RunDestroyHook(w->handle);
  w->queue->RemoveFor(w->handle);
  std::erase_if(w->queue->timers, [w](const Timer& t) { return t.hwnd == w->handle; });
  w->destroyed = true;
  --w->busy;
}

void Release(Window* w) {
  MarkScreenChanged();
  for (Window* child : std::vector<Window*>(w->children)) Release(child);
  RemoveFromTree(w);
  w->children.clear();
  ReleaseWindow(w);
}

bool IsAncestorOrSelf(const Window* ancestor, const Window* w) {
  for (; w; w = w->IsChild() ? w->parent : nullptr) {
    if (w == ancestor) return true;
  }
  return false;
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto cls = FindClass(className, instance);
  if (!cls) return nullptr;
  Window* parent = parentHandle ? Find(parentHandle) : nullptr;
  if (parentHandle && !parent) return nullptr;
  if ((style & WS_CHILD) && !parent) return nullptr;

  auto record = std::make_unique<Window>();
  Window* w = record.get();
  w->cls = cls;
  w->proc = cls->wc.lpfnWndProc;
  w->instance = instance;
  w->style = style;
  w->exStyle = exStyle;
  if (!(style & (WS_CHILD | WS_POPUP))) w->style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows
  w->text = windowName ? windowName : "";
  w->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
  w->queue = QueueOfThisThread();
  if (style & WS_CHILD) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else if (parent) {
    w->owner = TopLevelOf(parent);
  }
  if (!(style & WS_CHILD)) {
    if (x == CW_USEDEFAULT) {
      const POINT p = NextDefaultPosition();
      x = p.x;
      y = p.y;
    }
    if (width == CW_USEDEFAULT) {
      width = 400;
      height = 300;
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }
  w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  w->insets = FrameInsets(w->style, w->exStyle);
  HWND hwnd = AddWindow(std::move(record));
  // Children join their parent's list at the bottom, so that the order of creation is the z-order
  // from the top, which is also the tab order of a dialog.
  if (w->IsChild()) {
    parent->children.push_back(w);
  } else {
    TopLevelWindows().insert(TopLevelWindows().begin(), w);
    w->backing = std::make_unique<winui::Surface>(std::max(1, w->Width()), std::max(1, w->Height()));
  }

  BusyWindow busy(w);
  RunCreateHook(hwnd);
  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parentHandle;
  cs.x = w->rect.left;
  cs.y = w->rect.top;
  cs.cx = w->Width();
  cs.cy = w->Height();
  cs.style = static_cast<LONG>(w->style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (HasCaption(w->style) || (w->style & WS_THICKFRAME)) {
    MINMAXINFO info = DefaultMinMaxInfo(w);
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  }
  const bool created = SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != 0 && !w->destroyed &&
                       SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) != -1 && !w->destroyed;
  if (!created) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  const RECT client = w->ClientRect();
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->rect.left), static_cast<WORD>(w->rect.top)));
  if (w->destroyed) return nullptr;
  if (w->style & WS_VISIBLE) {
    w->style &= ~WS_VISIBLE;
    ShowWindow(hwnd, SW_SHOW);
  }
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w->queue != QueueOfThisThread()) return FALSE;
  BusyWindow busy(w);
  // Owned popups go first, as on Windows.
  for (Window* top : std::vector<Window*>(TopLevelWindows())) {
    if (top->owner == w && !top->destroyed) DestroyWindow(top->handle);
  }
  if (w->style & WS_VISIBLE) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ForgetInputFor(w, [](const Window* gone, const Window* other) { return IsAncestorOrSelf(gone, other); });
  SendDestroy(w);
  SendNcDestroy(w);
  Release(w);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr; }

BOOL IsChild(HWND parentHandle, HWND hwnd) {
  Window* parent = Find(parentHandle);
  Window* w = Find(hwnd);
  if (!parent || !w) return FALSE;
  for (w = w->IsChild() ? w->parent : nullptr; w; w = w->IsChild() ? w->parent : nullptr) {
    if (w == parent) return TRUE;
  }
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (w->IsChild()) return w->parent->handle;
  return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = Find(child);
  Window* parent = newParent ? Find(newParent) : nullptr;
  if (!w || (newParent && !parent) || !w->IsChild() || !parent) return nullptr;
  HWND old = w->parent->handle;
  InvalidateRect(old, nullptr, TRUE);
  RemoveFromTree(w);
  w->parent = parent;
  parent->children.insert(parent->children.begin(), w);
  InvalidateRect(child, nullptr, TRUE);
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->IsChild() ? w->parent->handle : nullptr;
    case GA_ROOT:
      return TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
      Window* top = TopLevelOf(w);
      while (top->owner) top = top->owner;
      return top->handle;
    }
    default:
      return nullptr;
  }
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (relation == GW_OWNER) return !w->IsChild() && w->owner ? w->owner->handle : nullptr;
  const std::vector<Window*>& siblings = w->IsChild() ? w->parent->children : TopLevelWindows();
  auto it = std::find(siblings.begin(), siblings.end(), w);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front()->handle;
    case GW_HWNDLAST:
      return siblings.back()->handle;
    case GW_HWNDNEXT:
      return it + 1 != siblings.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV:
      return it != siblings.begin() ? (*(it - 1))->handle : nullptr;
    default:
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return TopLevelWindows().empty() ? nullptr : TopLevelWindows().front()->handle;
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

// ---- Window data ---------------------------------------------------------------------------------
LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (index >= 0) {
    if (w->dialog && index == DWLP_MSGRESULT && w->extra.size() < sizeof(LONG_PTR)) return w->dialog->msgResult;
    if (static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    LONG_PTR value = 0;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent->handle : (w->owner ? w->owner->handle : nullptr));
    case GWLP_ID:
      return w->id;
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  const LONG_PTR old = GetWindowLongPtr(hwnd, index);
  if (index >= 0) {
    if (w->dialog && index == DWLP_MSGRESULT && w->extra.size() < sizeof(LONG_PTR)) {
      w->dialog->msgResult = value;
    } else if (static_cast<std::size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
      std::memcpy(w->extra.data() + index, &value, sizeof value);
    }
    return old;
  }
  switch (index) {
    case GWLP_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      break;
    case GWLP_ID:
      w->id = value;
      break;
    case GWL_STYLE:
      // Visibility and enabling change only through ShowWindow and EnableWindow.
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | (w->style & WS_VISIBLE);
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      break;
    case GWLP_USERDATA:
      w->userData = value;
      break;
    default:
      return 0;
  }
  return old;
}

// ---- Text ---------------------------------------------------------------------------------------
BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  return Find(hwnd) && SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int bufferSize) {
  if (!Find(hwnd) || !buffer || bufferSize <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(bufferSize), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
  return Find(hwnd) ? static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

// ---- Visibility and enabling ---------------------------------------------------------------------
BOOL ShowWindow(HWND hwnd, int command) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE;
  if (show == wasVisible) return wasVisible;
  BusyWindow busy(w);
  if (!w->IsChild()) SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
  if (w->destroyed) return wasVisible;
  const bool activate = show && !w->IsChild() && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                        !(w->exStyle & WS_EX_NOPARENTNOTIFY) && !(w->style & WS_CHILD);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                   (activate ? 0 : SWP_NOACTIVATE));
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && IsShownOnScreen(w);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    ForgetInputFor(w, [](const Window* gone, const Window* other) { return gone == other; });
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}
