// The counter lives beside the allocator entry points it is called from: a backtrace taken
// in CountAllocation has the entry point as its second frame and the caller as its third.
#include "tools/AllocationCounter.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef TAVIK_COUNT_ALLOCATIONS
constexpr bool kCountAllocations = true;
#else
constexpr bool kCountAllocations = false;
#endif

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {
constexpr int kMaxObjects = 32;
constexpr int kMaxSites = 8;

struct ObjectCount {
    const char* name;  // the loader's own string, valid for the object's lifetime
    long count;
};

struct AllocationLedger {
    bool counting = false;
    pthread_t mainThread{};
    const char* programName = nullptr;
    ObjectCount objects[kMaxObjects] = {};
    int objectCount = 0;
    long unattributed = 0;
    void* ownSites[kMaxSites] = {};
    int siteCount = 0;
};

AllocationLedger ledger;
thread_local bool insideCounter = false;

bool IsRuntime(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash == nullptr ? path : slash + 1;
    static const char* const kRuntime[] = {"libc.so", "libstdc++.so", "libgcc_s.so",
                                           "libm.so", "ld-linux",     "libpthread.so"};
    for (const char* prefix : kRuntime) {
        if (std::strncmp(name, prefix, std::strlen(prefix)) == 0) {
            return true;
        }
    }
    return false;
}

void Charge(const char* object) {
    for (int i = 0; i < ledger.objectCount; ++i) {
        if (ledger.objects[i].name == object || std::strcmp(ledger.objects[i].name, object) == 0) {
            ++ledger.objects[i].count;
            return;
        }
    }
    if (ledger.objectCount < kMaxObjects) {
        ledger.objects[ledger.objectCount++] = ObjectCount{object, 1};
    } else {
        ++ledger.unattributed;
    }
}

// Called from the allocator entry points only. Frame 0 of the backtrace is this function,
// frame 1 the entry point, frame 2 its caller.
[[maybe_unused]] __attribute__((noinline)) void CountAllocation() {
    if (!ledger.counting || insideCounter || !pthread_equal(pthread_self(), ledger.mainThread)) {
        return;
    }
    insideCounter = true;
    void* frames[64];
    const int depth = backtrace(frames, 64);
    bool charged = false;
    for (int i = 2; i < depth && !charged; ++i) {
        Dl_info info;
        // The return address minus one lies inside the calling instruction.
        if (dladdr(static_cast<char*>(frames[i]) - 1, &info) == 0 || info.dli_fname == nullptr) {
            continue;
        }
        if (IsRuntime(info.dli_fname)) {
            continue;
        }
        Charge(info.dli_fname);
        if (std::strcmp(info.dli_fname, ledger.programName) == 0 && ledger.siteCount < kMaxSites) {
            ledger.ownSites[ledger.siteCount++] = frames[i];
        }
        charged = true;
    }
    if (!charged) {
        ++ledger.unattributed;
    }
    insideCounter = false;
}
}  // namespace

bool AllocationsCounted() {
    return kCountAllocations;
}

bool PrepareAllocationCounter() {
    ledger.mainThread = pthread_self();
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&PrepareAllocationCounter), &info) == 0) {
        return false;
    }
    ledger.programName = info.dli_fname;
    // The first backtrace loads the unwinder, which allocates: done before any counting.
    void* frames[4];
    backtrace(frames, 4);
    if (!kCountAllocations) {
        return true;
    }
    // Called through volatile pointers so that the compiler cannot leave them out.
    void* (*volatile allocate)(size_t) = std::malloc;
    void* (*volatile allocateObject)(size_t) = ::operator new;
    ledger.counting = true;
    void* direct = allocate(16);
    void* throughNew = allocateObject(16);
    ledger.counting = false;
    std::free(direct);
    ::operator delete(throughNew);
    const bool charged = ledger.objectCount == 1 && ledger.objects[0].count == 2;
    ledger.objectCount = 0;
    return charged;
}

void CountAllocations(bool on) {
    ledger.counting = on && kCountAllocations;
}

void ClearAllocations() {
    for (int i = 0; i < ledger.objectCount; ++i) {
        ledger.objects[i].count = 0;
    }
    ledger.unattributed = 0;
    ledger.siteCount = 0;
}

AllocationFigures CountedAllocations() {
    AllocationFigures figures;
    for (int i = 0; i < ledger.objectCount; ++i) {
        const ObjectCount& object = ledger.objects[i];
        if (ledger.programName != nullptr && std::strcmp(object.name, ledger.programName) == 0) {
            figures.own += object.count;
        } else if (std::strstr(object.name, "libglut") != nullptr) {
            figures.glut += object.count;
        } else {
            figures.gl += object.count;
        }
    }
    figures.gl += ledger.unattributed;
    return figures;
}

void ReportOwnAllocationSites() {
    for (int i = 0; i < ledger.siteCount; ++i) {
        Dl_info info;
        if (dladdr(ledger.ownSites[i], &info) == 0) {
            continue;
        }
        const size_t offset = static_cast<size_t>(static_cast<char*>(ledger.ownSites[i]) -
                                                  static_cast<char*>(info.dli_fbase));
        std::fprintf(stderr,
                     "  allocation from the demo's code at %s+0x%zx (addr2line -fCe %s 0x%zx)\n",
                     info.dli_fname, offset, info.dli_fname, offset - 1);
    }
}

// ---- The C allocator's entry points, counted ----------------------------------------------

#ifdef TAVIK_COUNT_ALLOCATIONS
extern "C" {
void* malloc(size_t size) {
    CountAllocation();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    CountAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    CountAllocation();
    return __libc_realloc(pointer, size);
}

void free(void* pointer) {
    __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) {
    CountAllocation();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
    CountAllocation();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** pointer, size_t alignment, size_t size) {
    CountAllocation();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    void* memory = __libc_memalign(alignment, size);
    if (memory == nullptr) {
        return ENOMEM;
    }
    *pointer = memory;
    return 0;
}
}
#endif
