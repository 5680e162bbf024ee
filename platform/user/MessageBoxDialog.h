// Message boxes shown as real dialogs: text, icon and buttons in a window of their own.
#pragma once

#include "platform/base/MessageBox.h"

// Runs a modal message box for the call; returns the button chosen.
int ShowMessageBoxDialog(const MessageBoxCall& call);
// Makes PlatformMessageBox show dialogs (a test recorder installed later still takes over).
void InstallMessageBoxDialogPresenter();
