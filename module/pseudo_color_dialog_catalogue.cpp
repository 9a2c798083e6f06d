// The dialogs the pseudo-colour object offers the host: its settings dialog and the temperature scale.
// They are composed here, where the object and its dialogs meet, so that neither includes the other.
#include "pseudocolor/CXelPseudoColorClass.h"
#include "resources/resource.h"
#include "ui/pseudo_color_dialog.h"
#include "ui/temp_scale_dialog.h"

#include <new>

UINT CXelPseudoColorClass::GetNumDialogs() { return kNumDialogs; }

// Only the scale is flagged: it is a legend that goes with the image rather than a settings dialog.
UINT CXelPseudoColorClass::IsDialogTypeFlag(UINT dlgID) { return dlgID == kTempScaleDlgID ? 1 : 0; }

CXelImgProcessDlg* CXelPseudoColorClass::CreateDialogObject(UINT dlgID, HWND parent) {
  CWnd* parentWnd = CWnd::FromHandle(parent);
  switch (dlgID) {
    case kPseudoColorDlgID:
      return new (std::nothrow) CPseudoColorDialog(parentWnd);
    case kTempScaleDlgID:
      return new (std::nothrow) CTempScaleDialog(parentWnd);
    default:
      return nullptr;
  }
}

UINT CXelPseudoColorClass::DialogIconID(UINT dlgID) {
  return dlgID == kTempScaleDlgID ? IDI_TEMP_SCALE : IDI_PSEUDO_COLOR;
}
