// The decoded image data one command may hold at once: its inputs, what it makes from them and what
// it writes. Every large allocation draws from the one budget before it is made and gives back when
// it is freed, whichever thread makes it.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelhost/image_io.h>

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kMaxMemoryOption{"max-memory", true};
inline constexpr const char* kMaxMemoryVariable = "XELIMG_MAX_MEMORY";
inline constexpr std::size_t kDefaultMaxMemory = std::size_t{1} << 30;
// What a refusal for want of memory adds to its message.
extern const char* const kLimitHint;

// Bytes with an optional binary suffix: "1073741824", "512K", "512M", "2G" (K, M, G, T: powers of 1024).
// Throws UsageError naming `source` for anything else, zero included.
std::size_t ParseByteSize(std::string_view source, const std::string& text);

// "40000 bytes", "512 KiB", "1024 MiB": whole units where they are exact enough to compare.
std::string ByteSizeText(std::size_t bytes);

// Thread-safe. What is reserved is held until the budget ends (images kept for the whole command);
// what is drawn is held by a lease and comes back with it (a frame in flight).
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t limit) : m_Limit(limit) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;
  // --max-memory, else the environment variable, else the default.
  static MemoryBudget FromArguments(const Arguments& args);

  std::size_t Limit() const { return m_Limit; }
  std::size_t Available() const;
  // Limits for reading one file within what is left.
  xelhost::ReadLimits ReadLimits() const { return {Available(), xelhost::kMaxImageFrames}; }
  // Throws CommandError naming `what` when the bytes do not fit in what is left now.
  void Reserve(std::size_t bytes, const std::string& what);

  // Bytes drawn for a while; given back when the lease ends.
  class Lease {
   public:
    Lease() = default;
    Lease(Lease&& other) noexcept;
    Lease& operator=(Lease&& other) noexcept;
    ~Lease();
    std::size_t Bytes() const { return m_Bytes; }

   private:
    friend class MemoryBudget;
    Lease(MemoryBudget* budget, std::size_t bytes) : m_Budget(budget), m_Bytes(bytes) {}
    MemoryBudget* m_Budget = nullptr;
    std::size_t m_Bytes = 0;
  };

  // Waits while leases of other threads hold what the bytes need, so that frames in flight take turns
  // instead of failing. Throws CommandError naming `what` when the bytes could never fit: more than the
  // limit less what is reserved and `held`, the bytes the caller holds already and would wait with.
  Lease Draw(std::size_t bytes, const std::string& what, std::size_t held = 0);

 private:
  void Return(std::size_t bytes);

  const std::size_t m_Limit;
  mutable std::mutex m_Mutex;
  std::condition_variable m_Returned;
  std::size_t m_Reserved = 0;
  std::size_t m_Drawn = 0;
  bool m_HolderWaits = false;  // a caller that holds a lease is waiting for more
};

// What a frame costs while it is worked on: its decoded bytes and what is made from it.
using FrameCost = std::function<std::size_t(const ImageFileInfo& frame)>;

// The frame a thread works on: every frame decoded on the thread while the object lives (files,
// standard input, streams) draws its cost from the budget before its memory is taken, and the object
// gives it all back when it ends. Frames decoded on threads without one draw nothing.
class FrameCharges {
 public:
  FrameCharges(MemoryBudget& budget, FrameCost cost);
  ~FrameCharges();
  FrameCharges(const FrameCharges&) = delete;
  FrameCharges& operator=(const FrameCharges&) = delete;

  // Called by the decoders before a frame of this size and layout is allocated. Throws CommandError
  // when the frame needs more than the whole limit; waits while other frames hold the budget.
  static void Charge(const ImageFileInfo& frame, const std::string& name);

 private:
  MemoryBudget& m_Budget;
  FrameCost m_Cost;
  std::vector<MemoryBudget::Lease> m_Leases;
  std::size_t m_Held = 0;
  FrameCharges* m_Outer;
};

}  // namespace xelhost
