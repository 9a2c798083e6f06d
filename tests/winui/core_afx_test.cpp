// The MFC-style layer: message maps routing to members, CDialog with data exchange, the handle
// map, and module state deciding whose resources a dialog is made from.
#include <winui/afxwin.h>
#include <winui/screen.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* PanelClass() {
  static const bool registered = [] {
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "CoreAfxPanel";
    return RegisterClass(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return "CoreAfxPanel";
}

class CPanel : public CWnd {
 public:
  std::vector<std::string> seen;
  CPoint lastClick;
  int sizeCx = 0;

 protected:
  void OnPaint() {
    CPaintDC dc(this);
    dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    seen.push_back("paint");
  }
  void OnLButtonDown(UINT flags, CPoint point) {
    lastClick = point;
    seen.push_back(flags & MK_LBUTTON ? "down+button" : "down");
    SetCapture();
  }
  void OnLButtonUp(UINT, CPoint) {
    ReleaseCapture();
    seen.push_back("up");
  }
  void OnSize(UINT, int cx, int) { sizeCx = cx; }
  LRESULT OnRefresh(WPARAM wParam, LPARAM lParam) {
    seen.push_back("refresh " + std::to_string(wParam) + "," + std::to_string(lParam));
    return 7;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_SIZE()
  ON_MESSAGE(WM_APP, OnRefresh)
END_MESSAGE_MAP()

TEST(AfxWndTest, MessageMapRoutesMessagesToMembers) {
  CPanel panel;
  ASSERT_TRUE(panel.CreateEx(0, PanelClass(), "panel", WS_POPUP | WS_VISIBLE, CRect(300, 300, 360, 340), nullptr, 0));
  EXPECT_EQ(CWnd::FromHandlePermanent(panel.m_hWnd), &panel);
  EXPECT_EQ(panel.sizeCx, 60) << "WM_SIZE of the creation reached the object";
  winui::PumpMessages();
  EXPECT_EQ(panel.seen, std::vector<std::string>{"paint"});
  EXPECT_EQ(winui::RenderWindow(panel.m_hWnd).At(5, 5), 0xFF0000u);

  EXPECT_EQ(panel.SendMessage(WM_APP, 3, 4), 7);
  panel.PostMessage(WM_APP, 5, 6);
  winui::InjectMouseDown(POINT{310, 320});
  winui::InjectMouseMove(POINT{400, 400});  // outside, but captured
  winui::InjectMouseUp(POINT{400, 400});
  winui::PumpMessages();
  EXPECT_EQ(panel.seen, (std::vector<std::string>{"paint", "refresh 3,4", "refresh 5,6", "down+button", "up"}));
  EXPECT_EQ(panel.lastClick.x, 10);
  EXPECT_EQ(panel.lastClick.y, 20);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  HWND hwnd = panel.m_hWnd;
  panel.DestroyWindow();
  EXPECT_EQ(panel.m_hWnd, nullptr) << "the object lets go of a destroyed window";
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(AfxWndTest, FromHandleGivesATemporaryForForeignWindows) {
  HWND hwnd = CreateWindowEx(0, PanelClass(), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(hwnd);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary, CWnd::FromHandle(hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
  std::string text;
  temporary->GetWindowText(text);
  EXPECT_EQ(text, "x");
  DestroyWindow(hwnd);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

// ---- CDialog ------------------------------------------------------------------------------------
constexpr UINT kSettingsDialog = 500;
constexpr int kGain = 501, kLabel = 502, kEnabled = 503, kReset = 504;

const char* const kSettingsScript = R"(
500 DIALOGEX 0, 0, 120, 60
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE
CAPTION "Settings"
FONT 8, "MS Sans Serif"
BEGIN
    EDITTEXT 501, 5, 5, 40, 12, ES_AUTOHSCROLL
    EDITTEXT 502, 5, 20, 40, 12, ES_AUTOHSCROLL
    AUTOCHECKBOX "On", 503, 5, 35, 40, 10
    PUSHBUTTON "Reset", 504, 60, 5, 50, 14
    DEFPUSHBUTTON "OK", IDOK, 60, 22, 50, 14
END
)";

class CSettingsDlg : public CDialog {
 public:
  CSettingsDlg() : CDialog(kSettingsDialog) {}
  int gain = 5;
  std::string label = "warm";
  int enabled = 1;
  int resets = 0;
  bool initialised = false;
  bool destroyed = false;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kGain, gain);
    DDV_MinMaxInt(dx, gain, 0, 10);
    DDX_Text(dx, kLabel, label);
    DDX_Check(dx, kEnabled, enabled);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    initialised = true;
    return TRUE;
  }
  void OnReset() { ++resets; }
  void OnDestroy() {
    destroyed = true;
    CDialog::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
  ON_BN_CLICKED(kReset, OnReset)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

class AfxDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(winui::RegisterResourceScript(winui::ThisModule(), kSettingsScript, {}, {}, &error)) << error;
  }
  void TearDown() override { winui::PumpMessages(); }
};

TEST_F(AfxDialogTest, CreateFillsControlsFromMembersAndOkReadsThemBack) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CSettingsDlg dlg;
  ASSERT_TRUE(dlg.Create(kSettingsDialog));
  EXPECT_TRUE(dlg.initialised);
  EXPECT_TRUE(dlg.IsWindowVisible());
  std::string text;
  dlg.GetDlgItemText(kGain, text);
  EXPECT_EQ(text, "5");
  EXPECT_EQ(dlg.IsDlgButtonChecked(kEnabled), BST_CHECKED);

  winui::InjectClick([&] {
    CRect rc;
    dlg.GetDlgItem(kReset)->GetWindowRect(&rc);
    return rc.CenterPoint();
  }());
  winui::PumpMessages();
  EXPECT_EQ(dlg.resets, 1) << "ON_BN_CLICKED reached the member";

  dlg.SetDlgItemText(kGain, "8");
  dlg.SetDlgItemText(kLabel, "cold");
  dlg.CheckDlgButton(kEnabled, BST_UNCHECKED);
  dlg.GetDlgItem(kLabel)->SetFocus();
  winui::InjectKeyPress(VK_RETURN);  // Enter presses OK, which saves and ends the dialog
  winui::PumpMessages();
  EXPECT_EQ(dlg.gain, 8);
  EXPECT_EQ(dlg.label, "cold");
  EXPECT_EQ(dlg.enabled, 0);
  EXPECT_TRUE(dlg.destroyed);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(AfxDialogTest, InvalidEntryKeepsTheDialogAndTellsTheUser) {
  CSettingsDlg dlg;
  ASSERT_TRUE(dlg.Create(kSettingsDialog));
  dlg.SetDlgItemText(kGain, "12");
  winui::ClearShownMessageBoxes();
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  ASSERT_EQ(winui::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(winui::ShownMessageBoxes()[0].text, "Please enter an integer between 0 and 10.");
  EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kGain)) << "the faulty field gets the focus";
  dlg.SetDlgItemText(kGain, "abc");
  EXPECT_FALSE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.gain, 12) << "a value that does not parse leaves the member as it was";
  dlg.DestroyWindow();
}

TEST_F(AfxDialogTest, ModuleStateDecidesWhoseTemplatesAreFound) {
  // Another module's state with no resources of its own: the extension-module chain still finds
  // the template, and the guard puts the previous state back.
  static int otherModuleAnchor;
  AFX_MODULE_STATE* other = winui::ModuleStateOf(reinterpret_cast<HINSTANCE>(&otherModuleAnchor));
  AFX_MODULE_STATE* before = AfxGetModuleState();
  {
    AFX_MANAGE_STATE(other);
    EXPECT_EQ(AfxGetModuleState(), other);
    EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(&otherModuleAnchor));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(kSettingsDialog), RT_DIALOG), winui::ThisModule());
    CSettingsDlg dlg;
    EXPECT_TRUE(dlg.Create(kSettingsDialog));
    dlg.DestroyWindow();
    CDialog missing(9999u);
    EXPECT_FALSE(missing.Create(9999u));
  }
  EXPECT_EQ(AfxGetModuleState(), before);
  EXPECT_EQ(AfxGetStaticModuleState()->m_hCurrentResourceHandle, winui::ThisModule());
}

TEST(AfxExceptionTest, ResourceExceptionIsThrownByPointer) {
  try {
    AfxThrowResourceException();
    FAIL() << "no exception";
  } catch (CResourceException* e) {
    e->Delete();
  }
}

}  // namespace
