#include "temperature/CXelTemperatureDisplayClass.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

// The dialog redraws from the object's state in its own thread; the request only carries the bits.
void CXelTemperatureDisplayClass::RefreshDialog(UINT bits) {
  CXelImgProcessDlg* dialog = DialogData.pDialog;
  if (dialog != nullptr && dialog->GetSafeHwnd() != nullptr) dialog->UpdateDialogDisplay(0, bits);
}
