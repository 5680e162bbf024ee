// Veltrin's resource tables; the program installs them with AddResourceModule at start-up. Each area of the
// program (frame and application, log tree and report view, output pad) keeps its own module.
#pragma once

#include "platform/user/Resources.h"

const ResourceModule& VeltrinResources();
const ResourceModule& VeltrinFrameResources();
const ResourceModule& VeltrinTreeResources();
const ResourceModule& VeltrinPadResources();
const ResourceModule& VeltrinPrintResources();
const ResourceModule& VeltrinStatsResources();
