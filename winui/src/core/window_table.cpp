// The process-wide tables: live windows by handle, registered classes, message queues by thread.
#include "dialog_state.h"
#include "gdi/gdi_objects.h"
#include "window.h"

#include <strings.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <unordered_map>

namespace winui::core {
namespace {

std::mutex& TableMutex() {
  static std::mutex mutex;
  return mutex;
}

// Handles are counters rather than addresses so that a stale handle never finds a newer window.
std::unordered_map<std::uintptr_t, std::unique_ptr<Window>>& Table() {
  static std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> table;
  return table;
}
std::uintptr_t g_nextHandle = 0x10000;

std::map<DWORD, std::weak_ptr<ThreadQueue>>& Queues() {
  static std::map<DWORD, std::weak_ptr<ThreadQueue>> queues;
  return queues;
}

struct ClassEntry {
  std::shared_ptr<WindowClass> cls;
};
std::vector<ClassEntry>& Classes() {
  static std::vector<ClassEntry> classes;
  return classes;
}
ATOM g_nextAtom = 0xC000;

WindowHook g_createHook = nullptr;
WindowHook g_destroyHook = nullptr;
MessageFilter g_preTranslate = nullptr;

bool SameClassName(LPCSTR name, const WindowClass& cls) {
  if (IS_INTRESOURCE(name)) return reinterpret_cast<UINT_PTR>(name) == cls.atom;
  return strcasecmp(name, cls.name.c_str()) == 0;
}

}  // namespace

Window::~Window() = default;

RECT Window::ClientRect() const {
  return RECT{0, 0, std::max<LONG>(0, Width() - insets.left - insets.right),
              std::max<LONG>(0, Height() - insets.top - insets.bottom)};
}

Window* Find(HWND hwnd) {
  Window* w = FindIncludingDestroyed(hwnd);
  return w && !w->destroyed ? w : nullptr;
}

Window* FindIncludingDestroyed(HWND hwnd) {
  std::lock_guard lock(TableMutex());
  auto it = Table().find(reinterpret_cast<std::uintptr_t>(hwnd));
  return it == Table().end() ? nullptr : it->second.get();
}

HWND AddWindow(std::unique_ptr<Window> window) {
  std::lock_guard lock(TableMutex());
  const std::uintptr_t value = g_nextHandle;
  g_nextHandle += 2;
  window->handle = reinterpret_cast<HWND>(value);
  HWND handle = window->handle;
  Table().emplace(value, std::move(window));
  return handle;
}

std::size_t LiveWindowCount() {
  std::lock_guard lock(TableMutex());
  return static_cast<std::size_t>(
      std::count_if(Table().begin(), Table().end(), [](const auto& entry) { return !entry.second->destroyed; }));
}

void ReleaseWindow(Window* window) {
  if (window->busy > 0) return;  // the last BusyWindow on the stack releases it
  std::unique_ptr<Window> owned;
  {
    std::lock_guard lock(TableMutex());
    auto it = Table().find(reinterpret_cast<std::uintptr_t>(window->handle));
    if (it == Table().end()) return;
    owned = std::move(it->second);
    Table().erase(it);
  }
}

BusyWindow::~BusyWindow() {
  if (--window_->busy == 0 && window_->destroyed) ReleaseWindow(window_);
}

std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  std::shared_ptr<WindowClass> global;
  for (const ClassEntry& e : Classes()) {
    if (!SameClassName(name, *e.cls)) continue;
    if (e.cls->wc.hInstance == instance) return e.cls;
    if (!global) global = e.cls;
  }
  return global;
}

std::shared_ptr<ThreadQueue> QueueOfThisThread() {
  thread_local std::shared_ptr<ThreadQueue> queue = [] {
    auto q = std::make_shared<ThreadQueue>();
    q->threadId = GetCurrentThreadId();
    std::lock_guard lock(TableMutex());
    Queues()[q->threadId] = q;
    return q;
  }();
  return queue;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
  std::lock_guard lock(TableMutex());
  auto it = Queues().find(threadId);
  return it == Queues().end() ? nullptr : it->second.lock();
}

std::vector<Window*>& TopLevelWindows() {
  static std::vector<Window*> windows;
  return windows;
}

Window* TopLevelOf(Window* window) {
  while (window && window->IsChild()) window = window->parent;
  return window;
}

POINT WindowOriginOnTopLevel(const Window* window) {
  POINT p{0, 0};
  while (window->IsChild()) {
    p.x += window->rect.left + window->parent->insets.left;
    p.y += window->rect.top + window->parent->insets.top;
    window = window->parent;
  }
  return p;
}

POINT ClientOriginOnScreen(const Window* window) {
  POINT p{window->insets.left, window->insets.top};
  for (const Window* w = window; w; w = w->IsChild() ? w->parent : nullptr) {
    p.x += w->rect.left;
    p.y += w->rect.top;
    if (w->IsChild()) {
      p.x += w->parent->insets.left;
      p.y += w->parent->insets.top;
    }
  }
  return p;
}

namespace {
RECT ClipByAncestors(const Window* window, RECT rc) {
  for (const Window* a = window->IsChild() ? window->parent : nullptr; a; a = a->IsChild() ? a->parent : nullptr) {
    const POINT o = WindowOriginOnTopLevel(a);
    RECT client = a->ClientRect();
    OffsetRect(&client, o.x + a->insets.left, o.y + a->insets.top);
    IntersectRect(&rc, &rc, &client);
  }
  return rc;
}
}  // namespace

RECT VisibleClientOnTopLevel(const Window* window) {
  const POINT o = WindowOriginOnTopLevel(window);
  RECT rc = window->ClientRect();
  OffsetRect(&rc, o.x + window->insets.left, o.y + window->insets.top);
  return ClipByAncestors(window, rc);
}

RECT VisibleWindowOnTopLevel(const Window* window) {
  const POINT o = WindowOriginOnTopLevel(window);
  RECT rc{o.x, o.y, o.x + window->Width(), o.y + window->Height()};
  return ClipByAncestors(window, rc);
}

bool IsShownOnScreen(const Window* window) {
  for (const Window* w = window; w; w = w->IsChild() ? w->parent : nullptr) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return true;
}

namespace {
std::atomic<bool> g_screenChanged{true};
}  // namespace
void MarkScreenChanged() { g_screenChanged = true; }
bool TakeScreenChanged() { return g_screenChanged.exchange(false); }

void SetCreateHook(WindowHook hook) { g_createHook = hook; }
void SetDestroyHook(WindowHook hook) { g_destroyHook = hook; }
void RunCreateHook(HWND hwnd) {
  if (g_createHook) g_createHook(hwnd);
}
void RunDestroyHook(HWND hwnd) {
  if (g_destroyHook) g_destroyHook(hwnd);
}
void SetPreTranslateHook(MessageFilter filter) { g_preTranslate = filter; }
bool RunPreTranslateHook(MSG* msg) { return g_preTranslate && g_preTranslate(msg); }

// ---- ThreadQueue --------------------------------------------------------------------------------
void ThreadQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(msg);
  }
  posted_.notify_all();
}

void ThreadQueue::PostFront(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_front(msg);
  }
  posted_.notify_all();
}

bool ThreadQueue::Take(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  std::lock_guard lock(mutex_);
  for (auto it = messages_.begin(); it != messages_.end(); ++it) {
    if (hwnd && it->hwnd != hwnd) continue;
    if ((filterMin || filterMax) && (it->message < filterMin || it->message > filterMax)) continue;
    *msg = *it;
    if (remove) messages_.erase(it);
    return true;
  }
  return false;
}

void ThreadQueue::Wait(int timeoutMs) {
  std::unique_lock lock(mutex_);
  if (!messages_.empty()) return;
  if (timeoutMs < 0) {
    posted_.wait(lock, [this] { return !messages_.empty(); });
  } else {
    posted_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !messages_.empty(); });
  }
}

void ThreadQueue::RemoveFor(HWND hwnd) {
  std::lock_guard lock(mutex_);
  std::erase_if(messages_, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

}  // namespace winui::core

// ---- Classes ------------------------------------------------------------------------------------
using namespace winui::core;

ATOM RegisterClass(const WNDCLASS* wndClass) {
  if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc) return 0;
  if (!IS_INTRESOURCE(wndClass->lpszClassName)) {
    for (const ClassEntry& e : Classes()) {
      if (SameClassName(wndClass->lpszClassName, *e.cls) && e.cls->wc.hInstance == wndClass->hInstance) return 0;
    }
  }
  auto cls = std::make_shared<WindowClass>();
  cls->wc = *wndClass;
  if (IS_INTRESOURCE(wndClass->lpszClassName)) {
    cls->atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(wndClass->lpszClassName));
  } else {
    cls->name = wndClass->lpszClassName;
    cls->atom = g_nextAtom++;
  }
  cls->wc.lpszClassName = nullptr;  // the caller's string need not outlive the call
  Classes().push_back({cls});
  return cls->atom;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE instance) {
  auto& classes = Classes();
  auto it = std::find_if(classes.begin(), classes.end(), [&](const ClassEntry& e) {
    return SameClassName(className, *e.cls) && e.cls->wc.hInstance == instance;
  });
  if (it == classes.end()) return FALSE;
  classes.erase(it);  // windows of the class keep their shared copy
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wndClass) {
  auto cls = FindClass(className, instance);
  if (!cls || !wndClass) return FALSE;
  *wndClass = cls->wc;
  wndClass->lpszClassName = className;
  return TRUE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int bufferSize) {
  Window* w = Find(hwnd);
  if (!w || !buffer || bufferSize <= 0) return 0;
  const std::string name = w->cls->name.empty() ? "#" + std::to_string(w->cls->atom) : w->cls->name;
  const int n = std::min<int>(bufferSize - 1, static_cast<int>(name.size()));
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return n;
}

DWORD GetGuiResources(HANDLE /*process*/, DWORD flags) {
  switch (flags) {
    case GR_GDIOBJECTS:
      return static_cast<DWORD>(winui::gdi::LiveObjectCount());
    case GR_USEROBJECTS:
      return static_cast<DWORD>(winui::core::LiveWindowCount());
    default:
      return 0;
  }
}
