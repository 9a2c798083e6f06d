// Closing the dialogs an object's records name when the object goes away.
#include "base_state.h"

void CXelImgProcess::ShutDownDialogs() {
  if (m_pDialogData == nullptr) return;
  const UINT count = GetNumDialogs();
  for (UINT i = 0; i < count; ++i) m_pDialogData[i].pDialog = nullptr;
}
