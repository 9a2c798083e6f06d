// "Scale": a legend for the pseudo-colour image. A vertical colour bar of the current profile with
// value labels in the display unit from the LUT window's lower bound (bottom) to its upper bound (top).
#pragma once

#include "ui/pseudo_color_static.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

class CXelPseudoColorClass;

// First label value and the step between labels, both in tenths of the display unit.
struct TLabelStep {
  int first = 0;
  UINT step = 0;
};

// Chooses a round step (1, 2, 4, 5 or 10 times a power of ten) that spreads at most P / m + 1
// labels over `range` tenths starting at `start`. A step of 0 means the range is too narrow to label.
TLabelStep ChooseLabelStep(UINT pixels, UINT minSpacing, int start, UINT range);

class CTempScaleDialog : public CXelImgProcessDlg {
 public:
  explicit CTempScaleDialog(CWnd* parent);

  BOOL OnInitDialog() override;
  void OnOK() override;
  UINT GetDlgID() override { return 1; }
  BOOL CreateDlg(HWND parent) override;

 protected:
  void OnPaint();
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnClose();
  LRESULT OnRefresh(WPARAM hostBits, LPARAM dialogBits);
  DECLARE_MESSAGE_MAP()

 private:
  CXelPseudoColorClass* Owner() const;
  void PaintLabels(CDC& dc);

  CPseudoColorStatic m_ColorBar;
};
