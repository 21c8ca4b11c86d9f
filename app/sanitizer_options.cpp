// Linked into every program of a sanitizer build: the first report stops the program, leaks count
// as reports, and the exit status 99 is one the game never uses, so a report in a game binary that
// a test starts cannot pass for the driver's own failure status 1. ASAN_OPTIONS and UBSAN_OPTIONS
// in the environment still override these.
extern "C" const char* __asan_default_options() {
    return "halt_on_error=1:detect_leaks=1:exitcode=99";
}
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1:exitcode=99";
}

// Leaks inside system libraries (the D-Bus client SDL uses to ask about the desktop, the X and GL
// drivers) are theirs, not ours, and they happen even when SDL gives up at once without a display.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libX11.so\nleak:libGLX\nleak:libEGL\nleak:dri.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
