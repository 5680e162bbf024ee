#include "guilib/controls/OXLibraryResources.h"

#include "platform/user/Resources.h"

extern const unsigned char guilib_tools28022_png[];
extern const size_t guilib_tools28022_png_size;
extern const unsigned char guilib_preview27261_png[];
extern const size_t guilib_preview27261_png_size;
extern const unsigned char guilib_splitter30980_png[];
extern const size_t guilib_splitter30980_png_size;

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

const char* const kCustomizeTexts[] = {"Delete", "Appearance...", "Put Separator Before", "Put Separator After",
                                       "Recently Used"};

const char* const kToolbarTexts[] = {"Delete",     "Button Appearance...", "Image Only", "Image and Text",
                                     "Put Separator Before", "Put Separator After"};

class LibraryResources : public ResourceModule {
public:
    const char* FindString(UINT id) const override {
        if (id == IDS_OX_BMPFILEFILTER)
            return "Bitmap file (*.bmp;*.dib)|*.bmp; *.dib||";
        if (id >= IDS_OX_CUSTOMIZE_DELETE && id <= IDS_OX_CUSTOMIZE_RECENTLY_USED)
            return kCustomizeTexts[id - IDS_OX_CUSTOMIZE_DELETE];
        if (id >= IDS_OX_TOOLBAR_DELETE && id <= IDS_OX_TOOLBAR_SEPARATOR_AFTER)
            return kToolbarTexts[id - IDS_OX_TOOLBAR_DELETE];
        if (id >= IDS_OX_COLOR_FIRST && id <= IDS_OX_COLOR_LAST)
            return kColorNames[id - IDS_OX_COLOR_FIRST];
        switch (id) {
            case ID_OX_HISTORY_COMBO_NEW: return "Add a new item\nAdd";
            case ID_OX_HISTORY_COMBO_DELETE: return "Delete this item\nDelete (Delete)";
            case ID_OX_HISTORY_COMBO_BROWSE: return "Browse for a file\nBrowse";
            case ID_OX_HISTORY_COMBO_RESERVED_1: return "Reserved 1\nReserved";
            case ID_OX_HISTORY_COMBO_RESERVED_2: return "Reserved 2\nReserved";
            case IDS_OX_MENUBAR_DELETE: return "Delete";
            case IDS_OX_MENUBAR_APPEARANCE: return "Button Appearance...";
            case 26973: return "Preview";
            case 26974: return "Preview selected file";
            default: return nullptr;
        }
    }
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate historyTools{
            IDR_OX_HISTORY_COMBO_TOOLS, 16, 15,
            {ID_OX_HISTORY_COMBO_NEW, ID_OX_HISTORY_COMBO_DELETE, ID_OX_HISTORY_COMBO_BROWSE,
             ID_OX_HISTORY_COMBO_RESERVED_1, ID_OX_HISTORY_COMBO_RESERVED_2}};
        return id == IDR_OX_HISTORY_COMBO_TOOLS ? &historyTools : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource historyTools{IDR_OX_HISTORY_COMBO_TOOLS, guilib_tools28022_png,
                                                 guilib_tools28022_png_size};
        static const BitmapResource previewButton{27261, guilib_preview27261_png, guilib_preview27261_png_size};
        return id == IDR_OX_HISTORY_COMBO_TOOLS ? &historyTools : id == 27261 ? &previewButton : nullptr;
    }
    const BitmapResource* FindCursor(UINT id) const override {
        static const BitmapResource splitter{IDC_OX_SPLITTER_CURSOR, guilib_splitter30980_png,
                                             guilib_splitter30980_png_size};
        return id == IDC_OX_SPLITTER_CURSOR ? &splitter : nullptr;
    }
};

}  // namespace

HINSTANCE OXGetLibraryResourceHandle() {
    static LibraryResources module;
    static const bool registered = (AddResourceModule(&module), true);
    (void)registered;
    return reinterpret_cast<HINSTANCE>(&module);
}
