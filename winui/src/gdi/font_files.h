// Which font file stands in for a Windows face name.
#pragma once

#include <winui/wingdi.h>

#include <string>

namespace winui::gdi {

// "Liberation Sans", "Liberation Mono" or "Liberation Serif": the metric-compatible stand-in for
// the face (and, for unknown faces, the pitch and family) a LOGFONT asks for.
std::string StandInFamily(const LOGFONT& font);

// The file of `family` in the wanted style, through fontconfig, else the Debian font folders.
// Empty, and a message in *error, when there is none.
std::string FindFontFile(const std::string& family, bool bold, bool italic, std::string* error);

}  // namespace winui::gdi
