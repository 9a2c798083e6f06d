// The plug-in's texts are 8-bit Windows-1252; terminals want UTF-8. The conversion is the framework's.
#pragma once

#include <xelfw/TextEncoding.h>

namespace xelimg {

using xelfw::Cp1252ToUtf8;

}  // namespace xelimg
