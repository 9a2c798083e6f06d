// Resources compiled into the program by the build are there before main runs.
#include "core_resource.h"

#include <winui/resources.h>
#include <winui/winuser.h>

#include <gtest/gtest.h>

TEST(BuiltResourcesTest, TemplatesFromTheBuildAreRegisteredForThisModule) {
  const winui::DialogTemplate* dialog = winui::FindDialogTemplate(winui::ThisModule(), MAKEINTRESOURCE(IDD_BUILT));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->caption, "Built");
  ASSERT_EQ(dialog->items.size(), 1u);
  EXPECT_EQ(dialog->items[0].id, IDC_BUILT_EDIT);
  EXPECT_EQ(dialog->items[0].style & WS_TABSTOP, 0u) << "NOT takes a default style away";
  EXPECT_EQ(dialog->items[0].style & (WS_CHILD | WS_VISIBLE | WS_BORDER), WS_CHILD | WS_VISIBLE | WS_BORDER);
}
