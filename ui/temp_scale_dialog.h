// "Scale": a legend for the pseudo-colour image. A vertical colour bar of the current profile with
// value labels in the display unit from the LUT window's lower bound (bottom) to its upper bound (top).
#pragma once

#include "ui/pseudo_color_static.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

class CPseudoColorOwner;

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
  CPseudoColorOwner* Owner() const;
  void PaintLabels(CDC& dc);

  CPseudoColorStatic m_ColorBar;
};
