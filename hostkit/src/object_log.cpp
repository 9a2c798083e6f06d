// Echoing the object's log.
#include <xelhost/object_log.h>

#include <cstdio>

namespace xelhost {

ObjectLog::ObjectLog(bool echo) : xelfw::Logger(echo ? XIP_LOG_DETAIL : XIP_LOG_PLAIN), m_Echo(echo) {}

void ObjectLog::Write(UINT /*level*/, const std::string& line) {
  if (m_Echo) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace xelhost
