// Reading one storage unit (8, 16 or 32 bits) of a pixel row, whatever its alignment.
#pragma once

#include <winui/windef.h>

#include <cstdint>
#include <cstring>

namespace xelfw {

inline UINT ReadStorageUnit(const BYTE* address, UINT memBPC) {
  switch (memBPC) {
    case 8:
      return *address;
    case 16: {
      std::uint16_t value;
      std::memcpy(&value, address, sizeof value);
      return value;
    }
    default: {
      std::uint32_t value;
      std::memcpy(&value, address, sizeof value);
      return value;
    }
  }
}

}  // namespace xelfw
