// A window manager that takes every window's map request and never maps it, as one still starting
// or stuck under load would. Says "ready" on standard output once it holds the screen.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    // Another window manager already there makes this fail, and Xlib's error handler exits.
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (XEvent event;;) XNextEvent(display, &event);
}
