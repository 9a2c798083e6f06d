#include "ui/pseudo_color_dialog.h"

#include "pseudocolor/pseudo_color_owner.h"
#include "resources/resource.h"
#include "ui/profile_color.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr COLORREF kWarningColor = 0x8080FF;
constexpr UINT kSliderNotifyMsg = WM_USER + 100;
constexpr UINT kPreviewID = 0xFFFF;
constexpr int kTextBufferSize = 256;

// Bit 0 of the slider's style has always been set by this dialog; the slider does not read it.
constexpr DWORD kSliderStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x0001;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE;

// Placement flags by the part of the layout a control belongs to (XIP_PLACE_* in the low bits; the
// high bits are for the host's frame).
constexpr UINT kPlaceLeftColumn = 0x10033;
constexpr UINT kPlaceRightColumn = 0x10036;
constexpr UINT kPlaceFullWidth = 0x10027;
constexpr UINT kPlaceScaleGroup = 0x27;
constexpr UINT kPlaceProfileGroup = 0x0f;
constexpr UINT kPlaceLastRow = 0x1000f;
constexpr UINT kPlaceUserButtons = 0x10039;
constexpr UINT kPlaceCloseButton = 0x3c;

struct TPlacement {
  UINT id;
  UINT flags;
};

COLORREF SliderColor(void* context, double min, double max, double left, double right, double position) {
  return static_cast<CPseudoColorDialog*>(context)->GetProfileColor(min, max, left, right, position);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPseudoColorDialog, CXelImgProcessDlg)
  ON_EN_KILLFOCUS(IDC_PC_MAX_WIDTH, OnKillFocusMaxWidth)
  ON_EN_KILLFOCUS(IDC_PC_MIN_WIDTH, OnKillFocusMinWidth)
  ON_BN_CLICKED(IDC_PC_AUTO_CONTRAST_CONTINUOUS, OnContinuousAutoContrast)
  ON_BN_CLICKED(IDC_PC_AUTO_BRIGHTNESS_CONTINUOUS, OnContinuousAutoBrightness)
  ON_BN_CLICKED(IDC_PC_AUTO_CONTRAST_ONCE, OnAutoContrastOnce)
  ON_BN_CLICKED(IDC_PC_AUTO_BRIGHTNESS_ONCE, OnAutoBrightnessOnce)
  ON_BN_CLICKED(IDC_PC_RESET, OnReset)
  ON_BN_CLICKED(IDC_PC_MIN_WIDTH_ENABLE, OnMinWidthEnable)
  ON_BN_CLICKED(IDC_PC_MAX_WIDTH_ENABLE, OnMaxWidthEnable)
  ON_CBN_SELCHANGE(IDC_PC_PROFILE_COMBO, OnProfileChosen)
  ON_BN_CLICKED(IDC_PC_USER_BUTTON1, OnUserButton1)
  ON_BN_CLICKED(IDC_PC_USER_BUTTON2, OnUserButton2)
  ON_WM_CLOSE()
  ON_WM_CTLCOLOR()
  ON_MESSAGE(kSliderNotifyMsg, OnSliderNotify)
  ON_MESSAGE(XIP_WM_UPDATE_DIALOG_DISPLAY, OnRefresh)
END_MESSAGE_MAP()

CPseudoColorDialog::CPseudoColorDialog(CWnd* parent) : CXelImgProcessDlg(IDD_PSEUDO_COLOR, parent) {
  m_DlgOptions = XIP_DLG_OPTION_PLACEMENT;
  m_hWarningBrush = ::CreateSolidBrush(kWarningColor);
}

CPseudoColorDialog::~CPseudoColorDialog() {
  if (m_hWarningBrush) ::DeleteObject(m_hWarningBrush);
}

BOOL CPseudoColorDialog::CreateDlg(HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return Create(IDD_PSEUDO_COLOR, CWnd::FromHandle(parent));
}

CPseudoColorOwner* CPseudoColorDialog::Owner() const { return static_cast<CPseudoColorOwner*>(m_pOwner); }

BOOL CPseudoColorDialog::OnInitDialog() {
  CXelImgProcessDlg::OnInitDialog();

  const auto placeholderRect = [this](int id) {
    CWnd* placeholder = GetDlgItem(id);
    placeholder->ShowWindow(SW_HIDE);
    CRect rect;
    placeholder->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
  };
  const UINT sliderID = GetNextFreeCtrlID();
  m_Slider.Create(kSliderStyle, placeholderRect(IDC_PC_SLIDER_PLACEHOLDER), this, sliderID, this);
  m_Slider.SetMinMax(0.0, 1.0);
  m_Slider.SetRange(0.0, 1.0);
  m_Slider.m_pfnColorCallback = SliderColor;
  m_Slider.m_pColorCallbackContext = this;
  m_Slider.m_Step = 0.01;
  m_Slider.m_nNotifyMsg = kSliderNotifyMsg;
  m_Preview.Create("", kPreviewStyle, placeholderRect(IDC_PC_PREVIEW_PLACEHOLDER), this, kPreviewID);

  UpdateDialogDisplay(0, kPseudoColorRefreshAll);

  // Left column keeps to the left, right column to the right, full-width rows stretch.
  static constexpr TPlacement kPlacement[] = {
      {IDC_PC_SCALE_GROUP, kPlaceScaleGroup},
      {IDC_PC_SCALE_LOW, kPlaceLeftColumn},
      {IDC_PC_LOWER_LABEL, kPlaceLeftColumn},
      {IDC_PC_LOWER_VALUE, kPlaceLeftColumn},
      {IDC_PC_SCALE_HIGH, kPlaceRightColumn},
      {IDC_PC_UPPER_VALUE, kPlaceRightColumn},
      {IDC_PC_UPPER_LABEL, kPlaceRightColumn},
      {0, kPlaceFullWidth},  // the slider
      {IDC_PC_AUTO_CONTRAST_ONCE, kPlaceLeftColumn},
      {IDC_PC_AUTO_CONTRAST_CONTINUOUS, kPlaceRightColumn},
      {IDC_PC_AUTO_BRIGHTNESS_ONCE, kPlaceLeftColumn},
      {IDC_PC_AUTO_BRIGHTNESS_CONTINUOUS, kPlaceRightColumn},
      {IDC_PC_PROFILE_GROUP, kPlaceProfileGroup},
      {IDC_PC_PROFILE_LABEL, kPlaceLeftColumn},
      {IDC_PC_PROFILE_COMBO, kPlaceFullWidth},
      {IDC_PC_PREVIEW_LABEL, kPlaceLastRow},
      {kPreviewID, kPlaceLastRow},
      {IDC_PC_USER_BUTTON1, kPlaceUserButtons},
      {IDC_PC_USER_BUTTON2, kPlaceUserButtons},
      {IDOK, kPlaceCloseButton},
  };
  for (const auto& [id, flags] : kPlacement) AutoDlgCtrlPlacement(id == 0 ? sliderID : id, flags);

  UpdateDlgPos(TRUE);
  return TRUE;
}

COLORREF CPseudoColorDialog::GetProfileColor(double, double, double left, double right, double position) const {
  CPseudoColorOwner* owner = Owner();
  if (!owner) return 0;
  const CColorProfile_0* profile = owner->GetProfiles().GetCurrentProfile();
  if (!profile) return 0;
  // Coinciding thumbs leave no bar to spread the profile over: show its low end.
  const double t = right > left ? (position - left) / (right - left) : 0.0;
  return ProfileColorAt(*profile, t);
}

void CPseudoColorDialog::ShowEditValue(int id, double value) {
  CPseudoColorOwner* owner = Owner();
  if (!owner || !owner->GetUnitConverter()) return;
  char text[kTextBufferSize];
  const double span = owner->GetGreySpan();
  owner->GetUnitConverter()->FormatValue(value * span, span, text, sizeof text, XI_FORMAT_NUMBER, -1);
  SetDlgItemText(id, text);
}

void CPseudoColorDialog::ShowValue(int id, double grey) {
  CPseudoColorOwner* owner = Owner();
  if (!owner->GetUnitConverter()) return;
  char text[kTextBufferSize];
  owner->GetUnitConverter()->FormatValue(grey, owner->GetGreySpan(), text, sizeof text, XI_FORMAT_NUMBER_AND_UNIT, -1);
  SetDlgItemText(id, text);
}

BOOL CPseudoColorDialog::ReadEditValue(int id, double* out) {
  CPseudoColorOwner* owner = Owner();
  if (!GetDlgItem(id) || !owner || !owner->GetUnitConverter()) return FALSE;
  std::string text;
  GetDlgItemText(id, text);
  double number = 0.0;
  if (std::sscanf(text.c_str(), "%lf", &number) != 1) return FALSE;
  const double span = owner->GetGreySpan();
  double value = owner->GetUnitConverter()->UnitToGrey(number, span) / span;
  // "nan" reads as a number; it has no place on the scale to clamp to.
  if (std::isnan(value)) return FALSE;
  if (value > 1.0) value = 1.0;
  if (value < 0.0) value = 0.0;
  if (out) *out = value;
  return TRUE;
}

LRESULT CPseudoColorDialog::OnSliderNotify(WPARAM, LPARAM slider) {
  CPseudoColorOwner* owner = Owner();
  if (!owner) return 0;
  const auto* source = reinterpret_cast<CRangeSlider*>(slider);
  owner->SetBounds(source->m_Left, source->m_Right);
  owner->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
  UpdateDialogDisplay(0, kPseudoColorRefreshBoundValues);
  return 0;
}

namespace {

EWidthLimit WidthLimitOf(int id) {
  return id == IDC_PC_MIN_WIDTH || id == IDC_PC_MIN_WIDTH_ENABLE ? EWidthLimit::Min : EWidthLimit::Max;
}

BOOL WidthLimitEnabled(const TPseudoColorSettings& s, EWidthLimit which) {
  return which == EWidthLimit::Min ? s.AutoContrastMinWidthEnable : s.AutoContrastMaxWidthEnable;
}

double WidthLimit(const TPseudoColorSettings& s, EWidthLimit which) {
  return which == EWidthLimit::Min ? s.AutoContrastMinWidth : s.AutoContrastMaxWidth;
}

}  // namespace

void CPseudoColorDialog::CommitWidth(int id) {
  const EWidthLimit which = WidthLimitOf(id);
  const TPseudoColorSettings& s = Owner()->GetSettings();
  double width = WidthLimit(s, which);
  if (!ReadEditValue(id, &width)) return;
  Owner()->SetWidthLimit(which, WidthLimitEnabled(s, which), width);
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
}

void CPseudoColorDialog::OnKillFocusMaxWidth() {
  if (!Owner()) return;
  CommitWidth(IDC_PC_MAX_WIDTH);
  UpdateDialogDisplay(0, kPseudoColorRefreshWidthLimits);
}

void CPseudoColorDialog::OnKillFocusMinWidth() {
  if (!Owner()) return;
  CommitWidth(IDC_PC_MIN_WIDTH);
  UpdateDialogDisplay(0, kPseudoColorRefreshWidthLimits);
}

void CPseudoColorDialog::SetWidthEnable(int id) {
  if (!Owner()) return;
  const EWidthLimit which = WidthLimitOf(id);
  const BOOL enabled = IsDlgButtonChecked(id) == BST_CHECKED ? 1 : 0;
  Owner()->SetWidthLimit(which, enabled, WidthLimit(Owner()->GetSettings(), which));
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
  UpdateDialogDisplay(0, kPseudoColorRefreshWidthLimits);
}

void CPseudoColorDialog::OnMinWidthEnable() { SetWidthEnable(IDC_PC_MIN_WIDTH_ENABLE); }

void CPseudoColorDialog::OnMaxWidthEnable() { SetWidthEnable(IDC_PC_MAX_WIDTH_ENABLE); }

void CPseudoColorDialog::SetAutoMode(int id, UINT mode) {
  if (!Owner()) return;
  Owner()->SetAutoMode(IsDlgButtonChecked(id) == BST_CHECKED ? mode : 0);
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
  UpdateDialogDisplay(0, kPseudoColorRefreshAutoModes);
}

void CPseudoColorDialog::OnContinuousAutoContrast() {
  SetAutoMode(IDC_PC_AUTO_CONTRAST_CONTINUOUS, kPseudoColorAutoContrast);
}

void CPseudoColorDialog::OnContinuousAutoBrightness() {
  SetAutoMode(IDC_PC_AUTO_BRIGHTNESS_CONTINUOUS, kPseudoColorAutoBrightness);
}

void CPseudoColorDialog::ApplyAutoBounds(BOOL found, double lo, double hi, LPCSTR error) {
  if (!found) {
    MessageBox(error, "Error", MB_OK);
    return;
  }
  Owner()->SetBounds(lo, hi);
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
  UpdateDialogDisplay(0, kPseudoColorRefreshSliderRange | kPseudoColorRefreshBoundValues);
}

void CPseudoColorDialog::OnAutoContrastOnce() {
  if (!Owner()) return;
  double lo = 0.0, hi = 0.0;
  const BOOL found = Owner()->CalculateAutoContrast(&lo, &hi);
  ApplyAutoBounds(found, lo, hi, "Error during calculating auto contrast");
}

void CPseudoColorDialog::OnAutoBrightnessOnce() {
  if (!Owner()) return;
  double lower = 0.0, upper = 0.0, lo = 0.0, hi = 0.0;
  Owner()->GetBounds(&lower, &upper);
  const BOOL found = Owner()->CalculateAutoBrightness(&lo, &hi, upper - lower);
  ApplyAutoBounds(found, lo, hi, "Error during calculating auto brightness");
}

void CPseudoColorDialog::OnReset() {
  if (!Owner()) return;
  ApplyAutoBounds(TRUE, 0.0, 1.0, nullptr);
}

void CPseudoColorDialog::OnProfileChosen() {
  if (!Owner()) return;
  auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_PC_PROFILE_COMBO));
  const int selection = combo->GetCurSel();
  if (selection < 0) return;
  Owner()->SelectColorProfile(static_cast<UINT>(combo->GetItemData(selection)));
  Owner()->InvalidateLut();
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED);
}

void CPseudoColorDialog::ToggleUserButton(int id, UINT bit) {
  if (!Owner()) return;
  if (_TXIP_DIALOG_DATA* record = Owner()->GetDialogDataByDlgID(GetDlgID())) {
    if (IsDlgButtonChecked(id) == BST_CHECKED)
      record->UserButtonState |= bit;
    else
      record->UserButtonState &= ~bit;
  }
  Owner()->SignalDlgEvent(XIP_DLG_EVENT_USER_BUTTON);
}

void CPseudoColorDialog::OnUserButton1() { ToggleUserButton(IDC_PC_USER_BUTTON1, 0x1); }

void CPseudoColorDialog::OnUserButton2() { ToggleUserButton(IDC_PC_USER_BUTTON2, 0x2); }

void CPseudoColorDialog::OnOK() {
  CWnd* focus = GetFocus();
  const int id = focus ? focus->GetDlgCtrlID() : IDOK;
  if (id == IDOK) {
    OnClose();
  } else if (Owner() && (id == IDC_PC_MAX_WIDTH || id == IDC_PC_MIN_WIDTH)) {
    CommitWidth(id);
    ShowEditValue(id, WidthLimit(Owner()->GetSettings(), WidthLimitOf(id)));
  }
}

HBRUSH CPseudoColorDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  const int id = wnd ? wnd->GetDlgCtrlID() : 0;
  if (ctlColor == CTLCOLOR_STATIC && (id == IDC_PC_UPPER_VALUE || id == IDC_PC_LOWER_VALUE)) {
    dc->SetBkColor(GetStaticBgColor());
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    return m_hStaticBgBrush;
  }
  if (ctlColor == CTLCOLOR_EDIT && (id == IDC_PC_MIN_WIDTH || id == IDC_PC_MAX_WIDTH) && Owner()) {
    const TPseudoColorSettings& s = Owner()->GetSettings();
    // Contradicting limits make auto contrast ignore both; the colour tells the user why.
    if (s.AutoContrastMinWidthEnable && s.AutoContrastMaxWidthEnable &&
        s.AutoContrastMaxWidth < s.AutoContrastMinWidth) {
      dc->SetBkColor(kWarningColor);
      return m_hWarningBrush;
    }
  }
  return CXelImgProcessDlg::OnCtlColor(dc, wnd, ctlColor);
}

void CPseudoColorDialog::RefreshWidthPair(int checkID, int editID, BOOL enabled, double width) {
  CheckDlgButton(checkID, enabled ? BST_CHECKED : BST_UNCHECKED);
  CWnd* edit = GetDlgItem(editID);
  // Never overwrite what the user is typing.
  if (edit && GetFocus() != edit) ShowEditValue(editID, width);
  if (edit) edit->EnableWindow(enabled ? TRUE : FALSE);
}

void CPseudoColorDialog::RefreshUserButtons() {
  _TXIP_DIALOG_DATA* record = Owner()->GetDialogDataByDlgID(GetDlgID());
  if (!record || !record->ppUserButtonTexts) return;
  static constexpr int kButtons[] = {IDC_PC_USER_BUTTON1, IDC_PC_USER_BUTTON2};
  for (UINT i = 0; i < XIP_MAX_USER_BUTTONS && i < record->NumUserButtons; ++i) {
    const std::string* caption = record->ppUserButtonTexts[i];
    CWnd* button = GetDlgItem(kButtons[i]);
    if (!caption || !button) continue;
    button->SetWindowText(caption->c_str());
    button->ShowWindow(caption->empty() ? SW_HIDE : SW_SHOW);
    CheckDlgButton(kButtons[i], (record->UserButtonState >> i) & 1 ? BST_CHECKED : BST_UNCHECKED);
  }
}

LRESULT CPseudoColorDialog::OnRefresh(WPARAM hostBits, LPARAM dialogBits) {
  CPseudoColorOwner* owner = Owner();
  if (!owner) return 0;
  if (!GetSafeHwnd() || !::IsWindow(GetSafeHwnd())) return OnUpdateDialogDisplay(hostBits, dialogBits);
  const auto bits = static_cast<UINT>(dialogBits);
  const TPseudoColorSettings& s = owner->GetSettings();
  const double span = owner->GetGreySpan();
  if (bits & kPseudoColorRefreshScaleEnds) {
    ShowValue(IDC_PC_SCALE_LOW, 0.0);
    ShowValue(IDC_PC_SCALE_HIGH, span);
  }
  if (bits & kPseudoColorRefreshSliderRange) {
    m_Slider.SetRange(s.Lower, s.Upper);
    m_Slider.m_Step = 1.0 / owner->GetSliderSteps();
  }
  if (bits & kPseudoColorRefreshBoundValues) {
    ShowValue(IDC_PC_LOWER_VALUE, s.Lower * span);
    ShowValue(IDC_PC_UPPER_VALUE, s.Upper * span);
  }
  if (bits & kPseudoColorRefreshWidthLimits) {
    RefreshWidthPair(IDC_PC_MIN_WIDTH_ENABLE, IDC_PC_MIN_WIDTH, s.AutoContrastMinWidthEnable, s.AutoContrastMinWidth);
    RefreshWidthPair(IDC_PC_MAX_WIDTH_ENABLE, IDC_PC_MAX_WIDTH, s.AutoContrastMaxWidthEnable, s.AutoContrastMaxWidth);
  }
  if (bits & kPseudoColorRefreshAutoModes) {
    CheckDlgButton(IDC_PC_AUTO_CONTRAST_CONTINUOUS,
                   s.AutoMode == kPseudoColorAutoContrast ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PC_AUTO_BRIGHTNESS_CONTINUOUS,
                   s.AutoMode == kPseudoColorAutoBrightness ? BST_CHECKED : BST_UNCHECKED);
    const BOOL manual = s.AutoMode == 0;
    for (int id : {IDC_PC_AUTO_CONTRAST_ONCE, IDC_PC_AUTO_BRIGHTNESS_ONCE, IDC_PC_RESET})
      if (CWnd* control = GetDlgItem(id)) control->EnableWindow(manual);
    m_Slider.EnableWindow(manual);
  }
  auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_PC_PROFILE_COMBO));
  const CColorProfileList& profiles = owner->GetProfiles();
  if ((bits & kPseudoColorRefreshProfileList) && combo) {
    combo->ResetContent();
    for (UINT i = 0; i < profiles.GetNumProfiles(); ++i) {
      const int item = combo->AddString(profiles.GetProfile(i)->GetName());
      combo->SetItemData(item, i);
      if (i == profiles.GetCurrentIndex()) combo->SetCurSel(item);
    }
  }
  if ((bits & kPseudoColorRefreshProfileSelection) && combo) {
    int match = -1;
    for (int item = 0; item < combo->GetCount(); ++item)
      if (combo->GetItemData(item) == profiles.GetCurrentIndex()) match = item;
    combo->SetCurSel(match);
    m_Preview.SetProfile(profiles.GetCurrentProfile());
  }
  if (hostBits & XIP_UPDATE_USER_BUTTONS) RefreshUserButtons();
  return OnUpdateDialogDisplay(hostBits, dialogBits);
}
