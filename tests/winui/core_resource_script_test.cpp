// What the resource-script reader makes of the statements resource editors write.
#include <winui/controls.h>
#include <winui/resources.h>
#include <winui/winuser.h>

#include <gtest/gtest.h>

namespace {

const winui::DialogTemplate* Register(const char* script, int id, std::string* error = nullptr) {
  std::string why;
  if (!winui::RegisterResourceScript(winui::ThisModule(), script, {}, {}, &why)) {
    if (error) *error = why;
    return nullptr;
  }
  return winui::FindDialogTemplate(winui::ThisModule(), MAKEINTRESOURCE(id));
}

TEST(ResourceScriptParseTest, StatementsGetRcDefaultStylesAndNotRemovesThem) {
  const winui::DialogTemplate* d = Register(R"(
600 DIALOG 10, 20, 100, 50
CAPTION "Plain"
BEGIN
  LTEXT "Left", 1, 0, 0, 10, 8
  RTEXT "Right", 2, 0, 0, 10, 8, SS_SUNKEN
  EDITTEXT 3, 0, 0, 10, 8, ES_RIGHT | NOT WS_BORDER | NOT WS_TABSTOP
  PUSHBUTTON "Push", 4, 0, 0, 10, 8, WS_DISABLED
  CONTROL "Custom", 5, "RangeWidget", WS_TABSTOP | 0x10, 1, 2, 3, 4, WS_EX_STATICEDGE
  CONTROL "Hidden", 6, "Button", BS_AUTOCHECKBOX | NOT WS_VISIBLE, 0, 0, 10, 8
  ICON 7, 8, 5, 5
END
)",
                                            600);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION) << "DIALOG defaults, and CAPTION adds one";
  EXPECT_EQ(d->x, 10);
  EXPECT_EQ(d->caption, "Plain");
  ASSERT_EQ(d->items.size(), 7u);
  EXPECT_EQ(d->items[0].style, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT);
  EXPECT_EQ(d->items[1].style, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_RIGHT | SS_SUNKEN);
  EXPECT_EQ(d->items[2].style, WS_CHILD | WS_VISIBLE | ES_RIGHT);
  EXPECT_EQ(d->items[2].className, "Edit");
  EXPECT_EQ(d->items[3].style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON);
  EXPECT_EQ(d->items[4].className, "RangeWidget");
  EXPECT_EQ(d->items[4].style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x10u);
  EXPECT_EQ(d->items[4].exStyle, WS_EX_STATICEDGE);
  EXPECT_EQ(d->items[4].cy, 4);
  EXPECT_EQ(d->items[5].style & WS_VISIBLE, 0u);
  EXPECT_EQ(d->items[6].text, "#7") << "an icon named by number";
  EXPECT_EQ(d->items[6].style & SS_TYPEMASK, SS_ICON);
}

TEST(ResourceScriptParseTest, PreprocessorChoosesBranchesAndSkipsOtherResources) {
  const winui::DialogTemplate* d = Register(R"(
#define WIDE
#define IDD_PICK (601)
#if defined(WIDE) && !defined(NARROW)
#define PICK_WIDTH 200
#else
#define PICK_WIDTH 50
#endif
/* a comment */ // and another
1 VERSIONINFO
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    VALUE "x", "y"
  END
END
STRINGTABLE
BEGIN
  1 "one"
END
IDD_PICK DIALOGEX 0, 0, PICK_WIDTH, 10
STYLE WS_CHILD | DS_CONTROL
FONT 9, "Arial", 700, 1, 0
{
  CTEXT "Say ""hi""", -1, 0, 0, 10, 8
}
)",
                                            601);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->cx, 200);
  EXPECT_EQ(d->style, WS_CHILD | DS_CONTROL | DS_SETFONT);
  EXPECT_EQ(d->fontFace, "Arial");
  EXPECT_EQ(d->fontPointSize, 9);
  EXPECT_EQ(d->fontWeight, 700);
  EXPECT_TRUE(d->fontItalic);
  ASSERT_EQ(d->items.size(), 1u);
  EXPECT_EQ(d->items[0].text, "Say \"hi\"");
  EXPECT_EQ(d->items[0].id, -1);
}

TEST(ResourceScriptParseTest, MistakesAreReportedAndRegisterNothing) {
  std::string error;
  EXPECT_EQ(Register("602 DIALOG 0, 0, 10\nBEGIN\nEND\n", 602, &error), nullptr);
  EXPECT_NE(error.find(":1:"), std::string::npos) << error;
  EXPECT_EQ(Register("#if 1\n603 DIALOG 0,0,1,1\nBEGIN\nEND\n", 603, &error), nullptr);
  EXPECT_NE(error.find("#endif"), std::string::npos) << error;
  EXPECT_EQ(Register("604 DIALOG 0,0,1,1\nCAPTION \"open\nBEGIN\nEND\n", 604, &error), nullptr);
  EXPECT_NE(error.find("unterminated"), std::string::npos) << error;
  EXPECT_EQ(Register("605 DIALOG 0,0,1,1\nBEGIN\n  LTEXT \"x\", UNKNOWN_ID, 0, 0, 1, 1\nEND\n", 605, &error), nullptr);
  EXPECT_NE(error.find("UNKNOWN_ID"), std::string::npos) << error;
  EXPECT_EQ(Register("606 DIALOG 0,0,1,1\nBEGIN\n  LTEXT \"x\", 1, 0, 0, 1, 1\n", 606, &error), nullptr);
  EXPECT_NE(error.find("END"), std::string::npos) << error;
  std::vector<std::uint8_t> notAnIcon = {'G', 'I', 'F', '8'};
  EXPECT_FALSE(winui::RegisterIcon(winui::ThisModule(), 607, notAnIcon, &error));
  EXPECT_FALSE(winui::HasIcon(winui::ThisModule(), MAKEINTRESOURCE(607)));
}

}  // namespace
