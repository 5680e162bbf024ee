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

// A toolbar: the size of its button images and its command ids, 0 for a separator. The images are the
// bitmap of the same id, one image of `width` pixels after the other.
struct ToolbarTemplate {
    UINT id;
    WORD width;
    WORD height;
    std::vector<UINT> items;
};

// A bitmap: the bytes of an image file embedded at build time (PNG).
struct BitmapResource {
    UINT id;
    const unsigned char* data;
    size_t size;
};

class ResourceModule {
public:
    virtual ~ResourceModule() = default;
    virtual const DialogTemplate* FindDialog(UINT /*id*/) const { return nullptr; }
    virtual const char* FindString(UINT /*id*/) const { return nullptr; }
    virtual const MenuTemplate* FindMenu(UINT /*id*/) const { return nullptr; }
    virtual const AcceleratorTemplate* FindAccelerators(UINT /*id*/) const { return nullptr; }
    virtual const ToolbarTemplate* FindToolbar(UINT /*id*/) const { return nullptr; }
    virtual const BitmapResource* FindBitmap(UINT /*id*/) const { return nullptr; }
    // Icons and cursors: image files (PNG with alpha) like bitmaps; a cursor's hot spot is its centre.
    virtual const BitmapResource* FindIcon(UINT /*id*/) const { return nullptr; }
    virtual const BitmapResource* FindCursor(UINT /*id*/) const { return nullptr; }
};

void AddResourceModule(const ResourceModule* module);
void RemoveResourceModule(const ResourceModule* module);
const DialogTemplate* FindDialogTemplate(UINT id);
const MenuTemplate* FindMenuTemplate(UINT id);
const AcceleratorTemplate* FindAcceleratorTemplate(UINT id);
const ToolbarTemplate* FindToolbarTemplate(UINT id);
const BitmapResource* FindBitmapResource(UINT id);
const BitmapResource* FindIconResource(UINT id);
const BitmapResource* FindCursorResource(UINT id);
// A string of the module an instance names (an HINSTANCE that is a registered ResourceModule's address),
// else of the first module that has it.
int LoadString(HINSTANCE instance, UINT id, LPTSTR buffer, int size);
// A 32-bit bitmap decoded from the bitmap resource `name` (an id), or null when there is none or its
// bytes are not a readable image.
HBITMAP LoadBitmap(HINSTANCE instance, LPCTSTR name);
// The icon or cursor resource `id` decoded with its alpha, or null (ResourceImages.cpp; LoadIcon and
// LoadCursor answer program ids through these, the same handle for every load of an id).
HICON LoadIconResource(UINT id);
HCURSOR LoadCursorResource(UINT id);

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent, DLGPROC proc,
                               LPARAM param);
HWND CreateDialogParam(HINSTANCE instance, LPCTSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParam(HINSTANCE instance, LPCTSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
// The font a dialog template asks for (the system font when none).
HFONT CreateDialogFont(const DialogTemplate* tmpl);
