#include "controls_fixture.h"

#include <algorithm>

namespace {

constexpr int kId = 201;

class EditTest : public ControlsTest {
 protected:
  HWND MakeEdit(DWORD style = ES_AUTOHSCROLL, LPCSTR text = "", int width = 120) {
    return Make(WC_EDIT, text, style, {10, 10, 10 + width, 30}, kId, WS_EX_CLIENTEDGE);
  }
  static void Type(HWND edit, const std::string& text) {
    for (char c : text) SendMessage(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  static std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  static std::pair<DWORD, DWORD> Range(DWORD start, DWORD end) { return {start, end}; }
  // The caret is the only full-height dark column of a line of digits.
  static int CaretColumn(HWND edit) {
    RECT client{};
    GetClientRect(edit, &client);
    for (int x = 0; x < client.right; ++x) {
      int run = 0;
      int longest = 0;
      for (int y = 0; y < client.bottom; ++y) {
        run = (PixelOf(edit, x, y) & 0xFF) < 64 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      if (longest >= 12) return x;
    }
    return -1;
  }
};

TEST_F(EditTest, TypingAndErasingEditTheTextAndReportEveryChange) {
  HWND edit = MakeEdit();
  Type(edit, "0.95");
  EXPECT_EQ(Text(edit), "0.95");
  const std::vector<WORD> perCharacter{EN_UPDATE, EN_CHANGE};
  std::vector<WORD> expected;
  for (int i = 0; i < 4; ++i) expected.insert(expected.end(), perCharacter.begin(), perCharacter.end());
  EXPECT_EQ(TakeCodes(kId), expected);

  SendMessage(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(Text(edit), "0.9");
  SendMessage(edit, WM_KEYDOWN, VK_HOME, 0);
  SendMessage(edit, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Text(edit), ".9");
  SendMessage(edit, WM_KEYDOWN, VK_END, 0);
  Type(edit, "5");
  EXPECT_EQ(Text(edit), ".95");
  TakeCodes(kId);

  // Backspace at the start and Delete at the end change nothing and say nothing.
  SendMessage(edit, WM_KEYDOWN, VK_DELETE, 0);
  SendMessage(edit, WM_KEYDOWN, VK_HOME, 0);
  SendMessage(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_TRUE(TakeCodes(kId).empty());
}

TEST_F(EditTest, ShiftArrowsSelectAndTypingReplacesTheSelection) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "abcdef");
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 6, 6);
  winui::InjectKeyPress(VK_LEFT, {VK_SHIFT});
  winui::InjectKeyPress(VK_LEFT, {VK_SHIFT});
  winui::PumpMessages();
  EXPECT_EQ(Selection(edit), Range(4, 6));
  winui::InjectText("X");
  winui::PumpMessages();
  EXPECT_EQ(Text(edit), "abcdX");
  EXPECT_EQ(Selection(edit), Range(5, 5));

  // Left without Shift drops a selection at its start.
  SendMessage(edit, EM_SETSEL, 1, 3);
  SendMessage(edit, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Selection(edit), Range(1, 1));
}

TEST_F(EditTest, SetSelFollowsWindowsConventions) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "hello");
  SendMessage(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(Selection(edit), Range(0, 5));
  EXPECT_EQ(SendMessage(edit, EM_GETSEL, 0, 0), MAKELONG(0, 5));
  SendMessage(edit, EM_SETSEL, 4, 1);  // reversed: the caret ends at 1
  EXPECT_EQ(Selection(edit), Range(1, 4));
  SendMessage(edit, EM_SETSEL, 2, 99);
  EXPECT_EQ(Selection(edit), Range(2, 5));
  SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(edit).first, Selection(edit).second);
}

TEST_F(EditTest, ClipboardCopiesCutsAndPastesBetweenEdits) {
  HWND from = MakeEdit(ES_AUTOHSCROLL, "20.5 K");
  HWND to = Make(WC_EDIT, "", ES_AUTOHSCROLL, {10, 40, 130, 60}, kId + 1);
  SendMessage(from, EM_SETSEL, 0, 4);
  SendMessage(from, WM_CHAR, 0x03, 0);  // Ctrl+C
  SendMessage(to, WM_CHAR, 0x16, 0);    // Ctrl+V
  EXPECT_EQ(Text(to), "20.5");
  SendMessage(from, WM_CHAR, 0x18, 0);  // Ctrl+X
  EXPECT_EQ(Text(from), " K");
  SendMessage(to, WM_CHAR, 0x01, 0);  // Ctrl+A, then paste over everything
  SendMessage(to, WM_CHAR, 0x16, 0);
  EXPECT_EQ(Text(to), "20.5");
}

TEST_F(EditTest, ReadOnlyNumberAndLimitRestrictWhatUsersCanEnter) {
  HWND readOnly = MakeEdit(ES_AUTOHSCROLL | ES_READONLY, "fixed");
  Type(readOnly, "x");
  SendMessage(readOnly, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(Text(readOnly), "fixed");
  EXPECT_TRUE(TakeCodes(kId).empty());

  HWND number = Make(WC_EDIT, "", ES_AUTOHSCROLL | ES_NUMBER, {10, 40, 130, 60}, kId + 1);
  Type(number, "4a2");
  EXPECT_EQ(Text(number), "42");

  HWND limited = Make(WC_EDIT, "", ES_AUTOHSCROLL, {10, 70, 130, 90}, kId + 2);
  SendMessage(limited, EM_LIMITTEXT, 3, 0);
  Type(limited, "1234");
  EXPECT_EQ(Text(limited), "123");
  const std::vector<WORD> codes = TakeCodes(kId + 2);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back(), EN_MAXTEXT);
  SendMessage(limited, EM_SETSEL, 0, 1);
  SendMessage(limited, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("xyz"));
  EXPECT_EQ(Text(limited), "x23");

  // Without ES_AUTOHSCROLL the text stops where the box ends.
  HWND narrow = Make(WC_EDIT, "", 0, {10, 100, 40, 120}, kId + 3);
  Type(narrow, std::string(40, 'W'));
  EXPECT_GT(Text(narrow).size(), 0u);
  EXPECT_LT(Text(narrow).size(), 40u);
}

TEST_F(EditTest, SetTextReplacesEverythingAndReportsTheChange) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "old");
  SetWindowText(edit, "0.950");
  EXPECT_EQ(Text(edit), "0.950");
  EXPECT_EQ(GetWindowTextLength(edit), 5);
  EXPECT_EQ(TakeCodes(kId), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
  CEdit wrapped;
  ASSERT_TRUE(wrapped.Attach(edit));
  wrapped.SetSel(1, 3);
  int start = 0;
  int end = 0;
  wrapped.GetSel(start, end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 3);
  wrapped.ReplaceSel("");
  EXPECT_EQ(Text(edit), "050");
  wrapped.Detach();
}

TEST_F(EditTest, FocusChangesAreNotified) {
  HWND first = MakeEdit();
  HWND second = Make(WC_EDIT, "", ES_AUTOHSCROLL, {10, 40, 130, 60}, kId + 1);
  SetFocus(first);
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{EN_SETFOCUS});
  SetFocus(second);
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{EN_KILLFOCUS});
  EXPECT_EQ(TakeCodes(kId + 1), std::vector<WORD>{EN_SETFOCUS});
}

TEST_F(EditTest, MouseDragSelectsAndDoubleClickSelectsAWord) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "one two");
  SendMessage(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 5));
  EXPECT_EQ(GetFocus(), edit);
  SendMessage(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 5));
  SendMessage(edit, WM_LBUTTONUP, 0, MAKELPARAM(110, 5));
  EXPECT_EQ(Selection(edit), Range(0, 7));
  EXPECT_EQ(GetCapture(), nullptr);

  SendMessage(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(110, 5));
  SendMessage(edit, WM_LBUTTONUP, 0, MAKELPARAM(110, 5));
  EXPECT_EQ(Selection(edit), Range(4, 7));
}

TEST_F(EditTest, AutoScrollKeepsTheCaretInView) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "", 60);
  SetFocus(edit);
  Type(edit, std::string(30, '1'));
  EXPECT_EQ(Text(edit).size(), 30u);
  RECT client{};
  GetClientRect(edit, &client);
  const int atEnd = CaretColumn(edit);
  EXPECT_GT(atEnd, client.right / 2);
  EXPECT_LT(atEnd, client.right);
  SendMessage(edit, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(CaretColumn(edit), 1) << "back at the start, behind the one-pixel margin";
}

TEST_F(EditTest, PaintsSelectionInHighlightColoursAndRightAlignsShortText) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_RIGHT, "1");
  const RECT client = [&] {
    RECT rc{};
    GetClientRect(edit, &rc);
    return rc;
  }();
  // Nothing dark in the left half: the single digit sits at the right edge.
  bool darkOnLeft = false;
  bool darkOnRight = false;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const bool dark = (PixelOf(edit, x, y) & 0xFF) < 128;
      (x < client.right / 2 ? darkOnLeft : darkOnRight) |= dark;
    }
  }
  EXPECT_FALSE(darkOnLeft);
  EXPECT_TRUE(darkOnRight);

  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 0, -1);
  bool highlighted = false;
  for (int x = client.right / 2; x < client.right; ++x)
    highlighted |= PixelOf(edit, x, client.bottom / 2) == Pixel(10, 36, 106);
  EXPECT_TRUE(highlighted);
}

}  // namespace
