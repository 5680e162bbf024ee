#include "res/veltrin/VeltrinResources.h"

#include "res/veltrin/resource.h"

namespace {
class PadResourceModule : public ResourceModule {};
}  // namespace

const ResourceModule& VeltrinPadResources() {
    static const PadResourceModule module;
    return module;
}
