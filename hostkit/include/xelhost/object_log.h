// The pseudo-colour object's log as xelimg listens to it: echoed on stderr when the user asked for
// it, and watched for the object's word that it found no automatic window.
#pragma once

#include <xelhost/framework_types.h>
#include <xelfw/Logger.h>

#include <optional>
#include <string>

namespace xelhost {

class ObjectLog final : public xelfw::Logger {
 public:
  explicit ObjectLog(bool echo);

  // Why the last frame found no automatic window (the object's failure line), or nothing when it
  // found one or was not asked to; clears what it reports.
  std::optional<std::string> TakeWindowFailure();

 protected:
  void Write(UINT level, const std::string& line) override;

 private:
  bool m_Echo;
  std::string m_LastFailure;  // the last plain line that was not an entry or exit line
  std::optional<std::string> m_WindowFailure;
};

}  // namespace xelhost
