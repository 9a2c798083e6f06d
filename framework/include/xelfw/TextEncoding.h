// The plug-in's texts are 8-bit Windows-1252 (the unit "°C" is 0xB0 'C'); terminals and Python want UTF-8.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <string>
#include <string_view>

namespace xelfw {

XEL_HOST_API std::string Cp1252ToUtf8(std::string_view text);

}  // namespace xelfw
