// A bare top-level window that hosts controls under test and records what they tell it.
#pragma once

#include <winui/afxwin.h>
#include <winui/screen.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ControlsTest : public ::testing::Test {
 protected:
  struct Notification {
    int id;
    WORD code;
  };

  static constexpr int kParentX = 40;
  static constexpr int kParentY = 30;

  void SetUp() override {
    static const bool registered = [] {
      WNDCLASS wc;
      wc.lpfnWndProc = &ParentProc;
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = "ControlsTestParent";
      return RegisterClass(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent_ = CreateWindowEx(0, "ControlsTestParent", "", WS_POPUP | WS_VISIBLE, kParentX, kParentY, 420, 300, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    SetWindowLongPtr(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  void TearDown() override {
    DestroyWindow(parent_);
    winui::PumpMessages();
  }

  HWND Make(LPCSTR className, LPCSTR text, DWORD style, RECT rc, int id, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowEx(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << className;
    return hwnd;
  }

  // Notification codes one control sent, oldest first; forgets them.
  std::vector<WORD> TakeCodes(int id) {
    std::vector<WORD> codes;
    std::vector<Notification> rest;
    for (const Notification& n : notifications_) {
      if (n.id == id)
        codes.push_back(n.code);
      else
        rest.push_back(n);
    }
    notifications_ = rest;
    return codes;
  }

  static std::string Text(HWND hwnd) {
    char buffer[256] = {};
    GetWindowText(hwnd, buffer, sizeof buffer);
    return buffer;
  }

  static POINT OnScreen(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
  }

  // Pixel at client (x, y) of a child, as 0x00RRGGBB, from the composed screen.
  static std::uint32_t PixelOf(HWND hwnd, int x, int y) {
    const POINT pt = OnScreen(hwnd, x, y);
    return winui::ComposeScreen().At(pt.x, pt.y);
  }

  static constexpr std::uint32_t Pixel(BYTE r, BYTE g, BYTE b) { return winui::PixelFromColorRef(RGB(r, g, b)); }
  static constexpr std::uint32_t kBlack = 0x000000;
  static constexpr std::uint32_t kWhite = 0xFFFFFF;

  HWND parent_ = nullptr;
  std::vector<Notification> notifications_;
  // When set, WM_CTLCOLORSTATIC answers with this brush and these colours.
  HBRUSH staticBrush_ = nullptr;
  COLORREF staticText_ = 0;
  COLORREF staticBack_ = 0;

 private:
  static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ControlsTest*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (self && message == WM_COMMAND && lParam) {
      self->notifications_.push_back({LOWORD(wParam), HIWORD(wParam)});
      return 0;
    }
    if (self && message == WM_CTLCOLORSTATIC && self->staticBrush_) {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, self->staticText_);
      SetBkColor(dc, self->staticBack_);
      return reinterpret_cast<LRESULT>(self->staticBrush_);
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
};
