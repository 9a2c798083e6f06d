// CWnd's heart: the handle maps, the procedure that hands messages to objects, message-map
// dispatch, creation through the create hook, and subclassing.
#include "afx_internal.h"
#include "window.h"

#include <winui/afxwin.h>

#include <memory>
#include <unordered_map>

// Each thread has its own maps, as MFC's: permanent objects the program made, and temporaries that
// FromHandle made for windows nobody attached, freed when their window goes.
struct CWndMaps {
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
  CWnd* creating = nullptr;  // the object CreateEx is making a window for

  static CWndMaps& Get() {
    thread_local CWndMaps maps;
    return maps;
  }
  static CWnd* MakeTemporary(HWND hwnd) {
    auto wnd = std::make_unique<CWnd>();
    wnd->m_hWnd = hwnd;
    wnd->ownsNothing_ = true;
    CWnd* raw = wnd.get();
    Get().temporary[hwnd] = std::move(wnd);
    return raw;
  }
  static void SetCreating(CWnd* wnd) { Get().creating = wnd; }
};

namespace {

// The window CreateEx asked for exists now, before its first message: attaching the object here
// lets it see WM_NCCREATE and WM_CREATE through its own message map.
void OnWindowCreated(HWND hwnd) {
  CWndMaps& maps = CWndMaps::Get();
  CWnd* wnd = maps.creating;
  if (!wnd) return;
  maps.creating = nullptr;
  wnd->SubclassWindow(hwnd);
}

void OnWindowDestroyed(HWND hwnd) { CWndMaps::Get().temporary.erase(hwnd); }

bool PreTranslateThroughObjects(MSG* msg) {
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr) {
    if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd); wnd && wnd->PreTranslateMessage(msg)) return true;
  }
  return false;
}

const bool g_hooksInstalled = [] {
  winui::core::SetCreateHook(&OnWindowCreated);
  winui::core::SetDestroyHook(&OnWindowDestroyed);
  winui::core::SetPreTranslateHook(&PreTranslateThroughObjects);
  return true;
}();

}  // namespace

void AfxSetCreatingWindow(CWnd* wnd) { CWndMaps::SetCreating(wnd); }

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (!wnd) return DefWindowProc(hwnd, message, wParam, lParam);
  const CWnd::CurrentMessage saved = wnd->current_;
  wnd->current_ = {message, wParam, lParam};
  const LRESULT result = wnd->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: the object lets go of it and may now delete itself.
    if (wnd->m_hWnd == hwnd) {
      SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
      wnd->Detach();
    }
    wnd->PostNcDestroy();
    return result;
  }
  wnd->current_ = saved;
  return result;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && !ownsNothing_) {
    // Windows outliving their object would call into freed memory; they go with it, unsubclassed
    // first, since this object's overrides are already gone.
    HWND hwnd = UnsubclassWindow();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
  auto& temporary = CWndMaps::Get().temporary;
  if (auto it = temporary.find(hwnd); it != temporary.end()) return it->second.get();
  return IsWindow(hwnd) ? CWndMaps::MakeTemporary(hwnd) : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  auto& permanent = CWndMaps::Get().permanent;
  auto it = permanent.find(hwnd);
  return it == permanent.end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
  m_hWnd = hwnd;
  CWndMaps::Get().permanent[hwnd] = this;
  CWndMaps::Get().temporary.erase(hwnd);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (hwnd) CWndMaps::Get().permanent.erase(hwnd);
  m_hWnd = nullptr;
  return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!Attach(hwnd)) return FALSE;
  PreSubclassWindow();
  m_pfnSuper = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (m_pfnSuper == &AfxWndProc) m_pfnSuper = nullptr;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd && m_pfnSuper) SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* /*context*/) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs;
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = windowName;
  cs.style = static_cast<LONG>(style);
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.hwndParent = parent;
  cs.hMenu = idOrMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  CWndMaps::SetCreating(this);
  HWND hwnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  CWndMaps::SetCreating(nullptr);
  return hwnd != nullptr && m_hWnd == hwnd;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

// ---- Dispatch -----------------------------------------------------------------------------------
const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 0;
    return TRUE;
  }
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage == message && message != WM_COMMAND) {
        *result = e->pfn(this, wParam, lParam);
        return TRUE;
      }
    }
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage == WM_COMMAND && e->nCode == code && id >= e->nID && id <= e->nLastID) {
        e->pfn(this, wParam, lParam);
        return TRUE;
      }
    }
  }
  return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(current_.message, current_.wParam, current_.lParam); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}
