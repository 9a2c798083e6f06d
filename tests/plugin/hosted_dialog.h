// A dialog of a hosted object, made and shown the way a host does it: the object's catalogue makes
// the dialog object, the host sets its owner, stores it in the dialog record and creates its window.
#pragma once

#include "plugin_host.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/screen.h>

#include <string>
#include <vector>

namespace hosted_dialog {

struct HostedDialog {
  HostedDialog(UINT objectType, UINT dlgID) : host(objectType) {
    host.record.SetDlgEventHook([this](CXelImgProcess_0*, UINT event) {
      events.push_back(event);
      return closeAnswer;
    });
    dialog = host->CreateDialogObject(dlgID, nullptr);
    if (!dialog) return;
    dialog->SetOwnerClass(dynamic_cast<CXelImgProcess*>(host.object));
    record = host->GetDialogDataByDlgID(dlgID);
    if (record) record->pDialog = dialog;
    created = dialog->CreateDlg(nullptr);
    dialog->ShowWindow(SW_SHOW);
    winui::PumpMessages();
  }
  ~HostedDialog() {
    if (record) record->pDialog = nullptr;
    if (dialog && dialog->GetSafeHwnd()) dialog->DestroyWindow();
    delete dialog;
    winui::PumpMessages();
  }
  HostedDialog(const HostedDialog&) = delete;
  HostedDialog& operator=(const HostedDialog&) = delete;

  CWnd* Item(int id) const { return dialog->GetDlgItem(id); }
  std::string Text(int id) const {
    std::string text;
    dialog->GetDlgItemText(id, text);
    return text;
  }
  CRect ScreenRect(int id) const {
    CRect rect;
    Item(id)->GetWindowRect(&rect);
    return rect;
  }
  void Click(int id) const {
    winui::InjectClick(ScreenRect(id).CenterPoint());
    winui::PumpMessages();
  }
  // Focuses the edit, replaces its text by typing, and leaves it with Tab.
  void Type(int edit, const std::string& text) const {
    Click(edit);
    Item(edit)->SendMessage(EM_SETSEL, 0, -1);
    winui::InjectText(text);
    winui::InjectKeyPress(VK_TAB);
    winui::PumpMessages();
  }
  size_t Count(UINT event) const {
    size_t n = 0;
    for (UINT e : events) n += (e & 0xFFFF) == event;
    return n;
  }

  plugin_host::HostedObject host;
  CXelImgProcessDlg* dialog = nullptr;
  _TXIP_DIALOG_DATA* record = nullptr;
  BOOL created = FALSE;
  std::vector<UINT> events;
  UINT closeAnswer = 1;
};

}  // namespace hosted_dialog
