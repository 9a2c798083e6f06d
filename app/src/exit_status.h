// What xelimg's exit status tells its caller.
#pragma once

namespace xelimg {

inline constexpr int kExitOk = 0;
// The work was done and written, but something in it deserves a look (warned about on stderr).
inline constexpr int kExitWarning = 1;
inline constexpr int kExitFailure = 2;

}  // namespace xelimg
