// The framework's dialog frame: placement, resizing, refresh requests and the static background.
#include <XelImgProcess/CXelImgProcessDlg.h>

#include <XelImgProcess/CXelImgProcess.h>

#include <algorithm>

BEGIN_MESSAGE_MAP(CXelImgProcessDlg, CDialog)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_MESSAGE(XIP_WM_UPDATE_DIALOG_DISPLAY, OnUpdateDialogDisplay)
END_MESSAGE_MAP()

CXelImgProcessDlg::CXelImgProcessDlg(UINT templateID, CWnd* parent) : CDialog(templateID, parent) {}

CXelImgProcessDlg::~CXelImgProcessDlg() {
  if (m_hStaticBgBrush != nullptr) ::DeleteObject(m_hStaticBgBrush);
}

_TXIP_DIALOG_DATA* CXelImgProcessDlg::GetDialogData() {
  return m_pOwner != nullptr ? m_pOwner->GetDialogDataByDlgID(GetDlgID()) : nullptr;
}

void CXelImgProcessDlg::DoDataExchange(CDataExchange* dx) { CDialog::DoDataExchange(dx); }

BOOL CXelImgProcessDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  RECT client{};
  GetClientRect(&client);
  m_InitialClient = SIZE{client.right - client.left, client.bottom - client.top};
  return TRUE;
}

void CXelImgProcessDlg::AutoDlgCtrlPlacement(UINT ctrlID, UINT flags) {
  CWnd* control = GetDlgItem(static_cast<int>(ctrlID));
  if (control == nullptr) return;
  RECT rect{};
  control->GetWindowRect(&rect);
  ScreenToClient(&rect);
  m_Placements.push_back({ctrlID, flags, rect});
}

UINT CXelImgProcessDlg::GetNextFreeCtrlID() {
  while (GetDlgItem(static_cast<int>(m_NextFreeCtrlID)) != nullptr) ++m_NextFreeCtrlID;
  return m_NextFreeCtrlID++;
}

COLORREF CXelImgProcessDlg::GetStaticBgColor() { return ::GetSysColor(COLOR_WINDOW); }

void CXelImgProcessDlg::UpdateStaticBgBrush() {
  if (m_hStaticBgBrush != nullptr) ::DeleteObject(m_hStaticBgBrush);
  m_hStaticBgBrush = ::CreateSolidBrush(GetStaticBgColor());
}

void CXelImgProcessDlg::UpdateDialogDisplay(UINT_PTR hostBits, UINT_PTR dialogBits) {
  // Posted, never sent: the caller may be a processing thread, and only the dialog's own thread
  // touches its controls.
  if (GetSafeHwnd() != nullptr) {
    PostMessage(XIP_WM_UPDATE_DIALOG_DISPLAY, static_cast<WPARAM>(hostBits), static_cast<LPARAM>(dialogBits));
  }
}

LRESULT CXelImgProcessDlg::OnUpdateDialogDisplay(WPARAM, LPARAM) { return 0; }

void CXelImgProcessDlg::UpdateDlgPos(BOOL) {
  const _TXIP_DIALOG_DATA* data = GetDialogData();
  if (data == nullptr || (m_DlgOptions & XIP_DLG_OPTION_PLACEMENT) == 0 || !XipHasPlacement(data->Placement)) return;
  PlaceWindow(data->Placement);
}

void CXelImgProcessDlg::PlaceWindow(const RECT& placement) {
  RECT window{};
  GetWindowRect(&window);
  LONG width = m_WindowWidth > 0 ? m_WindowWidth : window.right - window.left;
  LONG height = m_WindowHeight > 0 ? m_WindowHeight : window.bottom - window.top;
  if ((m_DlgOptions & XIP_DLG_OPTION_RESIZABLE) != 0 && XipPlacementHasSize(placement)) {
    // A saved or requested size may come from a smaller screen or an edited settings file; the
    // dialog's own minimum is what keeps its controls usable.
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
    SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    width = std::max(placement.right - placement.left, info.ptMinTrackSize.x);
    height = std::max(placement.bottom - placement.top, info.ptMinTrackSize.y);
  }
  MoveWindow(placement.left, placement.top, width, height);
}

void CXelImgProcessDlg::StorePlacement() {
  _TXIP_DIALOG_DATA* data = GetDialogData();
  if (data == nullptr || GetSafeHwnd() == nullptr) return;
  GetWindowRect(&data->Placement);
  data->Visible = IsWindowVisible() ? 1 : 0;
}

// Hidden first, so that the record says "not shown" for settings saved before the next show.
void CXelImgProcessDlg::OnClose() {
  ShowWindow(SW_HIDE);
  StorePlacement();
}

void CXelImgProcessDlg::OnCancel() { OnClose(); }

BOOL CXelImgProcessDlg::DestroyWindow() {
  StorePlacement();
  return CDialog::DestroyWindow();
}

void CXelImgProcessDlg::OnDestroy() { CDialog::OnDestroy(); }

void CXelImgProcessDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (type == SIZE_MINIMIZED || m_InitialClient.cx == 0) return;
  const LONG dx = cx - m_InitialClient.cx;
  const LONG dy = cy - m_InitialClient.cy;
  for (const Placement& p : m_Placements) {
    CWnd* control = GetDlgItem(static_cast<int>(p.ctrlID));
    if (control == nullptr) continue;
    RECT r = p.initial;
    if (p.flags & XIP_PLACE_MOVE_X) r.left += dx, r.right += dx;
    if (p.flags & XIP_PLACE_MOVE_Y) r.top += dy, r.bottom += dy;
    if (p.flags & XIP_PLACE_SIZE_X) r.right = std::max(r.left, r.right + dx);
    if (p.flags & XIP_PLACE_SIZE_Y) r.bottom = std::max(r.top, r.bottom + dy);
    control->MoveWindow(&r);
  }
}

void CXelImgProcessDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (info != nullptr && (m_DlgOptions & XIP_DLG_OPTION_RESIZABLE) != 0) {
    if (m_MinTrackSize.x > 0) info->ptMinTrackSize.x = m_MinTrackSize.x;
    if (m_MinTrackSize.y > 0) info->ptMinTrackSize.y = m_MinTrackSize.y;
  }
  CDialog::OnGetMinMaxInfo(info);
}
