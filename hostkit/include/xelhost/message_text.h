// User text inside messages: a message stays one readable line whatever a file or an argument held.
#pragma once

#include <xelhost/framework_types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace xelhost {

inline constexpr std::size_t kMessageTextBytes = 200;

// The text with control characters (C0, DEL, C1) and bytes that are not UTF-8 written as escapes
// (\n, \t, \x1b, ...), so that nothing in it moves the cursor or recolours the terminal; cut after
// about maxBytes of the original, on a character boundary, with "…" marking the cut.
std::string PrintableText(std::string_view text, std::size_t maxBytes = kMessageTextBytes);

// PrintableText in single quotes, as messages name what the user gave.
std::string QuoteForMessage(std::string_view text);

}  // namespace xelhost
