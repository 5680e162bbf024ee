// Termination signals (SIGTERM, SIGINT, SIGHUP) close a program the way its close box does, on any
// display: the settings are saved and workers stopped on the one close path. A second signal while
// that close is under way ends the process at once.
#pragma once

#include <functional>

#include "platform/user/User.h"

// Installs the handlers. The calling thread handles the close: when it next takes a message, it asks
// `mainWindow` for the window to close and posts it WM_SYSCOMMAND SC_CLOSE (after closing the modal
// windows on top of a disabled main window); with no main window it posts the quit message.
void HandleCloseSignals(std::function<HWND()> mainWindow);
// Restores the dispositions the signals had before (for tests).
void StopHandlingCloseSignals();
