// Message boxes without anybody to answer them: recorded for whoever looks, answered with the
// default button.
#include <winui/screen.h>

#include <mutex>

namespace winui {
namespace {
std::mutex g_mutex;
std::vector<ShownMessageBox> g_shown;
}  // namespace

std::vector<ShownMessageBox> ShownMessageBoxes() {
  std::lock_guard lock(g_mutex);
  return g_shown;
}

void ClearShownMessageBoxes() {
  std::lock_guard lock(g_mutex);
  g_shown.clear();
}

}  // namespace winui

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  {
    std::lock_guard lock(winui::g_mutex);
    winui::g_shown.push_back({owner, text ? text : "", caption ? caption : "Error", type});
  }
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return IDYES;
    default:
      return IDOK;
  }
}
