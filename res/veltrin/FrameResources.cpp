#include "res/veltrin/VeltrinResources.h"

#include "res/veltrin/resource.h"

namespace {
class FrameResourceModule : public ResourceModule {};
}  // namespace

const ResourceModule& VeltrinFrameResources() {
    static const FrameResourceModule module;
    return module;
}
