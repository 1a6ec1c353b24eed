// tavik-bench's allocation counter: the C allocator's entry points of this program count the
// heap allocations made on the main thread while counting is on, each charged to the
// innermost caller outside the C and C++ runtime: this program (the demo's own code), GLUT,
// or the OpenGL libraries. Builds without TAVIK_COUNT_ALLOCATIONS (sanitizer builds, whose
// runtime owns the allocator) count nothing.
#pragma once

// True when this build counts allocations.
bool AllocationsCounted();

// Sets the counter up on the calling (main) thread, then checks that two allocations made
// here, one directly and one through the C++ runtime's operator new, are both charged to
// this program; false if they are not.
bool PrepareAllocationCounter();

// Counting on or off; on in a build that counts only.
void CountAllocations(bool on);

struct AllocationFigures {
    long own = 0;   // the demo's own code: this program
    long glut = 0;  // the GLUT library
    long gl = 0;    // the OpenGL and GLU libraries, the driver and everything else
};

// Forgets what was counted so far.
void ClearAllocations();
// What was counted since the last clear.
AllocationFigures CountedAllocations();
// Names the places in this program that allocated (up to eight), for addr2line, on stderr.
void ReportOwnAllocationSites();
