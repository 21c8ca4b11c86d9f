// A picture of the window's client area, drawn by the window's own drawing code off screen.
#pragma once

#include <string>

#include "form.h"

namespace sinkaway {

// Draws the form at scale 1 (309 x 388 pixels) and saves it as a PNG. False with a message on
// failure.
bool SaveScreenshot(const Form& form, const std::string& path, std::string& error);

}  // namespace sinkaway
