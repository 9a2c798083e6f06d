// Accelerator tables and their translation in the message loop.
#include <winui/screen.h>
#include <winui/winuser.h>

#include "window.h"

#include <strings.h>

#include <vector>

namespace {

struct AcceleratorTable {
  std::vector<ACCEL> entries;
};

AcceleratorTable* TableOf(HACCEL table) { return reinterpret_cast<AcceleratorTable*>(table); }

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

BYTE HeldModifiers() {
  BYTE held = 0;
  if (Held(VK_SHIFT)) held |= FSHIFT;
  if (Held(VK_CONTROL)) held |= FCONTROL;
  if (Held(VK_MENU)) held |= FALT;
  return held;
}

// Typing belongs to the edit: letters, digits, space and the arrows all mean something there.
bool IsEdit(HWND hwnd) {
  char name[16] = {};
  return hwnd && GetClassName(hwnd, name, sizeof name) > 0 && strcasecmp(name, "Edit") == 0;
}

struct LoopAccelerators {
  HWND target = nullptr;
  HACCEL table = nullptr;
};
thread_local LoopAccelerators t_loop;

}  // namespace

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
  if (!entries || count <= 0) return nullptr;
  auto* table = new AcceleratorTable{std::vector<ACCEL>(entries, entries + count)};
  return reinterpret_cast<HACCEL>(table);
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  delete TableOf(table);
  return table ? TRUE : FALSE;
}

int TranslateAccelerator(HWND target, HACCEL table, LPMSG msg) {
  if (!target || !table || !msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return 0;
  const BYTE held = HeldModifiers();
  for (const ACCEL& entry : TableOf(table)->entries) {
    const BYTE wanted = entry.fVirt & (FSHIFT | FCONTROL | FALT);
    if ((entry.fVirt & FVIRTKEY) && entry.key == msg->wParam && wanted == held) {
      SendMessage(target, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
      return 1;
    }
  }
  return 0;
}

namespace winui {

void SetLoopAccelerators(HWND target, HACCEL table) { t_loop = {target, table}; }

namespace core {

bool TranslateLoopAccelerators(MSG* msg) {
  if (!t_loop.table || !IsWindow(t_loop.target) || IsEdit(msg->hwnd)) return false;
  return TranslateAccelerator(t_loop.target, t_loop.table, msg) != 0;
}

}  // namespace core

}  // namespace winui
