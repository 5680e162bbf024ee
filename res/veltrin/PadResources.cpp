#include <cstddef>

#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"

extern const unsigned char pad_notes_margin_png[];
extern const size_t pad_notes_margin_png_size;
extern const unsigned char pad_notes_images_png[];
extern const size_t pad_notes_images_png_size;

namespace {
class PadResourceModule : public ResourceModule {
public:
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource bitmaps[] = {
            {IDB_NOTES_PATTERN, pad_notes_margin_png, pad_notes_margin_png_size},
            {IDB_NOTES_IMAGES, pad_notes_images_png, pad_notes_images_png_size},
        };
        for (const BitmapResource& b : bitmaps)
            if (b.id == id)
                return &b;
        return nullptr;
    }
};
}  // namespace

const ResourceModule& VeltrinPadResources() {
    static const PadResourceModule module;
    return module;
}
