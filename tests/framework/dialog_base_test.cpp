// The dialog frame as plug-in dialogs use it: refresh requests from other threads, placement kept in
// the dialog record, controls that follow a resize, and dialogs closed with their object.
#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/resources.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

constexpr UINT kTemplate = 9100;
constexpr int kStretchedEdit = 9101;
constexpr int kCornerButton = 9102;

void RegisterTemplate() {
  winui::DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  dialog.cx = 200;
  dialog.cy = 100;
  dialog.caption = "Frame";
  dialog.items.push_back({"Edit", "", kStretchedEdit, WS_CHILD | WS_VISIBLE, 0, 10, 10, 100, 14});
  dialog.items.push_back({"Button", "OK", kCornerButton, WS_CHILD | WS_VISIBLE, 0, 150, 80, 40, 14});
  winui::RegisterDialogTemplate(winui::ThisModule(), kTemplate, dialog);
}

class FrameDialog final : public CXelImgProcessDlg {
 public:
  explicit FrameDialog(std::vector<std::pair<WPARAM, LPARAM>>* refreshes)
      : CXelImgProcessDlg(kTemplate, nullptr), m_pRefreshes(refreshes) {
    m_DlgOptions = XIP_DLG_OPTION_PLACEMENT | XIP_DLG_OPTION_RESIZABLE;
  }
  UINT GetDlgID() override { return 0; }
  BOOL CreateDlg(HWND) override { return Create(kTemplate, nullptr); }
  BOOL OnInitDialog() override {
    CXelImgProcessDlg::OnInitDialog();
    AutoDlgCtrlPlacement(kStretchedEdit, XIP_PLACE_SIZE_X);
    AutoDlgCtrlPlacement(kCornerButton, XIP_PLACE_MOVE_X | XIP_PLACE_MOVE_Y);
    UpdateDlgPos(TRUE);
    return TRUE;
  }
  void SetMinTrackSize(LONG cx, LONG cy) { m_MinTrackSize = POINT{cx, cy}; }

 protected:
  LRESULT OnRefresh(WPARAM hostBits, LPARAM dialogBits) {
    m_pRefreshes->push_back({hostBits, dialogBits});
    return OnUpdateDialogDisplay(hostBits, dialogBits);
  }

 private:
  std::vector<std::pair<WPARAM, LPARAM>>* m_pRefreshes;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FrameDialog, CXelImgProcessDlg)
  ON_MESSAGE(XIP_WM_UPDATE_DIALOG_DISPLAY, OnRefresh)
END_MESSAGE_MAP()

class DialogOwner final : public CXelImgProcess {
 public:
  DialogOwner() : CXelImgProcess(nullptr) { m_pDialogData = &record; }
  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_NONE; }
  UINT GetNumDialogs() override { return 1; }
  using CXelImgProcess::ShutDownDialogs;
  _TXIP_DIALOG_DATA record;
};

void PumpMessages() {
  MSG msg{};
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

RECT ChildRect(CWnd& dialog, int id) {
  RECT r{};
  dialog.GetDlgItem(id)->GetWindowRect(&r);
  dialog.ScreenToClient(&r);
  return r;
}

class DialogBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTemplate();
    dialog = new FrameDialog(&refreshes);
    dialog->SetOwnerClass(&owner);
    owner.record.pDialog = dialog;
  }
  void Create() { ASSERT_TRUE(dialog->CreateDlg(nullptr)); }

  DialogOwner owner;
  FrameDialog* dialog = nullptr;  // the owner's record holds it; ShutDownDialogs deletes it
  std::vector<std::pair<WPARAM, LPARAM>> refreshes;
};

}  // namespace

TEST_F(DialogBaseTest, RefreshRequestsFromOtherThreadsRunOnTheDialogsThread) {
  dialog->UpdateDialogDisplay(1, 2);  // no window yet: dropped
  Create();
  std::thread processing([&] {
    for (UINT_PTR bits = 1; bits <= 3; ++bits) dialog->UpdateDialogDisplay(0, bits);
  });
  processing.join();
  EXPECT_TRUE(refreshes.empty()) << "nothing runs before the dialog's thread pumps";
  PumpMessages();
  EXPECT_EQ(refreshes, (std::vector<std::pair<WPARAM, LPARAM>>{{0, 1}, {0, 2}, {0, 3}}));
  owner.ShutDownDialogs();
}

TEST_F(DialogBaseTest, PlacementComesFromAndReturnsToTheRecord) {
  owner.record.Placement = RECT{40, 30, 400, 260};
  Create();
  RECT window{};
  dialog->GetWindowRect(&window);
  EXPECT_EQ(window.left, 40);
  EXPECT_EQ(window.right, 400);
  dialog->MoveWindow(10, 20, 300, 200);
  dialog->SendMessage(WM_CLOSE);
  EXPECT_FALSE(dialog->IsWindowVisible()) << "closing hides";
  EXPECT_NE(dialog->GetSafeHwnd(), nullptr);
  EXPECT_EQ(owner.record.Placement.left, 10);
  EXPECT_EQ(owner.record.Placement.bottom, 220);
  owner.ShutDownDialogs();
  EXPECT_EQ(owner.record.pDialog, nullptr);
}

TEST_F(DialogBaseTest, RegisteredControlsFollowAResize) {
  Create();
  const RECT edit = ChildRect(*dialog, kStretchedEdit);
  const RECT button = ChildRect(*dialog, kCornerButton);
  RECT window{};
  dialog->GetWindowRect(&window);
  dialog->MoveWindow(window.left, window.top, window.right - window.left + 50, window.bottom - window.top + 20);
  const RECT wider = ChildRect(*dialog, kStretchedEdit);
  const RECT moved = ChildRect(*dialog, kCornerButton);
  EXPECT_EQ(wider.left, edit.left);
  EXPECT_EQ(wider.right, edit.right + 50);
  EXPECT_EQ(wider.bottom, edit.bottom);
  EXPECT_EQ(moved.left, button.left + 50);
  EXPECT_EQ(moved.top, button.top + 20);
  EXPECT_EQ(moved.right - moved.left, button.right - button.left);

  dialog->SetMinTrackSize(250, 150);
  MINMAXINFO info{};
  dialog->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 250);
  EXPECT_EQ(info.ptMinTrackSize.y, 150);
  owner.ShutDownDialogs();
}

TEST_F(DialogBaseTest, FreeControlIdsAvoidTheTemplatesAndEachOther) {
  Create();
  const UINT first = dialog->GetNextFreeCtrlID();
  const UINT second = dialog->GetNextFreeCtrlID();
  EXPECT_NE(first, second);
  EXPECT_EQ(dialog->GetDlgItem(static_cast<int>(first)), nullptr);
  owner.ShutDownDialogs();
}
