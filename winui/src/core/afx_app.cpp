// Module state, extension modules, the application object and exceptions.
#include "resource_store.h"

#include <winui/afxwin.h>
#include <winui/screen.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace {

std::mutex& StateMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<HINSTANCE, std::unique_ptr<AFX_MODULE_STATE>>& States() {
  static std::map<HINSTANCE, std::unique_ptr<AFX_MODULE_STATE>> states;
  return states;
}

// The state a thread starts with: the process's, whose resources are found in every module.
AFX_MODULE_STATE& ProcessState() {
  static AFX_MODULE_STATE state;
  return state;
}

thread_local AFX_MODULE_STATE* t_current = nullptr;

std::vector<CDynLinkLibrary*>& Libraries() {
  static std::vector<CDynLinkLibrary*> libraries;
  return libraries;
}

CWinApp* g_firstApp = nullptr;

bool ModuleHas(HINSTANCE module, LPCSTR name, LPCSTR type) {
  if (!module) return false;
  if (type == RT_DIALOG) return winui::FindDialogTemplate(module, name) != nullptr;
  return winui::HasIcon(module, name);
}

}  // namespace

namespace winui {
AFX_MODULE_STATE* ModuleStateOf(HINSTANCE instance) {
  std::lock_guard lock(StateMutex());
  auto& slot = States()[instance];
  if (!slot) {
    slot = std::make_unique<AFX_MODULE_STATE>();
    slot->m_hCurrentInstanceHandle = instance;
    slot->m_hCurrentResourceHandle = instance;
  }
  return slot.get();
}
}  // namespace winui

AFX_MODULE_STATE* AfxGetModuleState() { return t_current ? t_current : &ProcessState(); }

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state) {
  AFX_MODULE_STATE* previous = t_current;
  t_current = state;
  return previous;
}

HINSTANCE AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }
HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }
void AfxSetResourceHandle(HINSTANCE instance) { AfxGetModuleState()->m_hCurrentResourceHandle = instance; }

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
  const HINSTANCE current = AfxGetResourceHandle();
  if (ModuleHas(current, name, type)) return current;
  for (CDynLinkLibrary* library : Libraries()) {
    if (ModuleHas(library->m_hResource, name, type)) return library->m_hResource;
  }
  for (HINSTANCE module : winui::core::ModulesWithResources()) {
    if (ModuleHas(module, name, type)) return module;
  }
  return current;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HMODULE instance) {
  module.hModule = instance;
  module.hResource = instance;
  module.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL) {
  if (!module.bInitialized) return;
  winui::UnregisterModuleResources(module.hResource);
  module.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& module)
    : m_hModule(module.hModule), m_hResource(module.hResource) {
  Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& libraries = Libraries();
  libraries.erase(std::remove(libraries.begin(), libraries.end(), this), libraries.end());
}

void AfxThrowResourceException() { throw new CResourceException; }

// ---- Application --------------------------------------------------------------------------------
BOOL CWinThread::InitInstance() { return FALSE; }
int CWinThread::ExitInstance() { return 0; }

BOOL CWinThread::PreTranslateMessage(MSG* msg) { return winui::PreTranslateForDialogs(msg) ? TRUE : FALSE; }

int CWinThread::Run() {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessage(&msg, nullptr, 0, 0)) > 0) {
    if (PreTranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  const int exitCode = ExitInstance();
  return got == 0 && msg.wParam ? static_cast<int>(msg.wParam) : exitCode;
}

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (!state->m_pCurrentWinApp) state->m_pCurrentWinApp = this;
  m_hInstance = state->m_hCurrentInstanceHandle;
  if (!g_firstApp) g_firstApp = this;
}

CWinApp::~CWinApp() {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (state->m_pCurrentWinApp == this) state->m_pCurrentWinApp = nullptr;
  if (g_firstApp == this) g_firstApp = nullptr;
}

CWinApp* AfxGetApp() {
  CWinApp* app = AfxGetModuleState()->m_pCurrentWinApp;
  return app ? app : g_firstApp;
}

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
  CWnd* main = AfxGetMainWnd();
  CWinApp* app = AfxGetApp();
  return ::MessageBox(main ? main->m_hWnd : ::GetActiveWindow(), text, app ? app->m_pszAppName : nullptr, type);
}
