// Choosing and installing the display a program runs on.
#pragma once

#include <memory>
#include <string>

#include "platform/user/Display.h"

// The display the environment asks for: VELTRIN_DISPLAY ("headless" or "sdl"); without it, `sdl`
// when a desktop is there ($DISPLAY or $WAYLAND_DISPLAY), else `headless`. Another value is
// reported on standard error and the default is used.
std::string DisplayNameFromEnvironment();
// A display by name; null, with the reason in `error`, when it cannot start or is unknown.
std::shared_ptr<DisplayBackend> CreateDisplay(const std::string& name, std::string* error);
// Installs the display the environment asks for, with the calling thread as its thread. When
// `sdl` cannot start, says why on standard error and runs on `headless`. Returns the name of the
// display installed.
std::string InitDisplayFromEnvironment();
