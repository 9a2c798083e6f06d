// Style constants by the names resource scripts use for them.
#pragma once

#include <winui/windef.h>

#include <string>

namespace winui::core {

bool LookUpStyleName(const std::string& name, DWORD* value);

}  // namespace winui::core
