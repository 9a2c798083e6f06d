// The window manager's records: a window, a window class, a thread's message queue, and the
// process-wide tables that hold them. Internal to the window layer.
#pragma once

#include <winui/surface.h>
#include <winui/winuser.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace winui::core {

struct WindowClass {
  WNDCLASS wc{};
  std::string name;
  ATOM atom = 0;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapseMs;
  TIMERPROC proc;
  DWORD due;
};

// Posted messages of one thread. The only structure that other threads touch, so the only one
// with a lock; everything else belongs to the thread that created the window.
class ThreadQueue {
 public:
  void Post(const MSG& msg);
  void PostFront(const MSG& msg);
  // Removes and returns the first message for `hwnd` (or any when null) within the filter range.
  bool Take(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove);
  // Waits until something is posted or `timeoutMs` passes (forever when negative).
  void Wait(int timeoutMs);
  void RemoveFor(HWND hwnd);

  DWORD threadId = 0;
  std::vector<Timer> timers;  // owner thread only
  bool quitPosted = false;    // owner thread only
  int quitCode = 0;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<MSG> messages_;
};

struct DialogState;  // dialog manager's part of a dialog window

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::vector<std::uint8_t> extra;

  Window* parent = nullptr;       // children only
  Window* owner = nullptr;        // top-level windows made with a parent argument
  std::vector<Window*> children;  // z-order, topmost first

  RECT rect{};    // children: in the parent's client coordinates; top-level: screen coordinates
  RECT insets{};  // non-client frame widths on each side

  std::shared_ptr<ThreadQueue> queue;
  RECT update{};       // invalid part of the client area, client coordinates
  bool erase = false;  // the invalid part still needs WM_ERASEBKGND
  bool frameDirty = false;
  bool destroyed = false;
  int busy = 0;                      // messages of this window on some call stack; the record outlives them
  std::unique_ptr<Surface> backing;  // top-level windows: the pixels of the whole window
  std::unique_ptr<DialogState> dialog;

  ~Window();
  bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  RECT ClientRect() const;  // client coordinates
};

// Null for handles that name no live window.
Window* Find(HWND hwnd);
Window* FindIncludingDestroyed(HWND hwnd);
HWND AddWindow(std::unique_ptr<Window> window);
// Windows not yet destroyed.
std::size_t LiveWindowCount();
// Drops the record once no message of it is being handled any more.
void ReleaseWindow(Window* window);
std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance);
std::shared_ptr<ThreadQueue> QueueOfThisThread();
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId);
// Every top-level window, topmost first. Owner thread only.
std::vector<Window*>& TopLevelWindows();
Window* TopLevelOf(Window* window);

// Keeps a window record alive while one of its messages is handled.
class BusyWindow {
 public:
  explicit BusyWindow(Window* w) : window_(w) { ++window_->busy; }
  ~BusyWindow();
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  Window* window_;
};

// Offsets within the top-level window's backing surface.
POINT WindowOriginOnTopLevel(const Window* window);
POINT ClientOriginOnScreen(const Window* window);
// The visible part of the window's client area (or the whole window) on the top-level surface,
// clipped by every ancestor's client area.
RECT VisibleClientOnTopLevel(const Window* window);
RECT VisibleWindowOnTopLevel(const Window* window);
bool IsShownOnScreen(const Window* window);

// Something may have drawn on a backing surface or moved a window: the screen must be composed anew.
void MarkScreenChanged();
bool TakeScreenChanged();

// Hooks through which the MFC layer hears about windows being made and destroyed.
using WindowHook = void (*)(HWND);
void SetCreateHook(WindowHook hook);
void SetDestroyHook(WindowHook hook);
void RunCreateHook(HWND hwnd);
void RunDestroyHook(HWND hwnd);
// The MFC layer's PreTranslateMessage walk; true when it consumed the message.
using MessageFilter = bool (*)(MSG*);
void SetPreTranslateHook(MessageFilter filter);
bool RunPreTranslateHook(MSG* msg);
// The accelerators SetLoopAccelerators installed; true when one took the message.
bool TranslateLoopAccelerators(MSG* msg);

}  // namespace winui::core
