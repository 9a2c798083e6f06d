// How the object describes its two dialogs to the host, and how it asks an open one to redraw.
#include "pseudocolor/CXelPseudoColorClass.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

namespace {

// The host places a dialog where it was last shown.
constexpr UINT kPlaceWhereLastShown = 2;

void Describe(_TXIP_DIALOG_DATA& record, UINT dlgID, const char* headLine, UINT iconID) {
  record.DlgID = dlgID;
  record.PlacementMode = kPlaceWhereLastShown;
  record.HeadLine = headLine;
  record.MenuText = headLine;
  // Loaded from this library's own resources: the caller has made its module state current.
  record.hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(iconID));
  record.hIconSmall = record.hIcon;
}

}  // namespace

void CXelPseudoColorClass::FillDialogData() {
  _TXIP_DIALOG_DATA& pseudoColor = DialogData[kPseudoColorDlgID];
  Describe(pseudoColor, kPseudoColorDlgID, "Pseudo Color", DialogIconID(kPseudoColorDlgID));
  pseudoColor.NumUserButtons = XIP_MAX_USER_BUTTONS;
  pseudoColor.ppUserButtonTexts = UserButtonTextPtrs;
  Describe(DialogData[kTempScaleDlgID], kTempScaleDlgID, "Temperature Scale", DialogIconID(kTempScaleDlgID));
}

void CXelPseudoColorClass::UpdateDialog(UINT dlgID, UINT bits) {
  CXelImgProcessDlg* dialog = DialogData[dlgID].pDialog;
  if (dialog != nullptr) dialog->UpdateDialogDisplay(0, bits);
}

void CXelPseudoColorClass::UpdatePseudoColorDialog(UINT bits) { UpdateDialog(kPseudoColorDlgID, bits); }

void CXelPseudoColorClass::UpdateTempScaleDialog(UINT bits) { UpdateDialog(kTempScaleDlgID, bits); }

void CXelPseudoColorClass::RefreshAfterSettingsChange() {
  Lut.Invalidate();
  UpdateUnitConversion(Settings);
  UpdatePseudoColorDialog(kPseudoColorRefreshAll);
  UpdateTempScaleDialog(kTempScaleRefreshAll);
}
