// The counter beside the allocator entry points that call it. The runtime's code is found once
// through dl_iterate_phdr, the executable's between the linker's __executable_start and etext.
#include "tools/AllocationCounter.h"

#include <execinfo.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

extern "C" {
extern const char __executable_start[];
extern const char etext[];
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
}

namespace {
constexpr bool kCounted = TAVIK_COUNT_ALLOCATIONS == 1;  // 0 in sanitizer builds

// The code of the C library, the C++ library and the unwinder: [begin, end) ranges.
std::vector<std::pair<uintptr_t, uintptr_t>> runtimeCode;
AllocationCount tally;
thread_local bool counting = false;

bool InRuntime(const void* address) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    return std::any_of(runtimeCode.begin(), runtimeCode.end(),
                       [at](const auto& code) { return at >= code.first && at < code.second; });
}

bool InExecutable(const void* address) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    return at >= reinterpret_cast<uintptr_t>(__executable_start) &&
           at < reinterpret_cast<uintptr_t>(etext);
}

int NoteRuntimeCode(dl_phdr_info* info, size_t, void*) {
    const std::string name = info->dlpi_name;
    const bool runtime = name.find("/libc.so") != std::string::npos ||
                         name.find("/libstdc++.so") != std::string::npos ||
                         name.find("/libgcc_s.so") != std::string::npos;
    for (int i = 0; runtime && i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0) {
            const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
            runtimeCode.emplace_back(begin, begin + segment.p_memsz);
        }
    }
    return 0;
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

bool AllocationsCounted() {
    return kCounted;
}

bool PrepareAllocationCounter() {
    dl_iterate_phdr(NoteRuntimeCode, nullptr);
    // The first backtrace loads the unwinder, which allocates: done before any counting.
    void* frames[4];
    backtrace(frames, 4);
    // Called through volatile pointers so that the compiler cannot leave them out.
    void* (*volatile allocate)(size_t) = std::malloc;
    char* (*volatile duplicate)(const char*) = strdup;
    CountAllocations(true);
    void* direct = allocate(16);
    char* copy = duplicate("through the C library");
    CountAllocations(false);
    std::free(direct);
    std::free(copy);
    const AllocationCount counted = TakeAllocationCount();
    return !kCounted || (counted.own == 2 && counted.all == 2);
}

void CountAllocations(bool on) {
    counting = on && kCounted;
}

AllocationCount TakeAllocationCount() {
    const AllocationCount counted = tally;
    tally = AllocationCount();
    return counted;
}
