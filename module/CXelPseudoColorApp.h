// The library's one application object. It keeps every default of the window framework.
#pragma once

#include <winui/afxwin.h>

class CXelPseudoColorApp : public CWinApp {
 public:
  CXelPseudoColorApp() : CWinApp(nullptr) {}
};
