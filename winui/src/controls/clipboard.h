// The clipboard of this process: text only, shared by every edit control.
#pragma once

#include <string>

namespace winui::controls {

void SetClipboardText(std::string text);
std::string ClipboardText();

}  // namespace winui::controls
