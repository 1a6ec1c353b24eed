// The clock's counter on Windows: the performance counter and its frequency, which Windows
// fixes at boot (10 MHz on current systems).
#include <windows.h>

#include "shell/Clock.h"

int64_t QueryPerfCounter() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

int64_t QueryPerfFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}
