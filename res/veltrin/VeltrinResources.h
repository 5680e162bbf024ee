// Veltrin's resource tables; the program installs them with AddResourceModule at start-up.
#pragma once

#include "platform/user/Resources.h"

const ResourceModule& VeltrinResources();
