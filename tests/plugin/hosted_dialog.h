// A dialog of a hosted object, opened the way a host opens it: through the framework's DialogHost,
// which has the object's catalogue make the dialog, sets its owner, stores it in the dialog record,
// creates its window and shows it. Dialog events reach the test through the instance record.
#pragma once

#include "plugin_host.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/screen.h>
#include <xelfw/DialogHost.h>

#include <string>
#include <vector>

namespace hosted_dialog {

struct HostedDialog {
  HostedDialog(UINT objectType, UINT dlgID) : host(objectType), dialogs(*host.object) {
    host.record.SetDlgEventHook([this](CXelImgProcess_0*, UINT event) {
      events.push_back(event);
      return closeAnswer;
    });
    dialog = dialogs.Open(dlgID);
    record = host->GetDialogDataByDlgID(dlgID);
    created = dialog != nullptr;
    winui::PumpMessages();
  }
  ~HostedDialog() {
    dialogs.CloseAll();
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
  xelfw::DialogHost dialogs;  // after host: the object outlives its dialogs
  CXelImgProcessDlg* dialog = nullptr;
  _TXIP_DIALOG_DATA* record = nullptr;
  BOOL created = FALSE;
  std::vector<UINT> events;
  UINT closeAnswer = 1;
};

}  // namespace hosted_dialog
