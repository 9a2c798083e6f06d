// Library load and unload: the application object, and the extension-module record through which
// resource lookups made under this library's module state find its dialog templates and icons.
#include "module/CXelPseudoColorApp.h"

#include <memory>

namespace {

// Makes this library's module state current on the loading thread and later gives the caller's back.
// The application object registers with whichever state is current while it is built and destroyed,
// so both must happen inside this library's state.
class CLoadingThreadState {
 public:
  CLoadingThreadState() { Enter(); }
  ~CLoadingThreadState() { Leave(); }
  CLoadingThreadState(const CLoadingThreadState&) = delete;
  CLoadingThreadState& operator=(const CLoadingThreadState&) = delete;

  void Enter() { m_pCallerState = AfxSetModuleState(AfxGetStaticModuleState()); }
  void Leave() { AfxSetModuleState(m_pCallerState); }

 private:
  AFX_MODULE_STATE* m_pCallerState = nullptr;
};

class CLibraryLifetime {
 public:
  CLibraryLifetime(CWinApp& app, CLoadingThreadState& state) : m_App(app), m_State(state) {
    m_App.InitInstance();
    if (AfxInitExtensionModule(g_ExtensionModule, winui::ThisModule()))
      m_pLibraryRecord = std::make_unique<CDynLinkLibrary>(g_ExtensionModule);
    m_State.Leave();
  }
  // Leaves this library's state current for the application object's destructor, which runs next.
  ~CLibraryLifetime() {
    m_State.Enter();
    m_App.ExitInstance();
    m_pLibraryRecord.reset();
    AfxTermExtensionModule(g_ExtensionModule);
  }
  CLibraryLifetime(const CLibraryLifetime&) = delete;
  CLibraryLifetime& operator=(const CLibraryLifetime&) = delete;

 private:
  static inline AFX_EXTENSION_MODULE g_ExtensionModule;
  CWinApp& m_App;
  CLoadingThreadState& m_State;
  std::unique_ptr<CDynLinkLibrary> m_pLibraryRecord;
};

// Built top to bottom at load, destroyed bottom to top at unload.
CLoadingThreadState g_LoadingThreadState;

}  // namespace

CXelPseudoColorApp theApp;

namespace {
CLibraryLifetime g_LibraryLifetime(theApp, g_LoadingThreadState);
}  // namespace
