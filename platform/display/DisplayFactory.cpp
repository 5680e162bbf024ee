#include "platform/display/DisplayFactory.h"

#include <cstdio>
#include <cstdlib>

#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDisplay.h"

namespace {
bool IsSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}
}  // namespace

std::string DisplayNameFromEnvironment() {
    std::string fallback = IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") ? "sdl" : "headless";
    const char* asked = std::getenv("VELTRIN_DISPLAY");
    if (!asked || !*asked)
        return fallback;
    std::string name = asked;
    if (name == "headless" || name == "sdl")
        return name;
    std::fprintf(stderr, "VELTRIN_DISPLAY=%s is not a display (headless or sdl); using %s\n", asked,
                 fallback.c_str());
    return fallback;
}

std::shared_ptr<DisplayBackend> CreateDisplay(const std::string& name, std::string* error) {
    if (name == "headless")
        return std::make_shared<HeadlessDisplay>();
    if (name == "sdl")
        return SdlDisplay::Open(error);
    if (error)
        *error = "no display is called \"" + name + "\"";
    return nullptr;
}

std::string InitDisplayFromEnvironment() {
    std::string name = DisplayNameFromEnvironment();
    std::string error;
    std::shared_ptr<DisplayBackend> display = CreateDisplay(name, &error);
    if (!display) {
        std::fprintf(stderr, "The %s display cannot start (%s); running without showing windows\n",
                     name.c_str(), error.c_str());
        display = std::make_shared<HeadlessDisplay>();
    }
    SetDisplayBackend(display);
    return display->Name();
}
