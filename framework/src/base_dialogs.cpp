// Closing the dialogs an object's records name when the object goes away.
#include "dialog_teardown.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelImgProcessDlg.h>

#include <vector>

namespace xelfw {

void DestroyDialogs(std::span<_TXIP_DIALOG_DATA* const> records) {
  std::vector<CXelImgProcessDlg*> dialogs;
  for (_TXIP_DIALOG_DATA* record : records) {
    if (record == nullptr || record->pDialog == nullptr) continue;
    dialogs.push_back(record->pDialog);
    // Cleared first, so that nothing a window does while it closes (refresh requests, the owner
    // looking for its dialogs) reaches a dialog that is on its way out.
    record->pDialog = nullptr;
  }
  // Every window before any dialog object: destroying one window moves focus and activation to the
  // others, whose objects must still be there to answer.
  for (CXelImgProcessDlg* dialog : dialogs) {
    if (dialog->GetSafeHwnd() != nullptr) dialog->DestroyWindow();
  }
  for (CXelImgProcessDlg* dialog : dialogs) delete dialog;
}

}  // namespace xelfw

void CXelImgProcess::ShutDownDialogs() {
  if (m_pDialogData == nullptr) return;
  std::vector<_TXIP_DIALOG_DATA*> records;
  for (UINT i = 0; i < GetNumDialogs(); ++i) records.push_back(&m_pDialogData[i]);
  xelfw::DestroyDialogs(records);
}
