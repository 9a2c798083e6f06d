#include "clipboard.h"

#include <mutex>

namespace winui::controls {
namespace {

// Windows' clipboard is one per session and any thread may use it, hence the lock.
std::mutex& ClipboardMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& ClipboardContents() {
  static std::string contents;
  return contents;
}

}  // namespace

void SetClipboardText(std::string text) {
  std::lock_guard lock(ClipboardMutex());
  ClipboardContents() = std::move(text);
}

std::string ClipboardText() {
  std::lock_guard lock(ClipboardMutex());
  return ClipboardContents();
}

}  // namespace winui::controls
