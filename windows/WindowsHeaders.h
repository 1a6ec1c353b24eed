// windows.h for the Windows build, which includes this header before every source file
// (see CMakeLists.txt beside it). windows.h names its A and W function variants through
// macros, two of which share a name with the demo's own functions (the text overlay's
// DrawText, the status line's FormatMessage); they are taken back here, once, and the
// include guard keeps them away when GL/freeglut.h includes windows.h again.
#pragma once

#include <windows.h>

#undef DrawText
#undef FormatMessage
