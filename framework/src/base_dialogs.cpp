// Closing the dialogs an object's records name when the object goes away.
#include "dialog_teardown.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelImgProcessDlg.h>

#include <algorithm>
#include <array>

namespace xelfw {

void DestroyDialogs(std::span<_TXIP_DIALOG_DATA* const> records) {
  std::array<CXelImgProcessDlg*, kMaxDialogs> found{};
  std::size_t count = 0;
  for (_TXIP_DIALOG_DATA* record : records.first(std::min(records.size(), kMaxDialogs))) {
    if (record == nullptr || record->pDialog == nullptr) continue;
    found[count++] = record->pDialog;
    // Cleared first, so that nothing a window does while it closes (refresh requests, the owner
    // looking for its dialogs) reaches a dialog that is on its way out.
    record->pDialog = nullptr;
  }
  // Every window before any dialog object: destroying one window moves focus and activation to the
  // others, whose objects must still be there to answer.
  const std::span<CXelImgProcessDlg* const> dialogs(found.data(), count);
  for (CXelImgProcessDlg* dialog : dialogs) {
    if (dialog->GetSafeHwnd() != nullptr) dialog->DestroyWindow();
  }
  for (CXelImgProcessDlg* dialog : dialogs) delete dialog;
}

}  // namespace xelfw

void CXelImgProcess::ShutDownDialogs() {
  if (m_pDialogData == nullptr) return;
  std::array<_TXIP_DIALOG_DATA*, xelfw::kMaxDialogs> records{};
  const std::size_t count = std::min<std::size_t>(GetNumDialogs(), records.size());
  for (std::size_t i = 0; i < count; ++i) records[i] = &m_pDialogData[i];
  xelfw::DestroyDialogs(std::span(records.data(), count));
}
