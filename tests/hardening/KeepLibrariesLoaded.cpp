// Linked into every program of a sanitizer build only. Mesa's OpenGL drivers are loaded at
// run time and unloaded again before LeakSanitizer looks for leaks at exit (by XCloseDisplay
// and by the GL dispatch library's destructor); their frames in a leak report then have no
// module name, and the suppressions of tests/sanitizer.supp cannot tell them from ours.
// Unloading is skipped instead: every library stays mapped until the process ends.
extern "C" int dlclose(void*) {
    return 0;
}
