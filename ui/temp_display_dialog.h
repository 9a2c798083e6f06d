// "Temperature": the current temperature in a bold font that follows the window's height, the
// emissivity field, and one host user button. The controls at the right keep their distance to the
// right edge; the temperature field takes the rest and never shrinks below its minimum.
#pragma once

#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/afxcontrols.h>

#include <cstdint>

class CTemperatureOwner;

class CTempDisplayDialog : public CXelImgProcessDlg {
 public:
  explicit CTempDisplayDialog(CWnd* parent);
  ~CTempDisplayDialog() override;

  BOOL OnInitDialog() override;
  void OnOK() override;
  UINT GetDlgID() override { return 0; }
  BOOL CreateDlg(HWND parent) override;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnDestroy();
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnKillFocusEpsilon();
  void OnUserButton();
  void OnSize(UINT type, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  LRESULT OnRefresh(WPARAM hostBits, LPARAM dialogBits);
  DECLARE_MESSAGE_MAP()

 private:
  CTemperatureOwner* Owner() const;
  void UpdateTempFont();
  void ApplyEpsilon();

  CFont* m_pTempFont = nullptr;
  CFont* m_pOrigFont = nullptr;
  double m_Epsilon = 1.0;
  int32_t m_IconTop = 0, m_IconRightOfs = 0;
  int32_t m_EditTop = 0, m_EditRightOfs = 0;
  int32_t m_ButtonTop = 0, m_ButtonRightOfs = 0;
  int32_t m_TempLeft = 0, m_TempTop = 0;
  int32_t m_TempMinWidth = 0, m_TempMinHeight = 0;
  int32_t m_TempRightMargin = 0, m_TempBottomMargin = 0;
  CButton m_UserButton;
};
