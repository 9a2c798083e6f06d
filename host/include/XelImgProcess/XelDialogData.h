// The record a processing object fills for each of its dialogs.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <string>

class CXelImgProcessDlg;

// Dialog events of SignalDlgEvent: the low half is the event, the high half the sender's dialog ID.
inline constexpr UINT XIP_DLG_EVENT_CLOSE_REQUEST = 1;  // result non-zero: the dialog hides itself
inline constexpr UINT XIP_DLG_EVENT_SETTING_CHANGED = 3;
inline constexpr UINT XIP_DLG_EVENT_USER_BUTTON = 6;
constexpr UINT XipDlgEvent(UINT event, UINT dlgID) { return (event & 0xFFFF) | (dlgID << 16); }
constexpr UINT XipDlgEventCode(UINT word) { return word & 0xFFFF; }
constexpr UINT XipDlgEventDlgID(UINT word) { return word >> 16; }

inline constexpr UINT XIP_MAX_USER_BUTTONS = 2;

// The object owns the record and its strings; the host stores the dialog pointer while the dialog
// exists, writes the user-button captions through ppUserButtonTexts and keeps the placement.
struct _TXIP_DIALOG_DATA {
  UINT Flags = 0;                        // host option bits; objects pass 0
  CXelImgProcessDlg* pDialog = nullptr;  // set by the host while the dialog object exists
  UINT DlgID = 0;                        // the dialog's ID within its owner
  UINT Visible = 0;                      // host: the dialog was shown when the settings were saved
  UINT PlacementMode = 0;                // host: 2 = place the dialog where it was last
  UINT Reserved6 = 0;
  UINT Reserved7 = 0;
  RECT Placement{};      // host: last window rectangle (16 bytes)
  std::string HeadLine;  // caption of the dialog window
  std::string MenuText;  // the dialog's entry in the host's menu
  HICON hIcon = nullptr;
  HICON hIconSmall = nullptr;
  UINT NumUserButtons = 0;
  std::string** ppUserButtonTexts = nullptr;  // NumUserButtons caption pointers
  UINT UserButtonState = 0;                   // bit n: user button n + 1 is checked
  INT MenuPosition = -1;                      // host: position in the host's menu, -1 = at the end
  UINT Reserved17 = 0;
  UINT Reserved18 = 0;
  UINT Reserved19 = 0;
};
