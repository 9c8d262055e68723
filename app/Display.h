#pragma once

#include <string_view>

// Whether a window can be shown at all, decided before the window toolkit starts: without a
// display the toolkit would abort, so the program says how to start it instead.
namespace quorvel::app {

// An X display or a Wayland display named, or a Qt platform chosen explicitly (offscreen, ...).
// Each argument is the variable's value, or null when it is unset.
bool HasDisplay(const char* display, const char* waylandDisplay, const char* qtPlatform);

inline constexpr std::string_view kNoDisplayMessage =
    "quorvel: no display found; start it on a desktop, or under xvfb-run: xvfb-run ./scripts/run\n";

} // namespace quorvel::app
