// A global operator new that fails the N-th allocation after it is armed, and counts what is live.
#pragma once

#include <cstddef>

namespace oom {

// The allocation `nth` (from 1) after this call throws std::bad_alloc (or returns null for the
// nothrow forms); the ones before and after succeed.
void FailAllocation(long nth);
void Disarm();
// Whether the armed failure happened.
bool Failed();
// Allocations made since the last Arm/ResetCount, and blocks live now.
long AllocationCount();
void ResetCount();
long LiveBlocks();

}  // namespace oom
