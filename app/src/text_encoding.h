// The plug-in's texts are 8-bit Windows-1252 (the unit "°C" is 0xB0 'C'); terminals want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace xelimg {

std::string Cp1252ToUtf8(std::string_view text);

}  // namespace xelimg
