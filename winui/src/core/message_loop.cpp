// Sending, posting, the per-thread queue, the message loop and timers.
#include "input_state.h"
#include "painting.h"
#include "window.h"

#include <atomic>
#include <chrono>

using namespace winui::core;

namespace {

thread_local int t_sendDepth = 0;
thread_local DWORD t_messageTime = 0;

bool Matches(const MSG& m, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && m.hwnd != hwnd) return false;
  return !(filterMin || filterMax) || (m.message >= filterMin && m.message <= filterMax);
}

// Keyboard and mouse messages change GetKeyState's answer as they are taken from the queue, so
// that a handler sees the state that came with its message.
void TrackKeyState(const MSG& m) {
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
      const int vk = static_cast<int>(m.wParam);
      SetKeyDown(vk, down);
      const int sided = static_cast<int>((m.lParam >> 16) & 0xFF);  // which of the pair, see InjectKey
      if (sided) SetKeyDown(sided, down);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      SetKeyDown(VK_LBUTTON, true);
      break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      SetKeyDown(VK_LBUTTON, false);
      break;
    case WM_RBUTTONDOWN:
      SetKeyDown(VK_RBUTTON, true);
      break;
    case WM_RBUTTONUP:
      SetKeyDown(VK_RBUTTON, false);
      break;
    default:
      break;
  }
}

int MsUntilNextTimer(const ThreadQueue& queue) {
  if (queue.timers.empty()) return -1;
  const DWORD now = GetTickCount();
  int best = INT32_MAX;
  for (const Timer& t : queue.timers) {
    const int left = static_cast<int>(t.due - now);
    best = std::min(best, std::max(0, left));
  }
  return best;
}

bool TakeDueTimer(ThreadQueue& queue, MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  const DWORD now = GetTickCount();
  for (Timer& t : queue.timers) {
    if (static_cast<int>(now - t.due) < 0) continue;
    MSG m{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), now, CursorPosition()};
    if (!Matches(m, hwnd, filterMin, filterMax)) continue;
    if (remove) t.due = now + t.elapseMs;
    *msg = m;
    return true;
  }
  return false;
}

// One attempt at the next message, in Windows' order: posted, quit, paint, timer.
bool NextMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  auto queue = QueueOfThisThread();
  while (queue->Take(msg, hwnd, filterMin, filterMax, remove)) {
    if (msg->message == kRawInputMessage) {
      if (!remove) break;  // what it will mean is not known until it is taken
      if (!ResolveRawInput(msg) || !Matches(*msg, hwnd, filterMin, filterMax)) continue;
    }
    if (remove) TrackKeyState(*msg);
    t_messageTime = msg->time;
    return true;
  }
  if (queue->quitPosted && !hwnd) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, GetTickCount(), CursorPosition()};
    if (remove) queue->quitPosted = false;
    return true;
  }
  if (!filterMin && !filterMax ? true : (WM_PAINT >= filterMin && WM_PAINT <= filterMax)) {
    if (HWND paint = NextWindowToPaint(); paint && (!hwnd || paint == hwnd)) {
      *msg = MSG{paint, WM_PAINT, 0, 0, GetTickCount(), CursorPosition()};
      return true;
    }
  }
  return TakeDueTimer(*queue, msg, hwnd, filterMin, filterMax, remove);
}

}  // namespace

DWORD GetCurrentThreadId() {
  static std::atomic<DWORD> next{1};
  thread_local const DWORD id = next.fetch_add(1);
  return id;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  if (processId) *processId = 1;
  Window* w = Find(hwnd);
  return w ? w->queue->threadId : 0;
}

DWORD GetTickCount() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

DWORD GetMessageTime() { return t_messageTime; }
BOOL InSendMessage() { return t_sendDepth > 0; }

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w || !w->proc) return 0;
  BusyWindow busy(w);
  ++t_sendDepth;
  const LRESULT result = w->proc(hwnd, message, wParam, lParam);
  --t_sendDepth;
  return result;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> queue;
  if (!hwnd) {
    queue = QueueOfThisThread();
  } else {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    queue = w->queue;  // set once at creation, so reading it from another thread is safe
  }
  queue->Post(MSG{hwnd, message, wParam, lParam, GetTickCount(), POINT{}});
  return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue = QueueOfThread(threadId);
  if (!queue) return FALSE;
  queue->Post(MSG{nullptr, message, wParam, lParam, GetTickCount(), POINT{}});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  auto queue = QueueOfThisThread();
  queue->quitPosted = true;
  queue->quitCode = exitCode;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg || (hwnd && !Find(hwnd))) return -1;
  auto queue = QueueOfThisThread();
  while (!NextMessage(msg, hwnd, filterMin, filterMax, true)) queue->Wait(MsUntilNextTimer(*queue));
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  return NextMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WaitMessage() {
  auto queue = QueueOfThisThread();
  MSG msg;
  if (!NextMessage(&msg, nullptr, 0, 0, false)) queue->Wait(MsUntilNextTimer(*queue));
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->message == WM_PAINT) {
    Window* w = Find(msg->hwnd);
    if (!w) return 0;
    const RECT before = w->update;
    const LRESULT result = SendMessage(msg->hwnd, WM_PAINT, 0, 0);
    // A handler that does not validate would be asked again at once, for ever; Windows lets the
    // default procedure validate, and so does this.
    if ((w = Find(msg->hwnd)) && EqualRect(&before, &w->update)) w->update = RECT{};
    return result;
  }
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// ---- Timers -------------------------------------------------------------------------------------
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (hwnd && !Find(hwnd)) return 0;
  auto queue = hwnd ? Find(hwnd)->queue : QueueOfThisThread();
  if (!hwnd) {
    static UINT_PTR nextThreadTimer = 0x7F00;
    id = ++nextThreadTimer;
  }
  const UINT elapse = std::max<UINT>(elapseMs, 10);
  for (Timer& t : queue->timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t = Timer{hwnd, id, elapse, proc, GetTickCount() + elapse};
      return id;
    }
  }
  queue->timers.push_back(Timer{hwnd, id, elapse, proc, GetTickCount() + elapse});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto queue = QueueOfThisThread();
  const auto before = queue->timers.size();
  std::erase_if(queue->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  return queue->timers.size() != before;
}

// ---- Translation --------------------------------------------------------------------------------
namespace winui::core {
// The character a US keyboard types for `vk`, or 0.
char CharacterForKey(int vk, bool shift, bool ctrl, bool capsLock);
}  // namespace winui::core

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  const char ch = CharacterForKey(static_cast<int>(msg->wParam), IsKeyDown(VK_SHIFT), IsKeyDown(VK_CONTROL),
                                  (GetKeyState(VK_CAPITAL) & 1) != 0);
  if (!ch) return FALSE;
  // In front of whatever else is queued, since the character belongs to this key press.
  Window* w = Find(msg->hwnd);
  if (!w) return FALSE;
  MSG charMsg{msg->hwnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), msg->lParam, msg->time, msg->pt};
  w->queue->PostFront(charMsg);
  return TRUE;
}
