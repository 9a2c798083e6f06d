// Host-side dialog management: everything goes through the object's catalogue and dialog records.
#include <xelfw/DialogHost.h>

#include "dialog_teardown.h"

#include <algorithm>
#include <array>

#include <XelImgProcess/CXelImgProcess.h>

#include <vector>

namespace xelfw {

DialogHost::DialogHost(CXelImgProcess_0& object) : m_Object(object) {}

DialogHost::~DialogHost() { CloseAll(); }

UINT DialogHost::Count() const { return m_Object.GetNumDialogs(); }

bool DialogHost::IsTypeFlag(UINT dlgID) const { return m_Object.IsDialogTypeFlag(dlgID) != 0; }

const _TXIP_DIALOG_DATA* DialogHost::Record(UINT dlgID) const { return MutableRecord(dlgID); }

_TXIP_DIALOG_DATA* DialogHost::MutableRecord(UINT dlgID) const { return m_Object.GetDialogDataByDlgID(dlgID); }

CXelImgProcessDlg* DialogHost::Dialog(UINT dlgID) const {
  const _TXIP_DIALOG_DATA* record = Record(dlgID);
  return record != nullptr ? record->pDialog : nullptr;
}

CXelImgProcessDlg* DialogHost::Open(UINT dlgID, HWND parent, const RECT* placement) {
  if (CXelImgProcessDlg* open = Dialog(dlgID)) {
    Show(dlgID);
    return open;
  }
  _TXIP_DIALOG_DATA* record = MutableRecord(dlgID);
  // The dialogs read their owner's settings through the framework's base; an object without it
  // cannot own one.
  auto* owner = dynamic_cast<CXelImgProcess*>(&m_Object);
  if (record == nullptr || owner == nullptr) return nullptr;
  CXelImgProcessDlg* dialog = m_Object.CreateDialogObject(dlgID, parent);
  if (dialog == nullptr) return nullptr;
  // Owner and record first: OnInitDialog already asks for both.
  dialog->SetOwnerClass(owner);
  record->pDialog = dialog;
  if (!dialog->CreateDlg(parent) || dialog->GetSafeHwnd() == nullptr) {
    record->pDialog = nullptr;
    delete dialog;
    return nullptr;
  }
  if (placement != nullptr && !XipHasPlacement(record->Placement)) dialog->PlaceWindow(*placement);
  Show(dlgID);
  return dialog;
}

void DialogHost::RememberVisibility(UINT dlgID) {
  _TXIP_DIALOG_DATA* record = MutableRecord(dlgID);
  if (record != nullptr && record->pDialog != nullptr) record->Visible = record->pDialog->IsWindowVisible() ? 1 : 0;
}

void DialogHost::Show(UINT dlgID) {
  CXelImgProcessDlg* dialog = Dialog(dlgID);
  if (dialog == nullptr) return;
  dialog->ShowWindow(SW_SHOW);
  RememberVisibility(dlgID);
}

void DialogHost::Hide(UINT dlgID) {
  CXelImgProcessDlg* dialog = Dialog(dlgID);
  if (dialog == nullptr) return;
  dialog->ShowWindow(SW_HIDE);
  RememberVisibility(dlgID);
}

void DialogHost::Close(UINT dlgID) {
  CXelImgProcessDlg* dialog = Dialog(dlgID);
  if (dialog == nullptr) return;
  dialog->SendMessage(WM_CLOSE);
  RememberVisibility(dlgID);
}

void DialogHost::CloseAll() {
  std::array<_TXIP_DIALOG_DATA*, kMaxDialogs> records{};
  const std::size_t count = std::min<std::size_t>(Count(), records.size());
  for (std::size_t id = 0; id < count; ++id) records[id] = MutableRecord(static_cast<UINT>(id));
  DestroyDialogs(std::span(records.data(), count));
}

}  // namespace xelfw
