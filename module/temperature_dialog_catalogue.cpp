// The one dialog the temperature object offers the host, composed here beside the object catalogue.
#include "resources/resource.h"
#include "temperature/CXelTemperatureDisplayClass.h"
#include "ui/temp_display_dialog.h"

#include <new>

UINT CXelTemperatureDisplayClass::GetNumDialogs() { return 1; }

UINT CXelTemperatureDisplayClass::IsDialogTypeFlag(UINT) { return 0; }

// Every ID names the same dialog: there is nothing else to choose from.
CXelImgProcessDlg* CXelTemperatureDisplayClass::CreateDialogObject(UINT, HWND parent) {
  return new (std::nothrow) CTempDisplayDialog(CWnd::FromHandle(parent));
}

UINT CXelTemperatureDisplayClass::DialogIconID() { return IDI_THERMOMETER; }
