// Byte-wise arithmetic on eight bytes at a time in a 64-bit word, for the row filters of PNG and the
// byte order of 16-bit samples: fast at any optimisation level, where loops of single bytes stay
// scalar unless the compiler vectorises them.
#pragma once

#include <xelhost/framework_types.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace xelhost::image_io {

namespace lanes {
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
inline constexpr std::uint64_t kHigh = 0x8080808080808080ull;
inline constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;

inline std::uint64_t Load(const BYTE* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}
inline void Store(BYTE* bytes, std::uint64_t word) { std::memcpy(bytes, &word, sizeof word); }
}  // namespace lanes

// out[i] = a[i] + b[i] modulo 256; out may be a.
inline void AddBytes(BYTE* out, const BYTE* a, const BYTE* b, std::size_t count) {
  using namespace lanes;
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const std::uint64_t x = Load(a + i);
    const std::uint64_t y = Load(b + i);
    Store(out + i, ((x & kLow7) + (y & kLow7)) ^ ((x ^ y) & kHigh));
  }
  for (; i < count; ++i) out[i] = static_cast<BYTE>(a[i] + b[i]);
}

// out[i] = a[i] - b[i] modulo 256; out may be a.
inline void SubtractBytes(BYTE* out, const BYTE* a, const BYTE* b, std::size_t count) {
  using namespace lanes;
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const std::uint64_t x = Load(a + i);
    const std::uint64_t y = Load(b + i);
    Store(out + i, ((x | kHigh) - (y & kLow7)) ^ ((x ^ ~y) & kHigh));
  }
  for (; i < count; ++i) out[i] = static_cast<BYTE>(a[i] - b[i]);
}

// Big-endian 16-bit samples into host-order (little-endian) units, shifted right by `shift` (0..15).
inline void BigEndianToUnits(BYTE* out, const BYTE* in, std::size_t samples, unsigned shift) {
  using namespace lanes;
  const std::uint64_t keep = (0xFFFFull >> shift) * 0x0001000100010001ull;
  std::size_t i = 0;
  for (; i + 4 <= samples; i += 4) {
    const std::uint64_t x = Load(in + 2 * i);
    const std::uint64_t swapped = ((x >> 8) & kEvenBytes) | ((x & kEvenBytes) << 8);
    Store(out + 2 * i, (swapped >> shift) & keep);
  }
  for (; i < samples; ++i) {
    const auto value = static_cast<std::uint16_t>(((unsigned{in[2 * i]} << 8) | in[2 * i + 1]) >> shift);
    std::memcpy(out + 2 * i, &value, 2);
  }
}

}  // namespace xelhost::image_io
