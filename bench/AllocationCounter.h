// tavik-bench's guard that the demo's own code allocates nothing per frame. While counting is
// on, this program's malloc, calloc and realloc count the calling thread's heap allocations,
// and count one as the demo's own when its innermost caller outside the C and C++ runtime lies
// in this executable's code: the demo is linked in statically, while GLUT (whose tori allocate
// every frame), Mesa and the runtime are shared libraries. Which library allocated what is
// heaptrack's business (see docs/benchmarks.md). Sanitizer builds, whose runtime owns the
// allocator, count nothing.
#pragma once

struct AllocationCount {
    long own = 0;  // the demo's own code
    long all = 0;  // everything, GLUT and the OpenGL libraries included
};

// True when this build counts allocations (TAVIK_COUNT_ALLOCATIONS, 0 in sanitizer builds).
constexpr bool kAllocationsCounted = TAVIK_COUNT_ALLOCATIONS == 1;
// Sets the counter up, then checks that an allocation made here through the C library
// (strdup) counts as own; false if it does not.
bool PrepareAllocationCounter();
// Counting on or off, on the calling thread.
void CountAllocations(bool on);
// What was counted since the last call.
AllocationCount TakeAllocationCount();
