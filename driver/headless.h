// The headless driver: the game run by a script, without a window.
#pragma once

#include <functional>
#include <string>

#include "form.h"
#include "options.h"

namespace sinkaway {

// Draws the form into a picture file; false with a message on failure. The driver has no drawing
// of its own: the program hands it the window's.
using SaveScreenshotFn =
    std::function<bool(const Form& form, const std::string& path, std::string& error)>;

// Returns the exit status: 0 done, 2 script error, 1 any other failure. `saveScreenshot` is needed
// only when the options ask for a screenshot.
int RunHeadless(const HeadlessOptions& options, const SaveScreenshotFn& saveScreenshot = {});

}  // namespace sinkaway
