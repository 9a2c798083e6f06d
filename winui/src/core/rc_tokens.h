// A resource script as tokens, after its preprocessor lines have been handled.
#pragma once

#include <winui/resources.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace winui::core {

struct RcToken {
  enum Kind { Identifier, Number, String, Punct } kind;
  std::string text;  // identifiers upper-cased as written; strings unquoted and unescaped
  long value = 0;    // numbers, and identifiers that name a #define'd number
  int line = 0;
};

using RcDefines = std::map<std::string, std::string, std::less<>>;

// Runs #include/#define/#undef/#if(n)def/#if/#elif/#else/#endif and tokenises what remains.
// Includes that `includes` does not supply are skipped (system headers such as windows.h).
bool PreprocessResourceScript(std::string_view script, const std::map<std::string, std::string, std::less<>>& includes,
                              std::vector<RcToken>* tokens, RcDefines* defines, std::string* error);

}  // namespace winui::core
