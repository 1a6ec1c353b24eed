// The counter beside the allocator entry points that call it. The runtime's code is told by the
// file that dladdr names for an address, the executable's lies between the linker's
// __executable_start and etext.
#include "bench/AllocationCounter.h"

#include <dlfcn.h>  // dladdr
#include <execinfo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" {
extern const char __executable_start[];
extern const char etext[];
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
}

namespace {
AllocationCount tally;
thread_local bool counting = false;

// Code of the C library, the C++ library or the unwinder.
bool InRuntime(const void* address) {
    Dl_info object;
    if (dladdr(address, &object) == 0 || object.dli_fname == nullptr) {
        return false;
    }
    for (const char* runtime : {"/libc.so", "/libstdc++.so", "/libgcc_s.so"}) {
        if (std::strstr(object.dli_fname, runtime) != nullptr) {
            return true;
        }
    }
    return false;
}

bool InExecutable(const void* address) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    return at >= reinterpret_cast<uintptr_t>(__executable_start) &&
           at < reinterpret_cast<uintptr_t>(etext);
}

// Called by the allocator entry points with their caller. A caller in the runtime (operator
// new, strdup, std::string) allocates for someone else: the backtrace names the first caller
// outside it.
[[maybe_unused]] __attribute__((noinline)) void Count(const void* caller) {
    if (!counting) {
        return;
    }
    counting = false;  // what the count itself allocates is not counted
    ++tally.all;
    if (InRuntime(caller)) {
        void* frames[64];
        void** const end = frames + backtrace(frames, 64);
        void** const outside = std::find_if_not(std::find(frames, end, caller), end, InRuntime);
        caller = outside != end ? *outside : nullptr;
    }
    tally.own += InExecutable(caller) ? 1 : 0;
    counting = true;
}
}  // namespace

#if TAVIK_COUNT_ALLOCATIONS == 1
extern "C" {
void* malloc(size_t size) {
    Count(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_realloc(pointer, size);
}
}
#endif

bool PrepareAllocationCounter() {
    // The first backtrace loads the unwinder, which allocates: done before any counting.
    void* frames[4];
    backtrace(frames, 4);
    // strdup allocates inside the C library: the count must follow the backtrace out of it
    // to this function. Called through a volatile pointer that the compiler cannot leave out.
    char* (*volatile duplicate)(const char*) = strdup;
    CountAllocations(true);
    char* copy = duplicate("through the C library");
    CountAllocations(false);
    std::free(copy);
    const AllocationCount counted = TakeAllocationCount();
    return !kAllocationsCounted || (counted.own == 1 && counted.all == 1);
}

void CountAllocations(bool on) {
    counting = on && kAllocationsCounted;
}

AllocationCount TakeAllocationCount() {
    const AllocationCount counted = tally;
    tally = AllocationCount();
    return counted;
}
