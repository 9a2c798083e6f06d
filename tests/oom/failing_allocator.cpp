// Replacements of every global operator new and delete; the program and the plug-in it loads use them.
#include "failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace oom {

namespace {

std::atomic<long> g_Countdown{0};  // 0: disarmed
std::atomic<bool> g_Failed{false};
std::atomic<long> g_Count{0};
std::atomic<long> g_Live{0};

bool ShouldFail() {
  g_Count.fetch_add(1, std::memory_order_relaxed);
  long left = g_Countdown.load(std::memory_order_relaxed);
  while (left > 0) {
    if (g_Countdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) {
      if (left == 1) {
        g_Failed = true;
        return true;
      }
      return false;
    }
  }
  return false;
}

void* Allocate(std::size_t size, std::size_t alignment) {
  if (ShouldFail()) return nullptr;
  if (size == 0) size = 1;
  void* block = alignment > alignof(std::max_align_t)
                    ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                    : std::malloc(size);
  if (block != nullptr) g_Live.fetch_add(1, std::memory_order_relaxed);
  return block;
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  void* block = Allocate(size, alignment);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  g_Live.fetch_sub(1, std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void FailAllocation(long nth) {
  g_Failed = false;
  g_Count = 0;
  g_Countdown = nth;
}
void Disarm() { g_Countdown = 0; }
bool Failed() { return g_Failed; }
long AllocationCount() { return g_Count; }
void ResetCount() { g_Count = 0; }
long LiveBlocks() { return g_Live; }

}  // namespace oom

constexpr std::size_t kPlain = alignof(std::max_align_t);

void* operator new(std::size_t size) { return oom::AllocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return oom::AllocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, std::align_val_t a) {
  return oom::AllocateOrThrow(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
  return oom::AllocateOrThrow(size, static_cast<std::size_t>(a));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return oom::Allocate(size, kPlain); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return oom::Allocate(size, kPlain); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return oom::Allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return oom::Allocate(size, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { oom::Release(p); }
void operator delete[](void* p) noexcept { oom::Release(p); }
void operator delete(void* p, std::size_t) noexcept { oom::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { oom::Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { oom::Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { oom::Release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { oom::Release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { oom::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { oom::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { oom::Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { oom::Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { oom::Release(p); }
