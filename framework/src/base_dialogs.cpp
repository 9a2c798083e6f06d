// Closing the dialogs an object's records name when the object goes away.
#include "base_state.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

void CXelImgProcess::ShutDownDialogs() {
  if (m_pDialogData == nullptr) return;
  const UINT count = GetNumDialogs();
  for (UINT i = 0; i < count; ++i) {
    CXelImgProcessDlg* dialog = m_pDialogData[i].pDialog;
    if (dialog == nullptr) continue;
    // Cleared first, so that nothing the window does while it closes reaches the dialog again.
    m_pDialogData[i].pDialog = nullptr;
    if (dialog->GetSafeHwnd() != nullptr) dialog->DestroyWindow();
    delete dialog;
  }
}
