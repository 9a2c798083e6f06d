// Library load and unload: the application object, and the extension-module record through which
// resource lookups made under this library's module state find its dialog templates and icons.
#include "module/CXelPseudoColorApp.h"

#include <memory>

namespace {

AFX_EXTENSION_MODULE g_ExtensionModule;

class CLibraryLifetime {
 public:
  explicit CLibraryLifetime(CWinApp& app) : m_App(app) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_App.InitInstance();
    if (AfxInitExtensionModule(g_ExtensionModule, winui::ThisModule()))
      m_pLibraryRecord = std::make_unique<CDynLinkLibrary>(g_ExtensionModule);
  }
  ~CLibraryLifetime() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_App.ExitInstance();
    m_pLibraryRecord.reset();
    AfxTermExtensionModule(g_ExtensionModule);
  }
  CLibraryLifetime(const CLibraryLifetime&) = delete;
  CLibraryLifetime& operator=(const CLibraryLifetime&) = delete;

 private:
  CWinApp& m_App;
  std::unique_ptr<CDynLinkLibrary> m_pLibraryRecord;
};

}  // namespace

// Constructed in this order at load and destroyed in the reverse order at unload.
CXelPseudoColorApp theApp;
static CLibraryLifetime g_LibraryLifetime(theApp);
