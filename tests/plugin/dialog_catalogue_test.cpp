#include "hosted_dialog.h"

#include <thread>

namespace {

using hosted_dialog::HostedDialog;

TEST(DialogCatalogueTest, PseudoColorObjectOffersSettingsAndFlaggedScale) {
  plugin_host::HostedObject object;
  EXPECT_EQ(object->GetNumDialogs(), 2u);
  EXPECT_EQ(object->IsDialogTypeFlag(0), 0u);
  EXPECT_EQ(object->IsDialogTypeFlag(1), 1u);
  EXPECT_EQ(object->IsDialogTypeFlag(2), 0u);
  EXPECT_EQ(object->CreateDialogObject(2, nullptr), nullptr);
}

TEST(DialogCatalogueTest, TemperatureObjectOffersOneDialogForAnyID) {
  plugin_host::HostedObject object(XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  EXPECT_EQ(object->GetNumDialogs(), 1u);
  EXPECT_EQ(object->IsDialogTypeFlag(0), 0u);
  EXPECT_EQ(object->IsDialogTypeFlag(1), 0u);
  CXelImgProcessDlg* dialog = object->CreateDialogObject(5, nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetDlgID(), 0u);
  delete dialog;
}

struct CatalogueEntry {
  UINT objectType;
  UINT dlgID;
  const char* caption;
};

class EveryDialogTest : public testing::TestWithParam<CatalogueEntry> {};

TEST_P(EveryDialogTest, LivesThroughCreateShowRefreshHideDestroy) {
  HostedDialog hosted(GetParam().objectType, GetParam().dlgID);
  ASSERT_NE(hosted.dialog, nullptr);
  ASSERT_TRUE(hosted.created);
  EXPECT_EQ(hosted.dialog->GetDlgID(), GetParam().dlgID);
  std::string caption;
  hosted.dialog->GetWindowText(caption);
  EXPECT_EQ(caption, GetParam().caption);
  EXPECT_TRUE(hosted.dialog->IsWindowVisible());

  // The processing thread asks; the dialog's own thread does the work when it takes its messages.
  std::thread([&] { hosted.dialog->UpdateDialogDisplay(1, 0x7F); }).join();
  winui::PumpMessages();
  EXPECT_TRUE(hosted.dialog->IsWindowVisible());

  hosted.dialog->ShowWindow(SW_HIDE);
  winui::PumpMessages();
  EXPECT_FALSE(hosted.dialog->IsWindowVisible());
  EXPECT_TRUE(hosted.dialog->DestroyWindow());
  EXPECT_EQ(hosted.dialog->GetSafeHwnd(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothObjects, EveryDialogTest,
                         testing::Values(CatalogueEntry{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0, "Pseudo color"},
                                         CatalogueEntry{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1, "Scale"},
                                         CatalogueEntry{XIP_OBJTYPE_TEMPERATURE_DISPLAY, 0, "Temperature"}));

}  // namespace
