// CDialog: modeless dialogs from the current module's templates, their default commands, and
// dialog data exchange.
#include "afx_internal.h"

#include <winui/controls.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <limits>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_COMMAND(IDOK, OnOkCommand)
  ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog() = default;
CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCE(templateId)), m_pParentWnd(parent) {}
CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCE(templateId), parent); }

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (parent) m_pParentWnd = parent;
  HINSTANCE instance = AfxFindResourceHandle(templateName, RT_DIALOG);
  AfxSetCreatingWindow(this);
  HWND hwnd = ::CreateDialogParam(instance, templateName, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, nullptr, 0);
  AfxSetCreatingWindow(nullptr);
  return hwnd != nullptr && m_hWnd == hwnd;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  // Controls start out showing the members' values; a failed exchange still leaves the dialog up.
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
  if (m_hWnd) ::EndDialog(m_hWnd, result);
}

void CDialog::NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}
void CDialog::SetDefID(UINT id) { ::SendMessage(m_hWnd, DM_SETDEFID, id, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0)); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  return ::IsDialogMessage(m_hWnd, msg);
}

// ---- Dialog data exchange -----------------------------------------------------------------------
HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  m_hWndLastControl = control;
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() { throw new CUserException; }

namespace {

std::string ControlText(HWND control) {
  std::string text;
  if (CWnd* wnd = CWnd::FromHandle(control)) wnd->GetWindowText(text);
  return text;
}

template <class Parse>
bool ParseWhole(const std::string& text, Parse parse) {
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  char* end = nullptr;
  parse(begin, &end);
  if (end == begin) return false;
  while (*end == ' ') ++end;
  return *end == '\0';
}

// The integer exchanges differ only in their range and in the message a bad entry gets.
template <typename Integer>
void ExchangeInteger(CDataExchange* dx, int id, Integer& value, long long lowest, const char* message) {
  HWND control = dx->PrepareEditCtrl(id);
  if (!dx->m_bSaveAndValidate) {
    ::SetWindowText(control, std::to_string(value).c_str());
    return;
  }
  long long parsed = 0;
  const std::string text = ControlText(control);
  if (!ParseWhole(text, [&](const char* b, char** e) { parsed = std::strtoll(b, e, 10); }) || parsed < lowest ||
      parsed > static_cast<long long>(std::numeric_limits<Integer>::max())) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    dx->Fail();
  }
  value = static_cast<Integer>(parsed);
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (!control.SubclassWindow(dx->PrepareCtrl(id))) AfxThrowResourceException();
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = ControlText(control);
  else
    ::SetWindowText(control, value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  ExchangeInteger(dx, id, value, INT32_MIN, "Please enter an integer.");
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
  ExchangeInteger(dx, id, value, 0, "Please enter a positive integer.");
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (!dx->m_bSaveAndValidate) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", DBL_DIG, value);
    ::SetWindowText(control, text);
    return;
  }
  double parsed = 0;
  const std::string text = ControlText(control);
  if (!ParseWhole(text, [&](const char* b, char** e) { parsed = std::strtod(b, e); })) {
    AfxMessageBox("Please enter a number.", MB_ICONEXCLAMATION);
    dx->Fail();
  }
  value = parsed;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
  else
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(control, CB_GETCURSEL, 0, 0));
  else
    ::SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  char text[96];
  std::snprintf(text, sizeof text, "Please enter an integer between %d and %d.", minValue, maxValue);
  AfxMessageBox(text, MB_ICONEXCLAMATION);
  dx->Fail();
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  char text[128];
  std::snprintf(text, sizeof text, "Please enter a number between %.*g and %.*g.", DBL_DIG, minValue, DBL_DIG,
                maxValue);
  AfxMessageBox(text, MB_ICONEXCLAMATION);
  dx->Fail();
}
