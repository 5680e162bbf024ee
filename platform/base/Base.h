// The kernel-level services and framework basics in one include.
#pragma once

#include "platform/base/Types.h"
#include "platform/base/String.h"
#include "platform/base/Object.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Collections.h"
#include "platform/base/Time.h"
#include "platform/base/Sync.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Handles.h"
#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "platform/base/ToolHelp.h"
#include "platform/base/Registry.h"
#include "platform/base/Profile.h"
