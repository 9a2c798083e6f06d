#include "ui/temp_scale_dialog.h"

#include "pseudocolor/pseudo_color_owner.h"
#include "resources/resource.h"

#include <xelfw/ScaleLabels.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr DWORD kColorBarStyle = WS_CHILD | WS_VISIBLE;
constexpr UINT kColorBarID = 0xFFFF;

}  // namespace

BEGIN_MESSAGE_MAP(CTempScaleDialog, CXelImgProcessDlg)
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_CTLCOLOR()
  ON_WM_CLOSE()
  ON_MESSAGE(XIP_WM_UPDATE_DIALOG_DISPLAY, OnRefresh)
END_MESSAGE_MAP()

CTempScaleDialog::CTempScaleDialog(CWnd* parent) : CXelImgProcessDlg(IDD_TEMP_SCALE, parent) {
  m_DlgOptions = XIP_DLG_OPTION_PLACEMENT;
  m_ColorBar.SetHorizontal(FALSE);
}

BOOL CTempScaleDialog::CreateDlg(HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return Create(IDD_TEMP_SCALE, CWnd::FromHandle(parent));
}

CPseudoColorOwner* CTempScaleDialog::Owner() const { return static_cast<CPseudoColorOwner*>(m_pOwner); }

BOOL CTempScaleDialog::OnInitDialog() {
  CXelImgProcessDlg::OnInitDialog();
  CWnd* placeholder = GetDlgItem(IDC_TS_BAR_PLACEHOLDER);
  placeholder->ShowWindow(SW_HIDE);
  CRect rect;
  placeholder->GetWindowRect(&rect);
  ScreenToClient(&rect);
  m_ColorBar.Create("", kColorBarStyle, rect, this, kColorBarID);
  UpdateDlgPos(TRUE);
  UpdateDialogDisplay(0, kTempScaleRefreshAll);
  return TRUE;
}

// The legend only hides: the host decides when it goes, and the owner may veto the close.
void CTempScaleDialog::OnClose() {
  if (m_pOwner && m_pOwner->SignalDlgEvent(XipDlgEvent(XIP_DLG_EVENT_CLOSE_REQUEST, GetDlgID())) == 0) return;
  ShowWindow(SW_HIDE);
}

void CTempScaleDialog::OnOK() { OnClose(); }

HBRUSH CTempScaleDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  if (ctlColor == CTLCOLOR_STATIC && wnd && wnd->GetDlgCtrlID() == IDC_TS_UNIT) {
    dc->SetBkColor(GetStaticBgColor());
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    if (m_hStaticBgBrush) return m_hStaticBgBrush;
  }
  return CXelImgProcessDlg::OnCtlColor(dc, wnd, ctlColor);
}

LRESULT CTempScaleDialog::OnRefresh(WPARAM hostBits, LPARAM dialogBits) {
  CPseudoColorOwner* owner = Owner();
  if (!owner) return 0;
  const auto bits = static_cast<UINT>(dialogBits);
  if ((bits & kTempScaleRefreshUnitText) && owner->GetUnitConverter())
    SetDlgItemText(IDC_TS_UNIT, owner->GetUnitConverter()->GetUnitText());
  if (bits & kTempScaleRefreshScale) {
    m_ColorBar.SetProfile(owner->GetProfiles().GetCurrentProfile());
    if (m_ColorBar.GetSafeHwnd()) m_ColorBar.Invalidate(FALSE);
    Invalidate(FALSE);
  }
  return OnUpdateDialogDisplay(hostBits, dialogBits);
}

void CTempScaleDialog::OnPaint() {
  CPaintDC paint(this);
  if ((GetStyle() & WS_MINIMIZE) || !Owner() || !m_ColorBar.GetSafeHwnd() || !Owner()->GetUnitConverter()) return;
  CClientDC dc(this);  // labels lie outside the bar and the update region alike
  PaintLabels(dc);
}

void CTempScaleDialog::PaintLabels(CDC& dc) {
  CPseudoColorOwner* owner = Owner();
  CBrush face(::GetSysColor(COLOR_BTNFACE));
  CGdiObject* oldFont = dc.SelectStockObject(ANSI_FIXED_FONT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));

  CRect bar, unit;
  m_ColorBar.GetWindowRect(&bar);
  ScreenToClient(&bar);
  GetDlgItem(IDC_TS_UNIT)->GetWindowRect(&unit);
  ScreenToClient(&unit);
  // A bar squeezed below its frame has no room inside, not four billion pixels of it.
  const UINT pixels = bar.Height() > 2 ? static_cast<UINT>(bar.Height() - 2) : 0;

  double lower = 0.0, upper = 0.0;
  owner->GetBounds(&lower, &upper);
  const double span = owner->GetGreySpan();
  const double lowerU = owner->GetUnitConverter()->GreyToUnit(lower * span, span);
  const double upperU = owner->GetUnitConverter()->GreyToUnit(upper * span, span);

  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  const int th = metrics.tmHeight;
  const int half = th / 2;
  CRect column(bar.right, bar.top - half, unit.right, bar.bottom + half);
  dc.FillRect(&column, &face);
  dc.SetBkMode(TRANSPARENT);

  const auto drawLabel = [&](const char* format, double value, int offset) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    CRect box(bar.right, bar.bottom - half - offset, unit.right, bar.bottom - half - offset + th);
    dc.DrawText(text, -1, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  };

  // Ticks count tenths of the unit in 32-bit integers. Bounds beyond ten million units, infinite or
  // NaN ones (a host's settings record may hold anything), and a window narrower than the tenth a
  // tick stands for get only their two ends labelled.
  constexpr double kLargestTickedUnit = 1.0e7;
  const double tenths = (upperU - lowerU) * 10;
  const bool tickable =
      std::fabs(lowerU) <= kLargestTickedUnit && std::fabs(upperU) <= kLargestTickedUnit && std::fabs(tenths) >= 1.0;
  if (lowerU == upperU) {
    drawLabel("> %.1lf", upperU, bar.Height());
    drawLabel("<= %.1lf", lowerU, 0);
  } else if (!tickable) {
    drawLabel("%.1lf", upperU, bar.Height());
    drawLabel("%.1lf", lowerU, 0);
  } else if (upperU > lowerU && pixels > 0) {
    // A unit running the other way gets no ticks rather than wrong ones; a bar with no inside height
    // would put every tick at its bottom edge and never reach the top.
    const int l10 = static_cast<int>(lowerU * 10);
    const auto r10 = static_cast<UINT>(static_cast<int>(tenths));
    const xelfw::TLabelStep labels = xelfw::ChooseLabelStep(pixels, static_cast<UINT>(3 * th), l10, r10);
    const double perTenth = pixels / tenths;
    for (long long v = labels.first;; v += labels.step) {
      const double offset = (static_cast<double>(v) - l10) * perTenth;
      if (offset < 0 || offset > pixels) break;
      drawLabel("%.1lf", static_cast<double>(v) / 10.0, static_cast<int>(offset));
      if (labels.step == 0) break;
    }
  }
  dc.SelectObject(oldFont);
}
