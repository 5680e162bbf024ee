#include "guilib/controls/OXLibraryResources.h"

#include "platform/user/Resources.h"

namespace {

const char* const kColorNames[] = {
    "Black",      "Brown",        "Dark Olive Green", "Dark Green",   "Dark Teal",      "Dark blue",
    "Indigo",     "Dark grey",    "Dark red",         "Orange",       "Dark yellow",    "Green",
    "Teal",       "Blue",         "Blue-grey",        "Grey - 60",    "Red",            "Light orange",
    "Lime",       "Sea green",    "Aqua",             "Light blue",   "Violet",         "Grey - 50",
    "Pink",       "Gold",         "Yellow",           "Bright green", "Turquoise",      "Skyblue",
    "Plum",       "Light grey",   "Rose",             "Tan",          "Light yellow",   "Pale green ",
    "Pale turquoise", "Pale blue", "Lavender",        "White",
};
static_assert(sizeof(kColorNames) / sizeof(kColorNames[0]) == IDS_OX_COLOR_LAST - IDS_OX_COLOR_FIRST + 1);

class LibraryResources : public ResourceModule {
public:
    const char* FindString(UINT id) const override {
        if (id == IDS_OX_BMPFILEFILTER)
            return "Bitmap file (*.bmp;*.dib)|*.bmp; *.dib||";
        if (id >= IDS_OX_COLOR_FIRST && id <= IDS_OX_COLOR_LAST)
            return kColorNames[id - IDS_OX_COLOR_FIRST];
        return nullptr;
    }
};

}  // namespace

HINSTANCE OXGetLibraryResourceHandle() {
    static LibraryResources module;
    static const bool registered = (AddResourceModule(&module), true);
    (void)registered;
    return reinterpret_cast<HINSTANCE>(&module);
}
