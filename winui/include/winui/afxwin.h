// MFC-style window classes over the window layer: CWnd with its handle map and message maps,
// CDialog, CWinApp, the window DCs, module state and the resource exception.
#pragma once

#include <winui/afxgdi.h>
#include <winui/resources.h>
#include <winui/winuser.h>

#include <exception>
#include <string>

class CWnd;
class CDialog;
class CDataExchange;

// ---- Message maps -------------------------------------------------------------------------------
// One row of a class's table: which message (and for WM_COMMAND which notification code and
// control IDs) it takes, and a thunk that unpacks wParam/lParam into the member's own signature.
using AFX_PMSG_THUNK = LRESULT (*)(CWnd* target, WPARAM wParam, LPARAM lParam);
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  AFX_PMSG_THUNK pfn;
};
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                       \
 protected:                                         \
  static const AFX_MSGMAP* GetThisMessageMap();     \
  const AFX_MSGMAP* GetMessageMap() const override; \
                                                    \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass = theClass;                                                     \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY messageEntries[] = {
#define END_MESSAGE_MAP()                                                                      \
  { 0, 0, 0, 0, nullptr }                                                                      \
  }                                                                                            \
  ;                                                                                            \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
  return &messageMap;                                                                          \
  }

#define WINUI_AFX_ENTRY(message, code, id, lastId, body)                                                               \
  {message, code, id, lastId, [](CWnd* w, [[maybe_unused]] WPARAM wParam, [[maybe_unused]] LPARAM lParam) -> LRESULT { \
     [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(w);                                                    \
     body                                                                                                              \
   }},
#define WINUI_AFX_POINT CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

#define ON_MESSAGE(message, memberFxn) WINUI_AFX_ENTRY(message, 0, 0, 0, return self->memberFxn(wParam, lParam);)
#define ON_COMMAND(id, memberFxn) \
  WINUI_AFX_ENTRY(WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), self->memberFxn(); return 0;)
#define ON_CONTROL(code, id, memberFxn) \
  WINUI_AFX_ENTRY(WM_COMMAND, code, static_cast<UINT>(id), static_cast<UINT>(id), self->memberFxn(); return 0;)
#define ON_CONTROL_RANGE(code, firstId, lastId, memberFxn)                                 \
  WINUI_AFX_ENTRY(WM_COMMAND, code, static_cast<UINT>(firstId), static_cast<UINT>(lastId), \
                  self->memberFxn(static_cast<UINT>(LOWORD(wParam)));                      \
                  return 0;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

#define ON_WM_CREATE() \
  WINUI_AFX_ENTRY(WM_CREATE, 0, 0, 0, return self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_DESTROY() WINUI_AFX_ENTRY(WM_DESTROY, 0, 0, 0, self->OnDestroy(); return 0;)
#define ON_WM_CLOSE() WINUI_AFX_ENTRY(WM_CLOSE, 0, 0, 0, self->OnClose(); return 0;)
#define ON_WM_PAINT() WINUI_AFX_ENTRY(WM_PAINT, 0, 0, 0, self->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND() \
  WINUI_AFX_ENTRY(WM_ERASEBKGND, 0, 0, 0, return self->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)
#define ON_WM_SIZE() \
  WINUI_AFX_ENTRY(WM_SIZE, 0, 0, 0, self->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)
#define ON_WM_MOVE() \
  WINUI_AFX_ENTRY(WM_MOVE, 0, 0, 0, self->OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;)
#define ON_WM_GETMINMAXINFO() \
  WINUI_AFX_ENTRY(WM_GETMINMAXINFO, 0, 0, 0, self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;)
#define ON_WM_SHOWWINDOW()                                                                                          \
  WINUI_AFX_ENTRY(WM_SHOWWINDOW, 0, 0, 0, self->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); \
                  return 0;)
#define ON_WM_ENABLE() WINUI_AFX_ENTRY(WM_ENABLE, 0, 0, 0, self->OnEnable(static_cast<BOOL>(wParam)); return 0;)
#define ON_WM_SETFOCUS() \
  WINUI_AFX_ENTRY(WM_SETFOCUS, 0, 0, 0, self->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return 0;)
#define ON_WM_KILLFOCUS() \
  WINUI_AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0, self->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return 0;)
#define ON_WM_CAPTURECHANGED() \
  WINUI_AFX_ENTRY(             \
      WM_CAPTURECHANGED, 0, 0, 0, self->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))); return 0;)
#define ON_WM_GETDLGCODE() WINUI_AFX_ENTRY(WM_GETDLGCODE, 0, 0, 0, return self->OnGetDlgCode();)
#define ON_WM_TIMER() WINUI_AFX_ENTRY(WM_TIMER, 0, 0, 0, self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)
#define WINUI_AFX_KEY(message, memberFxn)                                                                       \
  WINUI_AFX_ENTRY(message, 0, 0, 0, self->memberFxn(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); \
                  return 0;)
#define ON_WM_KEYDOWN() WINUI_AFX_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() WINUI_AFX_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() WINUI_AFX_KEY(WM_CHAR, OnChar)
#define WINUI_AFX_MOUSE(message, memberFxn) \
  WINUI_AFX_ENTRY(message, 0, 0, 0, self->memberFxn(static_cast<UINT>(wParam), WINUI_AFX_POINT); return 0;)
#define ON_WM_MOUSEMOVE() WINUI_AFX_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() WINUI_AFX_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() WINUI_AFX_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() WINUI_AFX_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() WINUI_AFX_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() WINUI_AFX_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_NCHITTEST() WINUI_AFX_ENTRY(WM_NCHITTEST, 0, 0, 0, return self->OnNcHitTest(WINUI_AFX_POINT);)
// One handler for every WM_CTLCOLOR* message; nCtlColor tells which (CTLCOLOR_STATIC, ...).
#define WINUI_AFX_CTLCOLOR(message, kind)                                                               \
  WINUI_AFX_ENTRY(                                                                                      \
      message, 0, 0, 0,                                                                                 \
      return reinterpret_cast<LRESULT>(self->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), \
                                                        CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), kind));)
#define ON_WM_CTLCOLOR()                                       \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX)       \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLOREDIT, CTLCOLOR_EDIT)           \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX)     \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORBTN, CTLCOLOR_BTN)             \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORDLG, CTLCOLOR_DLG)             \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR) \
  WINUI_AFX_CTLCOLOR(WM_CTLCOLORSTATIC, CTLCOLOR_STATIC)

inline constexpr UINT CTLCOLOR_MSGBOX = 0;
inline constexpr UINT CTLCOLOR_EDIT = 1;
inline constexpr UINT CTLCOLOR_LISTBOX = 2;
inline constexpr UINT CTLCOLOR_BTN = 3;
inline constexpr UINT CTLCOLOR_DLG = 4;
inline constexpr UINT CTLCOLOR_SCROLLBAR = 5;
inline constexpr UINT CTLCOLOR_STATIC = 6;

// ---- Module state -------------------------------------------------------------------------------
// Which module's resources lookups see. Each module (executable or shared library) has its own.
struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle = nullptr;
  HINSTANCE m_hCurrentResourceHandle = nullptr;
  class CWinApp* m_pCurrentWinApp = nullptr;
};

namespace winui {
// The state of the module `instance`, made on first use and kept for the life of the process.
AFX_MODULE_STATE* ModuleStateOf(HINSTANCE instance);
}  // namespace winui

// The calling module's own state: static, so every executable and shared library that includes this
// header answers with its own module.
static inline AFX_MODULE_STATE* AfxGetStaticModuleState() { return winui::ModuleStateOf(winui::ThisModule()); }
AFX_MODULE_STATE* AfxGetModuleState();  // the thread's current one
// Makes `state` current for the thread; returns the previous one.
AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state);

class AFX_MAINTAIN_STATE2 {
 public:
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : previous_(AfxSetModuleState(state)) {}
  ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(previous_); }
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

 private:
  AFX_MODULE_STATE* previous_;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
// The module holding resource `name` of `type`: the current resource module first, then every
// registered extension module, as MFC searches its DLL chain.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HMODULE instance);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL all = FALSE);
// Puts the extension module into the resource search chain for as long as the record lives.
class CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& module);
  ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
  HMODULE m_hModule;
  HMODULE m_hResource;
};

// ---- Exceptions ---------------------------------------------------------------------------------
class CException : public std::exception {
 public:
  const char* what() const noexcept override { return "MFC exception"; }
  void Delete() { delete this; }
};
class CResourceException : public CException {
 public:
  const char* what() const noexcept override { return "resource not found or not loadable"; }
};
// Thrown by pointer, as MFC does; catch (CException* e) { e->Delete(); }.
[[noreturn]] void AfxThrowResourceException();

// ---- CWnd ---------------------------------------------------------------------------------------
class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The CWnd for `hwnd`: the attached object, or a temporary one that lives until the window dies.
  static CWnd* FromHandle(HWND hwnd);
  static CWnd* FromHandlePermanent(HWND hwnd);
  BOOL Attach(HWND hwnd);
  HWND Detach();
  // Routes `hwnd`'s messages through this object's message map, ahead of its class procedure.
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      void* context = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  // Tree and identity.
  CWnd* GetParent() const;
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* hwnd) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

  // Geometry.
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  CWnd* ChildWindowFromPoint(POINT point) const;

  // State.
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  void SetWindowText(LPCSTR text);
  int GetWindowText(LPSTR buffer, int bufferSize) const;
  void GetWindowText(std::string& text) const;
  int GetWindowTextLength() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;

  // Painting.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr, UINT flags = RDW_INVALIDATE | RDW_ERASE);
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);
  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

  // Focus and capture.
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  static CWnd* GetCapture();

  // Dialog items.
  void SetDlgItemText(int id, LPCSTR text);
  int GetDlgItemText(int id, LPSTR buffer, int bufferSize) const;
  int GetDlgItemText(int id, std::string& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // Overridables.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* dx);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // The default answer to the message being handled now: the subclassed procedure's, or Windows'.
  LRESULT Default();

  // Default handlers, reached through message maps; each gives the message its default treatment.
  int OnCreate(LPCREATESTRUCT cs);
  void OnDestroy();
  void OnClose();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnMove(int x, int y);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnShowWindow(BOOL show, UINT status);
  void OnEnable(BOOL enable);
  void OnSetFocus(CWnd* oldWnd);
  void OnKillFocus(CWnd* newWnd);
  void OnCaptureChanged(CWnd* wnd);
  UINT OnGetDlgCode();
  void OnTimer(UINT_PTR id);
  void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  void OnChar(UINT ch, UINT repeat, UINT flags);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnLButtonDblClk(UINT flags, CPoint point);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnRButtonUp(UINT flags, CPoint point);
  LRESULT OnNcHitTest(CPoint point);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

  WNDPROC m_pfnSuper = nullptr;

 private:
  friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend struct CWndMaps;
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  CurrentMessage current_{};
  bool ownsNothing_ = false;  // a temporary made by FromHandle
};

// The procedure every CWnd-attached window runs; it hands the message to the object.
LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Dialog data exchange -----------------------------------------------------------------------
class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  // The control's handle; remembers it as the one to focus when validation fails.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Shows nothing more (the DDX routine already told the user) and aborts the exchange.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
};
// Thrown by CDataExchange::Fail and caught by UpdateData.
class CUserException : public CException {};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);

// ---- CDialog ------------------------------------------------------------------------------------
class CDialog : public CWnd {
 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);

  using CWnd::Create;
  // Modeless: creates the window from the template found through the current module state.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // Modeless dialogs end by being destroyed; the result is kept for whoever asks.
  void EndDialog(int result);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  DWORD GetDefID() const;
  BOOL PreTranslateMessage(MSG* msg) override;

  LPCSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  void OnOkCommand() { OnOK(); }
  void OnCancelCommand() { OnCancel(); }
  DECLARE_MESSAGE_MAP()
};

// ---- Application --------------------------------------------------------------------------------
class CWinThread {
 public:
  virtual ~CWinThread() = default;
  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop: GetMessage, PreTranslateMessage (which lets dialogs see keys), dispatch.
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* msg);
  CWnd* m_pMainWnd = nullptr;
};

class CWinApp : public CWinThread {
 public:
  explicit CWinApp(LPCSTR appName = nullptr);
  ~CWinApp() override;
  LPCSTR m_pszAppName = nullptr;
  HINSTANCE m_hInstance = nullptr;
};
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);

// ---- Window DCs ---------------------------------------------------------------------------------
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* wnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

#include <winui/afxcontrols.h>
