#include "controls_fixture.h"

namespace {

constexpr int kId = 301;

class ComboTest : public ControlsTest {
 protected:
  // The profile names of the colour dialog, added in index order as the dialog does.
  HWND MakeProfiles(DWORD extraStyle = CBS_SORT) {
    HWND combo =
        Make(WC_COMBOBOX, "", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | extraStyle, {20, 20, 220, 114}, kId);
    const char* names[] = {"Rainbow", "grey", "Iron", "Blue-red", "Hot metal"};
    for (int i = 0; i < 5; ++i) {
      const int at = static_cast<int>(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i])));
      SendMessage(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
    return combo;
  }
  static std::string ItemText(HWND combo, int index) {
    char buffer[64] = {};
    SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  static int CurSel(HWND combo) { return static_cast<int>(SendMessage(combo, CB_GETCURSEL, 0, 0)); }
  static bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  // Screen point in the middle of item `index` of the open list, which hangs below the box.
  static POINT ItemOnScreen(HWND combo, int index) {
    RECT box{};
    GetWindowRect(combo, &box);
    const int height = static_cast<int>(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0));
    return {box.left + 30, box.bottom + 1 + index * height + height / 2};
  }
};

TEST_F(ComboTest, SortsIgnoringCaseAndItemDataStaysWithItsItem) {
  HWND combo = MakeProfiles();
  ASSERT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(ItemText(combo, 0), "Blue-red");
  EXPECT_EQ(ItemText(combo, 1), "grey");
  EXPECT_EQ(ItemText(combo, 4), "Rainbow");
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 0, 0), 3);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 4, 0), 0);
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXTLEN, 2, 0), 9);

  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("IRON")), 3);
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Ir")), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("h")), 2);
  EXPECT_EQ(CurSel(combo), 2);
  EXPECT_EQ(Text(combo), "Hot metal");
  EXPECT_TRUE(TakeCodes(kId).empty()) << "programmatic selection is not announced";
}

TEST_F(ComboTest, SelectionFollowsInsertionsAndDeletions) {
  HWND combo = MakeProfiles(0);
  SendMessage(combo, CB_SETCURSEL, 2, 0);
  SendMessage(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first"));
  EXPECT_EQ(CurSel(combo), 3);
  EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 0, 0), 5);
  EXPECT_EQ(CurSel(combo), 2);
  SendMessage(combo, CB_DELETESTRING, 2, 0);
  EXPECT_EQ(CurSel(combo), CB_ERR);

  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), CB_ERR);
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(ItemText(combo, 0), "");
}

TEST_F(ComboTest, BoxIsOneLineHighAndTheTemplateHeightBoundsTheList) {
  HWND combo = MakeProfiles();
  RECT box{};
  GetWindowRect(combo, &box);
  const int itemHeight = static_cast<int>(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(box.bottom - box.top, itemHeight + 8);
}

TEST_F(ComboTest, ClickOpensTheListAndClickingAnItemChoosesIt) {
  HWND combo = MakeProfiles();
  winui::InjectClick(OnScreen(combo, 10, 5));
  winui::PumpMessages();
  ASSERT_TRUE(Dropped(combo));
  EXPECT_EQ(GetFocus(), combo);
  EXPECT_EQ(TakeCodes(kId), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));

  // Hovering highlights: the second row turns into the highlight colour.
  winui::InjectMouseMove(ItemOnScreen(combo, 1));
  winui::PumpMessages();
  const POINT hovered = ItemOnScreen(combo, 1);
  EXPECT_EQ(winui::ComposeScreen().At(hovered.x + 60, hovered.y), Pixel(10, 36, 106));

  winui::InjectClick(ItemOnScreen(combo, 1));
  winui::PumpMessages();
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(CurSel(combo), 1);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 1, 0), 1);
  EXPECT_EQ(TakeCodes(kId), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboTest, ClickOutsideTheOpenListClosesItWithoutChoosing) {
  HWND combo = MakeProfiles();
  SendMessage(combo, CB_SETCURSEL, 4, 0);
  winui::InjectClick(OnScreen(combo, 10, 5));
  winui::PumpMessages();
  ASSERT_TRUE(Dropped(combo));
  winui::InjectMouseMove(ItemOnScreen(combo, 0));
  winui::InjectClick({kParentX + 400, kParentY + 280});
  winui::PumpMessages();
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(CurSel(combo), 4);
  EXPECT_EQ(TakeCodes(kId), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboTest, LongListScrollsWithItsScrollBar) {
  // Room for three items below the one-line box: 13-pixel items, a box of 21 and a 2-pixel frame.
  HWND combo = Make(WC_COMBOBOX, "", CBS_DROPDOWNLIST | WS_VSCROLL, {20, 20, 220, 20 + 21 + 2 + 3 * 13}, kId);
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) {
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  RECT box{};
  GetWindowRect(combo, &box);
  const POINT downArrow{box.right - 9, box.bottom + 2 + 3 * 13 - 6};
  winui::InjectClick(downArrow);
  winui::InjectClick(downArrow);
  winui::PumpMessages();
  ASSERT_TRUE(Dropped(combo)) << "scrolling does not close the list";
  winui::InjectMouseMove(ItemOnScreen(combo, 0));
  winui::InjectClick(ItemOnScreen(combo, 0));
  winui::PumpMessages();
  EXPECT_EQ(CurSel(combo), 2) << "the first row now shows the third item";
}

TEST_F(ComboTest, KeyboardMovesTheSelectionAndDrivesTheList) {
  HWND combo = MakeProfiles();
  SetFocus(combo);
  TakeCodes(kId);
  winui::InjectKeyPress(VK_DOWN);
  winui::PumpMessages();
  EXPECT_EQ(CurSel(combo), 0);
  winui::InjectKeyPress(VK_END);
  winui::PumpMessages();
  EXPECT_EQ(CurSel(combo), 4);
  winui::InjectKeyPress(VK_DOWN);  // already at the end: nothing changes
  winui::PumpMessages();
  EXPECT_EQ(TakeCodes(kId), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}));

  MSG escape{combo, WM_KEYDOWN, static_cast<WPARAM>(VK_ESCAPE), 0, 0, {}};
  auto wantsEscape = [&] {
    return (SendMessage(combo, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)) & DLGC_WANTMESSAGE) != 0;
  };
  EXPECT_FALSE(wantsEscape()) << "a closed combo leaves Esc to the dialog";
  winui::InjectKeyPress(VK_F4);
  winui::InjectKeyPress(VK_UP);
  winui::PumpMessages();
  EXPECT_TRUE(Dropped(combo));
  EXPECT_TRUE(wantsEscape()) << "an open one closes itself with it";
  EXPECT_EQ(CurSel(combo), 4) << "the open list moves its highlight, not the selection";
  winui::InjectKeyPress(VK_RETURN);
  winui::PumpMessages();
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(CurSel(combo), 3);

  winui::InjectKeyPress(VK_DOWN, {VK_MENU});
  winui::InjectKeyPress(VK_HOME);
  winui::InjectKeyPress(VK_ESCAPE);
  winui::PumpMessages();
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(CurSel(combo), 3);

  SendMessage(combo, WM_CHAR, 'g', 0);
  EXPECT_EQ(CurSel(combo), 1);
}

TEST_F(ComboTest, MfcComboBoxForwardsToTheControl) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | CBS_SORT | WS_CHILD | WS_VISIBLE, CRect(20, 20, 220, 114),
                           CWnd::FromHandle(parent_), kId));
  combo.AddString("b");
  combo.AddString("a");
  combo.SetItemData(1, 42);
  EXPECT_EQ(combo.FindStringExact(-1, "B"), 1);
  EXPECT_EQ(combo.GetItemData(1), 42u);
  combo.SetCurSel(1);
  std::string text;
  combo.GetLBText(combo.GetCurSel(), text);
  EXPECT_EQ(text, "b");
  combo.ShowDropDown();
  EXPECT_TRUE(combo.GetDroppedState());
  combo.ShowDropDown(FALSE);
  EXPECT_FALSE(combo.GetDroppedState());
  combo.DestroyWindow();
}

}  // namespace
