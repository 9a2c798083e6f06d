// The fuzz targets' view of their input: typed values read front to back, zeros once it is used up,
// and the doubles a careless host or a damaged file is most likely to hand over.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}

  template <typename T>
  T Take() {
    T value{};
    const std::size_t n = std::min(sizeof value, m_Size);
    std::memcpy(&value, m_Data, n);
    m_Data += n;
    m_Size -= n;
    return value;
  }
  unsigned Pick(unsigned count) { return Take<std::uint8_t>() % count; }
  bool Empty() const { return m_Size == 0; }

  // Mostly the values that break arithmetic, sometimes ordinary ones, sometimes any bit pattern.
  double TakeHostileDouble() {
    constexpr double kChoices[] = {
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::max(),
        -std::numeric_limits<double>::max(),
        std::numeric_limits<double>::denorm_min(),
        -0.0,
        0.0,
        0.5,
        1.0,
        -1.0,
        2.0,
        1e9,
        -1e9,
        1e-300,
    };
    const unsigned choice = Pick(20);
    if (choice < std::size(kChoices)) return kChoices[choice];
    return Take<double>();
  }

 private:
  const std::uint8_t* m_Data;
  std::size_t m_Size;
};

}  // namespace fuzz
