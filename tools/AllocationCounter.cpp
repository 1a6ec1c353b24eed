// The counter beside the allocator entry points that call it. The runtime's code is found once
// through dl_iterate_phdr, the executable's between the linker's __executable_start and etext.
#include "tools/AllocationCounter.h"

#include <execinfo.h>
#include <link.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>  // operator new, for the self-check

extern "C" {
extern const char __executable_start[];
extern const char etext[];
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
}

namespace {
#ifdef TAVIK_COUNT_ALLOCATIONS
constexpr bool kCounted = true;
#else
constexpr bool kCounted = false;
#endif
constexpr int kMaxRanges = 16;

struct CodeRange {
    uintptr_t begin;
    uintptr_t end;
    bool Holds(const void* address) const {
        return reinterpret_cast<uintptr_t>(address) - begin < end - begin;
    }
};

const CodeRange kExecutable = {reinterpret_cast<uintptr_t>(__executable_start),
                               reinterpret_cast<uintptr_t>(etext)};
CodeRange runtime[kMaxRanges];
int runtimeRanges = 0;
AllocationCount tally;
thread_local bool counting = false;

bool InRuntime(const void* address) {
    for (int i = 0; i < runtimeRanges; ++i) {
        if (runtime[i].Holds(address)) {
            return true;
        }
    }
    return false;
}

// Notes the code segments of the C library, the C++ library and the unwinder.
int NoteRuntimeCode(dl_phdr_info* info, size_t, void*) {
    const char* slash = std::strrchr(info->dlpi_name, '/');
    const char* name = slash == nullptr ? info->dlpi_name : slash + 1;
    const bool isRuntime = std::strncmp(name, "libc.so", 7) == 0 ||
                           std::strncmp(name, "libstdc++.so", 12) == 0 ||
                           std::strncmp(name, "libgcc_s.so", 11) == 0;
    for (int i = 0; isRuntime && i < info->dlpi_phnum && runtimeRanges < kMaxRanges; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0) {
            const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
            runtime[runtimeRanges++] = CodeRange{begin, begin + segment.p_memsz};
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
        const int depth = backtrace(frames, 64);
        int i = 0;
        while (i < depth && frames[i] != caller) {
            ++i;
        }
        while (i < depth && InRuntime(frames[i])) {
            ++i;
        }
        caller = i < depth ? frames[i] : nullptr;
    }
    tally.own += kExecutable.Holds(caller) ? 1 : 0;
    counting = true;
}
}  // namespace

#ifdef TAVIK_COUNT_ALLOCATIONS
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
    void* (*volatile allocateObject)(size_t) = ::operator new;
    CountAllocations(true);
    void* direct = allocate(16);
    char* copy = duplicate("sixteen letters");
    void* object = allocateObject(16);
    CountAllocations(false);
    std::free(direct);
    std::free(copy);
    ::operator delete(object);
    const AllocationCount counted = TakeAllocationCount();
    return !kCounted || (counted.own == 3 && counted.all == 3);
}

void CountAllocations(bool on) {
    counting = on && kCounted;
}

AllocationCount TakeAllocationCount() {
    const AllocationCount counted = tally;
    tally = AllocationCount();
    return counted;
}
