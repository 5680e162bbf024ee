// Accelerator tables: key combinations that become commands, built in code or loaded from a program's
// resources.
#pragma once

#include <vector>

#include "platform/user/User.h"

#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

typedef struct HACCEL__* HACCEL;

// One entry: with FVIRTKEY `key` is a virtual key and FSHIFT, FCONTROL and FALT must match the keys
// held; without it `key` is a character code.
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// An accelerator resource.
struct AcceleratorTemplate {
    UINT id;
    std::vector<ACCEL> entries;
};

// The table of an accelerator resource of the installed modules. Loading one resource twice gives the
// same handle, which lives as long as the process; null when there is none.
HACCEL LoadAccelerators(HINSTANCE instance, LPCTSTR name);
HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
// Copies up to `count` entries; with no buffer, returns the number of entries. 0 for a stale handle.
int CopyAcceleratorTable(HACCEL table, ACCEL* entries, int count);
// A loaded table is not destroyed (other users may hold it); a stale handle fails.
BOOL DestroyAcceleratorTable(HACCEL table);
// A key-down (or a character) that matches an entry is sent to `hwnd` as WM_COMMAND with the command and 1
// in the high word, and TRUE is returned; the first matching entry wins.
int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg);
