// Text between the plug-in's 8-bit Windows-1252 (the unit "°C" is 0xB0 'C') and the UTF-8 that
// terminals, JSON and most editors use.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <optional>
#include <string>
#include <string_view>

namespace xelfw {

XEL_HOST_API std::string Cp1252ToUtf8(std::string_view text);

// Nothing when the text holds a character Windows-1252 cannot write, or is not UTF-8.
XEL_HOST_API std::optional<std::string> Utf8ToCp1252(std::string_view text);

XEL_HOST_API bool IsUtf8(std::string_view text);

// A value from a file that may be either: UTF-8 is converted, other bytes are taken as Windows-1252
// already. Nothing when UTF-8 holds a character Windows-1252 cannot write.
XEL_HOST_API std::optional<std::string> TextToCp1252(std::string_view text);

// Text files as users save them: UTF-8 with or without a byte-order mark, or Windows-1252 when the
// bytes are not UTF-8; line ends CRLF or LF. The result is UTF-8 with the mark removed.
XEL_HOST_API std::string DecodeTextFile(std::string_view bytes);

}  // namespace xelfw
