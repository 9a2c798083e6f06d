// Which INI section holds an object's settings.
#pragma once

#include <xelfw/IniStore.h>

#include <string>

namespace xelfw {

// The section named like the object (its catalogue name), or the only section of a file that has
// just one, so that a file written for one object reads whatever its section is called.
XEL_HOST_API std::string SettingsSection(const IniStore& store, const std::string& objectName);

}  // namespace xelfw
