// Dialogs from resource scripts: layout in dialog units, tab order and groups, the keys the dialog
// manager takes, and the notifications that clicks, typing and choosing send to the dialog.
#include "expected_picture.h"

#include <winui/controls.h>
#include <winui/resources.h>
#include <winui/screen.h>
#include <winui/wingdi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kDemoDialog = 100;

const char* const kResourceHeader = R"(
#define IDD_DEMO        100
#define IDC_NAME        1001
#define IDC_COLOUR      1002
#define IDC_INVERT      1003
#define IDC_APPLY       1004
#define IDC_GROUP_LABEL 1005
)";

const char* const kScript = R"(
#include "resource.h"
#include "afxres.h"

LANGUAGE 9, 1
#ifdef APSTUDIO_INVOKED
1 TEXTINCLUDE
BEGIN
    "resource.h\0"
END
#endif

IDD_DEMO DIALOGEX 0, 0, 186, 95
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Demo Settings"
FONT 8, "MS Sans Serif", 0, 0, 0x1
BEGIN
    GROUPBOX        "Display",IDC_STATIC,7,7,110,81
    LTEXT           "&Name:",IDC_GROUP_LABEL,14,20,30,8
    EDITTEXT        IDC_NAME,48,18,62,14,ES_AUTOHSCROLL
    LTEXT           "Colour:",IDC_STATIC,14,40,30,8
    COMBOBOX        IDC_COLOUR,48,38,62,60,CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP
    CONTROL         "Invert",IDC_INVERT,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,14,60,60,10
    DEFPUSHBUTTON   "OK",IDOK,129,7,50,14
    PUSHBUTTON      "Cancel",IDCANCEL,129,24,50,14
    PUSHBUTTON      "Apply",IDC_APPLY,129,41,50,14,WS_DISABLED
END
)";

struct Command {
  int id;
  WORD code;
};
std::vector<Command> g_commands;
bool g_initDialogSeen = false;

INT_PTR DemoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    g_initDialogSeen = true;
    HWND colours = GetDlgItem(dialog, 1002);
    for (const char* name : {"Rainbow", "Grey", "Iron"})
      SendMessage(colours, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessage(colours, CB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (message == WM_COMMAND) {
    g_commands.push_back({LOWORD(wParam), HIWORD(wParam)});
    return TRUE;
  }
  return FALSE;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(
        winui::RegisterResourceScript(winui::ThisModule(), kScript, {}, {{"resource.h", kResourceHeader}}, &error))
        << error;
    g_commands.clear();
    g_initDialogSeen = false;
    dialog = CreateDialogParam(winui::ThisModule(), MAKEINTRESOURCE(kDemoDialog), nullptr, DemoProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    winui::PumpMessages();
  }
  void TearDown() override {
    DestroyWindow(dialog);
    winui::PumpMessages();
  }
  HWND Item(int id) const { return GetDlgItem(dialog, id); }
  POINT CentreOf(int id) const {
    RECT rc;
    GetWindowRect(Item(id), &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  void Press(int vk, std::vector<int> modifiers = {}) {
    winui::InjectKeyPress(vk, modifiers);
    winui::PumpMessages();
  }
  std::vector<WORD> CodesFrom(int id) const {
    std::vector<WORD> codes;
    for (const Command& c : g_commands) {
      if (c.id == id) codes.push_back(c.code);
    }
    return codes;
  }
  HWND dialog = nullptr;
};

TEST_F(DialogTest, LaysOutInDialogUnitsOfTheTemplateFont) {
  EXPECT_TRUE(g_initDialogSeen);
  // 6 x 13 base units: x * 6 / 4, y * 13 / 8, each rounded.
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 279);   // 186 * 6 / 4
  EXPECT_EQ(client.bottom, 154);  // 95 * 13 / 8 = 154.4
  RECT ok;
  GetWindowRect(Item(IDOK), &ok);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
  EXPECT_EQ(ok.left, 194);  // 129 * 1.5 = 193.5
  EXPECT_EQ(ok.top, 11);    // 7 * 1.625 = 11.4
  EXPECT_EQ(ok.right - ok.left, 75);
  EXPECT_EQ(ok.bottom - ok.top, 23);  // 14 * 1.625 = 22.75
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  EXPECT_EQ(units.right, 6);
  EXPECT_EQ(units.bottom, 13);
  EXPECT_EQ(GetWindowLongPtr(Item(1001), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(DialogTest, TabCyclesThroughEnabledTabStopsInTemplateOrder) {
  EXPECT_EQ(GetFocus(), Item(1001)) << "the first tab stop has the focus after WM_INITDIALOG";
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(1002));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(1003));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(IDOK));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(IDCANCEL));
  Press(VK_TAB);  // Apply is disabled and skipped
  EXPECT_EQ(GetFocus(), Item(1001));
  Press(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(GetFocus(), Item(IDCANCEL));
  Press(VK_TAB, {VK_LSHIFT});
  EXPECT_EQ(GetFocus(), Item(IDOK));
  EXPECT_EQ(GetNextDlgGroupItem(dialog, Item(IDOK), FALSE), Item(IDCANCEL));
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
  Press(VK_RETURN);
  EXPECT_EQ(CodesFrom(IDOK), std::vector<WORD>{BN_CLICKED});
  Press(VK_ESCAPE);
  EXPECT_EQ(CodesFrom(IDCANCEL), std::vector<WORD>{BN_CLICKED});
  SendMessage(dialog, DM_SETDEFID, IDCANCEL, 0);
  g_commands.clear();
  Press(VK_RETURN);
  EXPECT_EQ(CodesFrom(IDCANCEL), std::vector<WORD>{BN_CLICKED});
  EXPECT_TRUE(CodesFrom(IDOK).empty());
}

TEST_F(DialogTest, TypingGoesToTheFocusedEditAndLeavingItNotifies) {
  winui::InjectText("Iron 2");
  winui::PumpMessages();
  char text[32];
  GetDlgItemText(dialog, 1001, text, sizeof text);
  EXPECT_STREQ(text, "Iron 2");
  EXPECT_FALSE(CodesFrom(1001).empty());
  EXPECT_EQ(CodesFrom(1001).back(), EN_CHANGE);
  Press(VK_TAB);
  EXPECT_EQ(CodesFrom(1001).back(), EN_KILLFOCUS);
  SetDlgItemInt(dialog, 1001, static_cast<UINT>(-12), TRUE);
  BOOL ok = FALSE;
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, 1001, &ok, TRUE)), -12);
  EXPECT_TRUE(ok);
}

TEST_F(DialogTest, ClicksReachTheControlUnderTheMouse) {
  winui::InjectClick(CentreOf(1003));
  winui::PumpMessages();
  EXPECT_EQ(CodesFrom(1003), std::vector<WORD>{BN_CLICKED});
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1003), BST_CHECKED);
  CheckDlgButton(dialog, 1003, BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1003), BST_UNCHECKED);
  winui::InjectClick(CentreOf(1004));  // disabled: nothing happens
  winui::PumpMessages();
  EXPECT_TRUE(CodesFrom(1004).empty());
}

TEST_F(DialogTest, ChoosingFromTheComboBoxNotifiesSelChange) {
  winui::InjectClick(CentreOf(1002));
  winui::PumpMessages();
  HWND colours = Item(1002);
  ASSERT_TRUE(SendMessage(colours, CB_GETDROPPEDSTATE, 0, 0));
  // Sorted: Grey, Iron, Rainbow. The list opens under the box; its second row is "Iron".
  RECT box;
  GetWindowRect(colours, &box);
  const int row = static_cast<int>(SendMessage(colours, CB_GETITEMHEIGHT, 0, 0));
  winui::InjectClick(POINT{box.left + 10, box.bottom + 1 + row + row / 2});
  winui::PumpMessages();
  EXPECT_FALSE(SendMessage(colours, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessage(colours, CB_GETCURSEL, 0, 0), 1);
  const std::vector<WORD> codes = CodesFrom(1002);
  EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_SELCHANGE), codes.end());
  Press(VK_DOWN);  // the focused closed combo box takes the arrows itself
  EXPECT_EQ(SendMessage(colours, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(DialogTest, CloseBoxSendsCancelAndMessageBoxesAreRecorded) {
  RECT rc;
  GetWindowRect(dialog, &rc);
  winui::InjectClick(POINT{rc.right - 3 - 2 - 8, rc.top + 3 + 9});
  winui::PumpMessages();
  EXPECT_EQ(CodesFrom(IDCANCEL), std::vector<WORD>{BN_CLICKED});
  winui::ClearShownMessageBoxes();
  EXPECT_EQ(MessageBox(dialog, "Value out of range", "Error", MB_OK | MB_ICONERROR), IDOK);
  ASSERT_EQ(winui::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(winui::ShownMessageBoxes()[0].text, "Value out of range");
  EXPECT_EQ(winui::ShownMessageBoxes()[0].caption, "Error");
}

TEST_F(DialogTest, DraggingTheCaptionMovesTheDialog) {
  RECT before;
  GetWindowRect(dialog, &before);
  const POINT grab{before.left + 40, before.top + 10};
  winui::InjectMouseDown(grab);
  winui::InjectMouseMove(POINT{grab.x + 25, grab.y + 15});
  winui::InjectMouseUp(POINT{grab.x + 25, grab.y + 15});
  winui::PumpMessages();
  RECT after;
  GetWindowRect(dialog, &after);
  EXPECT_EQ(after.left, before.left + 25);
  EXPECT_EQ(after.top, before.top + 15);
}

TEST_F(DialogTest, RendersAsAClassicDialog) {
  SendMessage(Item(1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Iron"));
  CheckDlgButton(dialog, 1003, BST_CHECKED);
  const winui::Surface picture = winui::RenderWindow(dialog);
  // Frame: light then white on the top-left, dark shadow on the bottom-right; caption starts in
  // the active dark blue; the client area is button face.
  EXPECT_EQ(picture.At(10, 0), 0xD4D0C8u);
  EXPECT_EQ(picture.At(10, 1), 0xFFFFFFu);
  EXPECT_EQ(picture.At(10, picture.Height() - 1), 0x404040u);
  EXPECT_EQ(picture.At(3, 10), winui::PixelFromColorRef(RGB(10, 36, 106)));
  EXPECT_EQ(picture.At(picture.Width() - 60, picture.Height() - 10), 0xD4D0C8u);
  expected_picture::ExpectMatchesDocsPicture(picture, "winui-core-demo-dialog.png");
}

TEST(ResourceScriptTest, ReportsTheLineOfABadStatement) {
  std::string error;
  EXPECT_FALSE(winui::RegisterResourceScript(
      winui::ThisModule(), "200 DIALOGEX 0, 0, 10, 10\nBEGIN\n  SLIDER 1, 2, 3\nEND\n", {}, {}, &error));
  EXPECT_NE(error.find(":3:"), std::string::npos) << error;
  EXPECT_FALSE(winui::RegisterResourceScript(winui::ThisModule(), "201 ICON \"missing.ico\"\n", {}, {}, &error));
  EXPECT_NE(error.find("missing.ico"), std::string::npos) << error;
  EXPECT_EQ(winui::FindDialogTemplate(winui::ThisModule(), MAKEINTRESOURCE(200)), nullptr);
}

TEST(ResourceScriptTest, IconsFromIcoFilesLoadThroughLoadIcon) {
  // A 2 x 2 32-bit .ico: directory, BITMAPINFOHEADER, bottom-up BGRA rows, a 1-bit mask.
  std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 32, 0, 56, 0, 0, 0, 22, 0, 0, 0};
  const std::uint8_t header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0};
  ico.insert(ico.end(), header, header + 40);
  const std::uint32_t rows[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x00000000};  // bottom row first
  for (std::uint32_t p : rows)
    for (int b = 0; b < 4; ++b) ico.push_back(static_cast<std::uint8_t>(p >> (8 * b)));
  ico.resize(ico.size() + 8, 0);
  std::string error;
  ASSERT_TRUE(winui::RegisterResourceScript(winui::ThisModule(),
                                            "#define IDI_SMALL 300\nIDI_SMALL ICON \"res\\\\small.ico\"\n",
                                            {{"res/small.ico", ico}}, {}, &error))
      << error;
  const winui::IconImage* image = winui::FindIconImage(winui::ThisModule(), MAKEINTRESOURCE(300), 32);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->width, 2);
  EXPECT_EQ(image->argb[0], 0xFFFF0000u);  // top-left: the first pixel of the last row stored
  EXPECT_EQ(image->argb[3], 0xFF00FF00u);
  EXPECT_EQ(image->argb[2], 0xFF0000FFu);
  EXPECT_NE(LoadIcon(winui::ThisModule(), MAKEINTRESOURCE(300)), nullptr);
  EXPECT_EQ(LoadIcon(winui::ThisModule(), MAKEINTRESOURCE(301)), nullptr);
}

}  // namespace
