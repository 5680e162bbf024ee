// Resources of a program held as C++ tables: dialog templates in dialog units, strings. A program
// installs its module at start-up; lookups search the installed modules, newest first.
#pragma once

#include <vector>

#include "platform/user/Controls.h"

struct DialogItemTemplate {
    const char* className;  // "Button", "Static", "Edit", PROGRESS_CLASS, or a registered class
    const char* text;
    int id;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* caption;
    const char* fontFace;  // with DS_SETFONT
    WORD pointSize;
    std::vector<DialogItemTemplate> items;
};

struct MenuTemplate;         // Menu.h
struct AcceleratorTemplate;  // Accelerators.h

class ResourceModule {
public:
    virtual ~ResourceModule() = default;
    virtual const DialogTemplate* FindDialog(UINT /*id*/) const { return nullptr; }
    virtual const char* FindString(UINT /*id*/) const { return nullptr; }
    virtual const MenuTemplate* FindMenu(UINT /*id*/) const { return nullptr; }
    virtual const AcceleratorTemplate* FindAccelerators(UINT /*id*/) const { return nullptr; }
};

void AddResourceModule(const ResourceModule* module);
void RemoveResourceModule(const ResourceModule* module);
const DialogTemplate* FindDialogTemplate(UINT id);
const MenuTemplate* FindMenuTemplate(UINT id);
const AcceleratorTemplate* FindAcceleratorTemplate(UINT id);
int LoadString(HINSTANCE instance, UINT id, LPTSTR buffer, int size);

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param);
HWND CreateDialogParam(HINSTANCE instance, LPCTSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParam(HINSTANCE instance, LPCTSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
// The font a dialog template asks for (the system font when none).
HFONT CreateDialogFont(const DialogTemplate* tmpl);
