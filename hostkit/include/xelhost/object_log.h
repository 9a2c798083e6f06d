// The pseudo-colour object's log as xelimg shows it: echoed on stderr, details included, when the user
// asked for it. What a host decides on (an automatic window not found, say) it reads from the object's
// parameters, never from these lines.
#pragma once

#include <xelfw/Logger.h>
#include <xelhost/framework_types.h>

#include <string>

namespace xelhost {

class ObjectLog final : public xelfw::Logger {
 public:
  explicit ObjectLog(bool echo);

 protected:
  void Write(UINT level, const std::string& line) override;

 private:
  bool m_Echo;
};

}  // namespace xelhost
