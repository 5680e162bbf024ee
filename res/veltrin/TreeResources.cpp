#include "res/veltrin/VeltrinResources.h"

#include "res/veltrin/resource.h"

namespace {
class TreeResourceModule : public ResourceModule {};
}  // namespace

const ResourceModule& VeltrinTreeResources() {
    static const TreeResourceModule module;
    return module;
}
