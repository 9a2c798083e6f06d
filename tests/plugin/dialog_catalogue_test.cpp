// What each object's catalogue offers; opening the dialogs is the dialog host's test.
#include "plugin_host.h"

#include <XelImgProcess/CXelImgProcessDlg.h>

namespace {

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

}  // namespace
