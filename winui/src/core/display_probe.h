// Whether the X display that DISPLAY names answers, asked with a deadline: a display host that does
// not answer would otherwise keep the first connection attempt waiting for minutes.
#pragma once

#include <string>

namespace winui::core {

// True when the display's server (local socket or TCP) answers a connection set-up within timeoutMs;
// otherwise false and the reason in *why.
bool DisplayAnswers(const std::string& display, int timeoutMs, std::string* why);

}  // namespace winui::core
