// How the object describes its dialog to the host, and how it asks the open dialog to redraw.
#include "temperature/CXelTemperatureDisplayClass.h"

#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/afxwin.h>
#include <winui/winuser.h>

namespace {

constexpr char kDialogHeadLine[] = "Temperature";
// The host places the dialog where it was last shown.
constexpr UINT kPlaceWhereLastShown = 2;
constexpr INT kDialogMenuPosition = 3;

}  // namespace

// The dialog redraws from the object's state in its own thread; the request only carries the bits.
void CXelTemperatureDisplayClass::RefreshDialog(UINT bits) {
  CXelImgProcessDlg* dialog = DialogData.pDialog;
  if (dialog != nullptr && dialog->GetSafeHwnd() != nullptr) dialog->UpdateDialogDisplay(0, bits);
}

// Called with this module's state current, so the icon comes from this library's resources.
void CXelTemperatureDisplayClass::FillDialogData() {
  const HICON thermometer = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(DialogIconID()));
  DialogData.Flags = 0;
  DialogData.pDialog = nullptr;
  DialogData.DlgID = 0;
  DialogData.Visible = 0;
  DialogData.PlacementMode = kPlaceWhereLastShown;
  DialogData.HeadLine = kDialogHeadLine;
  DialogData.MenuText = kDialogHeadLine;
  DialogData.hIcon = thermometer;
  DialogData.hIconSmall = thermometer;
  DialogData.NumUserButtons = 1;
  DialogData.ppUserButtonTexts = UserButtonTextPtrs;
  DialogData.UserButtonState = 0;
  DialogData.MenuPosition = kDialogMenuPosition;
}
