// "Pseudo color": the settings dialog of the pseudo-colour object. It changes the owner's settings
// through the owner's interface, signals every change it makes, and redraws groups of controls on
// refresh bits.
#pragma once

#include "ui/pseudo_color_static.h"
#include "ui/range_slider.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

class CPseudoColorOwner;

class CPseudoColorDialog : public CXelImgProcessDlg {
 public:
  explicit CPseudoColorDialog(CWnd* parent);
  ~CPseudoColorDialog() override;

  BOOL OnInitDialog() override;
  void OnOK() override;
  UINT GetDlgID() override { return 0; }
  BOOL CreateDlg(HWND parent) override;

  // The slider bar's colour at `position`: the whole profile runs between the thumbs.
  COLORREF GetProfileColor(double min, double max, double left, double right, double position) const;

 protected:
  void OnKillFocusMaxWidth();
  void OnKillFocusMinWidth();
  void OnContinuousAutoContrast();
  void OnContinuousAutoBrightness();
  void OnAutoContrastOnce();
  void OnAutoBrightnessOnce();
  void OnReset();
  void OnMinWidthEnable();
  void OnMaxWidthEnable();
  void OnProfileChosen();
  void OnUserButton1();
  void OnUserButton2();
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  LRESULT OnSliderNotify(WPARAM code, LPARAM slider);
  LRESULT OnRefresh(WPARAM hostBits, LPARAM dialogBits);
  DECLARE_MESSAGE_MAP()

 private:
  CPseudoColorOwner* Owner() const;
  void ShowEditValue(int id, double value);
  BOOL ReadEditValue(int id, double* out);
  void ShowValue(int id, double grey);
  // Stores the width typed into edit `id` when it reads as a value on the scale.
  void CommitWidth(int id);
  void ApplyAutoBounds(BOOL found, double lo, double hi, LPCSTR error);
  void SetAutoMode(int id, UINT mode);
  void SetWidthEnable(int id);
  void ToggleUserButton(int id, UINT bit);
  void RefreshWidthPair(int checkID, int editID, BOOL enabled, double width);
  void RefreshUserButtons();

  CRangeSlider m_Slider;
  CPseudoColorStatic m_Preview;
  HBRUSH m_hWarningBrush = nullptr;
};
