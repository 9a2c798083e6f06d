#include "ui/temp_display_dialog.h"

#include "resources/resource.h"
#include "temperature/temperature_owner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The host frame's option word (m_DlgOptions2) this dialog has always carried.
constexpr UINT kHostFrameOptions = 0x8000;
constexpr int32_t kTempMinWidth = 80;
constexpr int32_t kTempMinHeight = 15;

CRect ScreenRectOf(CWnd* wnd) {
  CRect rect;
  wnd->GetWindowRect(&rect);
  return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTempDisplayDialog, CXelImgProcessDlg)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_CTLCOLOR()
  ON_EN_KILLFOCUS(IDC_TD_EPSILON, OnKillFocusEpsilon)
  ON_BN_CLICKED(IDC_TD_USER_BUTTON, OnUserButton)
  ON_WM_SHOWWINDOW()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_MESSAGE(XIP_WM_UPDATE_DIALOG_DISPLAY, OnRefresh)
END_MESSAGE_MAP()

CTempDisplayDialog::CTempDisplayDialog(CWnd* parent) : CXelImgProcessDlg(IDD_TEMP_DISPLAY, parent) {
  m_DlgOptions = XIP_DLG_OPTION_PLACEMENT | XIP_DLG_OPTION_RESIZABLE;
  m_DlgOptions2 = kHostFrameOptions;
}

CTempDisplayDialog::~CTempDisplayDialog() { delete m_pTempFont; }

BOOL CTempDisplayDialog::CreateDlg(HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return Create(IDD_TEMP_DISPLAY, CWnd::FromHandle(parent));
}

CTemperatureOwner* CTempDisplayDialog::Owner() const { return static_cast<CTemperatureOwner*>(m_pOwner); }

void CTempDisplayDialog::DoDataExchange(CDataExchange* dx) {
  CXelImgProcessDlg::DoDataExchange(dx);
  DDX_Control(dx, IDC_TD_USER_BUTTON, m_UserButton);
}

BOOL CTempDisplayDialog::OnInitDialog() {
  UpdateStaticBgBrush();
  CXelImgProcessDlg::OnInitDialog();
  CWnd* temperature = GetDlgItem(IDC_TD_TEMPERATURE);
  m_pOrigFont = temperature->GetFont();
  UpdateTempFont();

  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  CRect window;
  GetWindowRect(&window);
  const CRect icon = ScreenRectOf(GetDlgItem(IDC_TD_EPSILON_ICON));
  const CRect edit = ScreenRectOf(GetDlgItem(IDC_TD_EPSILON));
  const CRect button = ScreenRectOf(GetDlgItem(IDC_TD_USER_BUTTON));
  const CRect temp = ScreenRectOf(temperature);
  m_IconTop = icon.top - client.top;
  m_IconRightOfs = client.right - icon.left;
  m_EditTop = edit.top - client.top;
  m_EditRightOfs = client.right - edit.left;
  m_ButtonTop = button.top - client.top;
  m_ButtonRightOfs = client.right - button.left;
  m_TempLeft = temp.left - client.left;
  m_TempTop = temp.top - client.top;
  m_TempRightMargin = client.right - temp.right;
  m_TempBottomMargin = client.bottom - temp.bottom;
  m_TempMinWidth = kTempMinWidth;
  m_TempMinHeight = kTempMinHeight;
  m_WindowWidth = window.Width();
  m_WindowHeight = window.Height();

  UpdateDlgPos(TRUE);
  UpdateDialogDisplay(0, kTempDisplayRefreshTemperature | kTempDisplayRefreshEpsilon);
  return TRUE;
}

void CTempDisplayDialog::UpdateTempFont() {
  CWnd* temperature = GetDlgItem(IDC_TD_TEMPERATURE);
  if (!temperature || !m_pOrigFont) return;
  CRect rect;
  temperature->GetClientRect(&rect);
  const auto height = static_cast<uint32_t>(rect.Height());
  LOGFONT font{};
  m_pOrigFont->GetLogFont(&font);
  if (font.lfHeight != 0)
    font.lfWidth =
        static_cast<LONG>(static_cast<uint32_t>(font.lfWidth) * height / static_cast<uint32_t>(font.lfHeight));
  font.lfHeight = static_cast<LONG>(height);
  font.lfWeight = FW_BOLD;
  font.lfQuality = ANTIALIASED_QUALITY;
  std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", "Arial");
  auto* scaled = new CFont;
  if (!scaled->CreateFontIndirect(&font)) {
    delete scaled;
    return;
  }
  temperature->SetFont(scaled, TRUE);
  delete m_pTempFont;
  m_pTempFont = scaled;
}

void CTempDisplayDialog::OnDestroy() {
  if (m_pOrigFont)
    if (CWnd* temperature = GetDlgItem(IDC_TD_TEMPERATURE)) temperature->SetFont(m_pOrigFont, TRUE);
  delete m_pTempFont;
  m_pTempFont = nullptr;
  CXelImgProcessDlg::OnDestroy();
}

HBRUSH CTempDisplayDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  if (ctlColor == CTLCOLOR_STATIC && wnd && wnd->GetDlgCtrlID() == IDC_TD_TEMPERATURE) {
    dc->SetBkColor(GetStaticBgColor());
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    return m_hStaticBgBrush;
  }
  return CXelImgProcessDlg::OnCtlColor(dc, wnd, ctlColor);
}

void CTempDisplayDialog::ApplyEpsilon() {
  std::string text;
  GetDlgItemText(IDC_TD_EPSILON, text);
  double value = 0.0;
  if (Owner() && std::sscanf(text.c_str(), "%lf", &value) == 1 && value >= 0.0 && value <= 1.0) {
    const bool changed = value != m_Epsilon;
    Owner()->SetEpsilon(value);
    m_Epsilon = value;
    if (changed) Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
  } else {
    UpdateDialogDisplay(0, kTempDisplayRefreshEpsilon);
  }
}

void CTempDisplayDialog::OnKillFocusEpsilon() { ApplyEpsilon(); }

void CTempDisplayDialog::OnOK() {
  CWnd* focus = GetFocus();
  if (focus && focus->GetDlgCtrlID() == IDC_TD_EPSILON) ApplyEpsilon();
}

// A plain push button has no lasting state to record; the host learns of the click from the event.
void CTempDisplayDialog::OnUserButton() {
  if (Owner()) Owner()->SignalDlgEvent(XIP_DLG_EVENT_USER_BUTTON);
}

void CTempDisplayDialog::OnSize(UINT type, int cx, int cy) {
  CXelImgProcessDlg::OnSize(type, cx, cy);
  CWnd* temperature = GetDlgItem(IDC_TD_TEMPERATURE);
  if (!temperature) return;  // sized while the template's controls are still being made
  CRect client;
  GetClientRect(&client);
  const int32_t maxRight = std::max({m_IconRightOfs, m_EditRightOfs, m_ButtonRightOfs});
  const int32_t spare = client.Width() - 2 * m_TempLeft - m_TempMinWidth - maxRight;
  const int32_t shift = spare < 0 ? spare : 0;
  constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  GetDlgItem(IDC_TD_EPSILON_ICON)->SetWindowPos(nullptr, cx - m_IconRightOfs - shift, m_IconTop, 0, 0, kMoveOnly);
  CWnd* edit = GetDlgItem(IDC_TD_EPSILON);
  edit->SetWindowPos(nullptr, cx - m_EditRightOfs - shift, m_EditTop, 0, 0, kMoveOnly);
  edit->Invalidate(FALSE);
  GetDlgItem(IDC_TD_USER_BUTTON)->SetWindowPos(nullptr, cx - m_ButtonRightOfs - shift, m_ButtonTop, 0, 0, kMoveOnly);
  const int width = shift < 0 ? m_TempMinWidth : cx - m_TempRightMargin - m_TempLeft;
  temperature->SetWindowPos(nullptr, 0, 0, width, cy - m_TempBottomMargin - m_TempTop,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateTempFont();
}

void CTempDisplayDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  m_MinTrackSize.x = m_TempMinWidth + 2 * m_TempLeft + (window.Width() - client.Width());
  m_MinTrackSize.y = m_TempMinHeight + 2 * m_TempTop + (window.Height() - client.Height());
  CXelImgProcessDlg::OnGetMinMaxInfo(info);
}

LRESULT CTempDisplayDialog::OnRefresh(WPARAM hostBits, LPARAM dialogBits) {
  CTemperatureOwner* owner = Owner();
  const auto bits = static_cast<UINT>(dialogBits);
  if (owner && (bits & kTempDisplayRefreshTemperature)) {
    char text[50];
    owner->FormatTemperature(text, sizeof text);
    SetDlgItemText(IDC_TD_TEMPERATURE, text);
  }
  if (owner && (bits & kTempDisplayRefreshEpsilon)) {
    m_Epsilon = owner->GetEpsilon();
    char text[32];
    std::snprintf(text, sizeof text, "%.3lf", m_Epsilon);
    SetDlgItemText(IDC_TD_EPSILON, text);
  }
  if (owner && (hostBits & XIP_UPDATE_USER_BUTTONS)) {
    const _TXIP_DIALOG_DATA* record = owner->GetDialogDataByDlgID(GetDlgID());
    if (record && record->ppUserButtonTexts && record->NumUserButtons > 0 && record->ppUserButtonTexts[0]) {
      const std::string& caption = *record->ppUserButtonTexts[0];
      m_UserButton.SetWindowText(caption.c_str());
      m_UserButton.ShowWindow(caption.empty() ? SW_HIDE : SW_SHOW);
      m_UserButton.SetCheck(record->UserButtonState & 1 ? BST_CHECKED : BST_UNCHECKED);
    }
  }
  return OnUpdateDialogDisplay(hostBits, dialogBits);
}
