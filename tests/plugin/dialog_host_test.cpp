// The framework's dialog host with the real objects: every dialog of both catalogues opened, refreshed
// from a processing thread, closed with the close box and destroyed; placement; the object's own
// shutdown of dialogs a host left open.
#include "plugin_host.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <winui/screen.h>
#include <xelfw/DialogHost.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

using plugin_host::HostedObject;
using xelfw::DialogHost;

constexpr int kPseudoUpperValue = 7006, kScaleUnit = 7019, kTemperature = 7021, kTempUserButton = 7024;

std::string Text(CXelImgProcessDlg* dialog, int id) {
  std::string text;
  dialog->GetDlgItemText(id, text);
  return text;
}

CRect WindowRect(CWnd* window) {
  CRect rect;
  window->GetWindowRect(&rect);
  return rect;
}

// A host that counts the close requests its objects send and answers them with `closeAnswer`.
struct Host {
  explicit Host(UINT type) : object(type), dialogs(*object.object) {
    object.record.SetDlgEventHook([this](CXelImgProcess_0*, UINT event) {
      if (event == XipDlgEvent(XIP_DLG_EVENT_CLOSE_REQUEST, 1)) ++closeRequests;
      return closeAnswer;
    });
  }
  ~Host() { winui::PumpMessages(); }  // messages still queued for the destroyed windows go nowhere

  HostedObject object;
  DialogHost dialogs;
  int closeRequests = 0;
  UINT closeAnswer = 1;
};

struct DialogCase {
  const char* name;
  UINT objectType;
  UINT dlgID;
  const char* caption;
  bool asksBeforeClosing;
  // Changes what the dialog shows, from the thread it runs on (a processing thread here).
  std::function<void(CXelImgProcess_0*, const _TXIP_DIALOG_DATA*)> change;
  int control;
  std::string shows;
};

void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

class EveryHostedDialogTest : public testing::TestWithParam<DialogCase> {};

TEST_P(EveryHostedDialogTest, OpensRefreshesHidesOnCloseAndGoesWithCloseAll) {
  const DialogCase& c = GetParam();
  Host host(c.objectType);
  DialogHost& dialogs = host.dialogs;
  ASSERT_GT(dialogs.Count(), c.dlgID);
  EXPECT_EQ(dialogs.Dialog(c.dlgID), nullptr);

  CXelImgProcessDlg* dialog = dialogs.Open(c.dlgID);
  ASSERT_NE(dialog, nullptr);
  winui::PumpMessages();
  EXPECT_EQ(dialogs.Dialog(c.dlgID), dialog);
  EXPECT_EQ(dialogs.Record(c.dlgID)->pDialog, dialog) << "the object finds its dialog through the record";
  EXPECT_EQ(dialog->GetOwnerClass(), dynamic_cast<CXelImgProcess*>(host.object.object));
  std::string caption;
  dialog->GetWindowText(caption);
  EXPECT_EQ(caption, c.caption);
  EXPECT_TRUE(dialog->IsWindowVisible());
  EXPECT_EQ(dialogs.Record(c.dlgID)->Visible, 1u);
  EXPECT_EQ(dialogs.Open(c.dlgID), dialog) << "an open dialog is not made twice";

  std::thread processing([&] { c.change(host.object.object, dialogs.Record(c.dlgID)); });
  processing.join();
  winui::PumpMessages();
  EXPECT_EQ(Text(dialog, c.control), c.shows);

  const HWND window = dialog->GetSafeHwnd();
  dialogs.Close(c.dlgID);
  winui::PumpMessages();
  EXPECT_FALSE(dialog->IsWindowVisible());
  EXPECT_TRUE(::IsWindow(window)) << "the close box hides; the host decides when the dialog goes";
  EXPECT_EQ(dialogs.Record(c.dlgID)->Visible, 0u);
  EXPECT_EQ(host.closeRequests, c.asksBeforeClosing ? 1 : 0);

  EXPECT_EQ(dialogs.Open(c.dlgID), dialog);
  EXPECT_TRUE(dialog->IsWindowVisible());

  dialogs.CloseAll();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(dialogs.Dialog(c.dlgID), nullptr);
  EXPECT_EQ(dialogs.Record(c.dlgID)->pDialog, nullptr);
  EXPECT_TRUE(XipHasPlacement(dialogs.Record(c.dlgID)->Placement)) << "the window left its place in the record";

  // Opening it again, repainting and closing it gives back every window, pen, brush, font and bitmap.
  const DWORD gdiObjects = GetGuiResources(nullptr, GR_GDIOBJECTS);
  const DWORD windows = GetGuiResources(nullptr, GR_USEROBJECTS);
  ASSERT_NE(dialogs.Open(c.dlgID), nullptr);
  c.change(host.object.object, dialogs.Record(c.dlgID));
  winui::PumpMessages();
  EXPECT_GT(GetGuiResources(nullptr, GR_USEROBJECTS), windows);
  dialogs.CloseAll();
  winui::PumpMessages();
  EXPECT_EQ(GetGuiResources(nullptr, GR_GDIOBJECTS), gdiObjects);
  EXPECT_EQ(GetGuiResources(nullptr, GR_USEROBJECTS), windows);
}

void SetUpperHalf(CXelImgProcess_0* object, const _TXIP_DIALOG_DATA*) {
  plugin_host::SetField(object, plugin_host::kUpper, 0.5);
}

void SetUnitKelvin(CXelImgProcess_0* object, const _TXIP_DIALOG_DATA*) {
  plugin_host::Settings settings = plugin_host::GetSettings(object);
  std::memset(settings.data() + plugin_host::kUnitDesc, 0, settings.size() - plugin_host::kUnitDesc);
  settings[plugin_host::kUnitDesc] = 'K';
  EXPECT_EQ(plugin_host::SetSettings(object, settings), XIP_OK);
}

// The host renames the user button and asks the dialog to show it.
void RenameUserButton(CXelImgProcess_0*, const _TXIP_DIALOG_DATA* record) {
  *record->ppUserButtonTexts[0] = "Hold";
  record->pDialog->UpdateDialogDisplay(XIP_UPDATE_USER_BUTTONS, 0);
}

INSTANTIATE_TEST_SUITE_P(BothObjects, EveryHostedDialogTest,
                         testing::Values(DialogCase{"PseudoColor", XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0, "Pseudo color",
                                                    false, SetUpperHalf, kPseudoUpperValue,
                                                    "110.00 \xB0"
                                                    "C"},  // 20 .. 200 °C by default
                                         DialogCase{"TemperatureScale", XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1, "Scale", true,
                                                    SetUnitKelvin, kScaleUnit, "K"},
                                         DialogCase{"TemperatureDisplay", XIP_OBJTYPE_TEMPERATURE_DISPLAY, 0,
                                                    "Temperature", false, RenameUserButton, kTempUserButton, "Hold"}),
                         [](const testing::TestParamInfo<DialogCase>& test) { return std::string(test.param.name); });

TEST(DialogHostTest, ScaleStaysOpenWhenItsOwnerRefusesTheClose) {
  Host host(XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  CXelImgProcessDlg* scale = host.dialogs.Open(1);
  ASSERT_NE(scale, nullptr);
  host.closeAnswer = 0;
  host.dialogs.Close(1);
  EXPECT_TRUE(scale->IsWindowVisible());
  EXPECT_EQ(host.dialogs.Record(1)->Visible, 1u);
  host.closeAnswer = 1;
  host.dialogs.Close(1);
  EXPECT_FALSE(scale->IsWindowVisible());
  EXPECT_EQ(host.closeRequests, 2);
}

TEST(DialogHostTest, UnknownDialogsAreNeitherMadeNorTouched) {
  Host host(XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  EXPECT_FALSE(host.dialogs.IsTypeFlag(0));
  EXPECT_TRUE(host.dialogs.IsTypeFlag(1));
  EXPECT_EQ(host.dialogs.Record(2), nullptr);
  EXPECT_EQ(host.dialogs.Open(2), nullptr);
  host.dialogs.Show(2);
  host.dialogs.Hide(0);  // not open
  host.dialogs.Close(2);
  EXPECT_EQ(host.dialogs.Dialog(0), nullptr);
}

// The record's Visible word is what a settings export saves for the next session.
TEST(DialogHostTest, HideShowAndTheDialogsOwnCloseButtonKeepTheRecordsVisibleWord) {
  Host host(XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  CXelImgProcessDlg* settings = host.dialogs.Open(0);
  ASSERT_NE(settings, nullptr);
  host.dialogs.Hide(0);
  EXPECT_FALSE(settings->IsWindowVisible());
  EXPECT_EQ(host.dialogs.Record(0)->Visible, 0u);
  host.dialogs.Show(0);
  EXPECT_TRUE(settings->IsWindowVisible());
  EXPECT_EQ(host.dialogs.Record(0)->Visible, 1u);

  winui::PumpMessages();
  winui::InjectClick(WindowRect(settings->GetDlgItem(IDOK)).CenterPoint());
  winui::PumpMessages();
  EXPECT_FALSE(settings->IsWindowVisible());
  EXPECT_EQ(host.dialogs.Record(0)->Visible, 0u);
}

// What a host sees of placement: the record's last place first, then the host's wish, then the
// template's; sizes only for the resizable temperature dialog, and never below its minimum.
class DialogPlacementTest : public testing::Test {
 protected:
  CRect Opened(Host& host, UINT dlgID, const RECT* placement = nullptr) {
    CXelImgProcessDlg* dialog = host.dialogs.Open(dlgID, nullptr, placement);
    EXPECT_NE(dialog, nullptr);
    return dialog != nullptr ? WindowRect(dialog) : CRect();
  }
};

TEST_F(DialogPlacementTest, FixedSizeDialogsTakeOnlyThePosition) {
  Host plain(XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  const CRect natural = Opened(plain, 0);

  Host placed(XIP_OBJTYPE_PSEUDOCOLOR_LUT);
  const RECT wish{200, 150, 260, 170};
  const CRect window = Opened(placed, 0, &wish);
  EXPECT_EQ(window.TopLeft(), CPoint(200, 150));
  EXPECT_EQ(window.Size(), natural.Size());
}

TEST_F(DialogPlacementTest, TheRecordsLastPlaceWinsOverTheHostsWish) {
  Host host(XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  const RECT wish{100, 80, 600, 260};
  EXPECT_EQ(Opened(host, 0, &wish), CRect(wish));
  host.dialogs.Dialog(0)->MoveWindow(40, 30, 450, 200);
  host.dialogs.CloseAll();

  const RECT other{300, 300, 700, 400};
  EXPECT_EQ(Opened(host, 0, &other), CRect(40, 30, 490, 230));
}

TEST_F(DialogPlacementTest, TemperatureDialogKeepsItsSizeForAPositionAndItsMinimumForATinyRect) {
  Host plain(XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  const CRect natural = Opened(plain, 0);

  Host positioned(XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  const RECT corner{70, 90, 70, 90};  // a position without a size
  const CRect window = Opened(positioned, 0, &corner);
  EXPECT_EQ(window.TopLeft(), CPoint(70, 90));
  EXPECT_EQ(window.Size(), natural.Size());

  Host tiny(XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  const RECT cramped{10, 10, 30, 20};
  Opened(tiny, 0, &cramped);
  CRect temperature = WindowRect(tiny.dialogs.Dialog(0)->GetDlgItem(kTemperature));
  EXPECT_EQ(temperature.Width(), 80) << "the window is no narrower than the temperature's minimum";
  EXPECT_GE(temperature.Height(), 15);
}

// A host that made the dialogs itself and deletes the object while they are open: the object's
// shutdown destroys windows and dialog objects (ASan builds find a leak or a late access).
TEST(DialogShutdownTest, DeletingTheObjectDestroysTheDialogsItsRecordsHold) {
  xelfw::InstanceRecord record;
  CXelImgProcess_0* object = plugin_host::Library().CreateInstance(XIP_OBJTYPE_PSEUDOCOLOR_LUT, &record);
  ASSERT_NE(object, nullptr);
  HWND windows[2] = {};
  for (UINT id = 0; id < 2; ++id) {
    CXelImgProcessDlg* dialog = object->CreateDialogObject(id, nullptr);
    ASSERT_NE(dialog, nullptr);
    dialog->SetOwnerClass(dynamic_cast<CXelImgProcess*>(object));
    object->GetDialogDataByDlgID(id)->pDialog = dialog;
    ASSERT_TRUE(dialog->CreateDlg(nullptr));
    dialog->ShowWindow(SW_SHOW);
    windows[id] = dialog->GetSafeHwnd();
  }
  winui::PumpMessages();
  plugin_host::Library().DeleteInstance(object);
  winui::PumpMessages();
  EXPECT_FALSE(::IsWindow(windows[0]));
  EXPECT_FALSE(::IsWindow(windows[1]));
}

}  // namespace
