#include "platform/user/Clipboard.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/base/Utf8.h"
#include "platform/user/Display.h"

namespace {
struct Clipboard {
    std::mutex mutex;
    bool open = false;
    DWORD openThread = 0;
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    bool changed = false;
    std::map<UINT, HGLOBAL> formats;
    // The text last given to, or taken from, the display's clipboard: when the display holds other
    // text, another program has put it there.
    std::string displayText;
};

Clipboard& State() {
    static Clipboard c;
    return c;
}

void FreeAll(Clipboard& c) {
    for (auto& [format, block] : c.formats)
        GlobalFree(block);
    c.formats.clear();
}

// The bytes of a CF_TEXT block: up to its NUL, never past its end.
std::string BlockText(HGLOBAL block) {
    SIZE_T size = GlobalSize(block);
    auto* p = static_cast<const char*>(GlobalLock(block));
    if (!p)
        return std::string();
    std::string text(p, strnlen(p, size));
    GlobalUnlock(block);
    return text;
}

HGLOBAL TextBlock(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (auto* p = static_cast<char*>(GlobalLock(block))) {
        std::memcpy(p, text.data(), text.size());
        p[text.size()] = 0;
        GlobalUnlock(block);
    }
    return block;
}

void ToDisplay(Clipboard& c, const std::string& utf8) {
    DisplayBackend* display = GetDisplayBackend();
    if (display && display->SetClipboardText(utf8))
        c.displayText = utf8;
}

// Takes the display's text when another program has changed it since.
void FromDisplay(Clipboard& c) {
    DisplayBackend* display = GetDisplayBackend();
    std::string text;
    if (!display || !display->GetClipboardText(text) || text == c.displayText)
        return;
    FreeAll(c);
    c.owner = nullptr;
    c.displayText = text;
    if (!text.empty())
        c.formats[CF_TEXT] = TextBlock(text);
}

bool OpenedHere(const Clipboard& c) {
    return c.open && c.openThread == GetCurrentThreadId();
}
}  // namespace

BOOL OpenClipboard(HWND owner) {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    if (c.open && c.openThread != GetCurrentThreadId())
        return FALSE;
    if (owner && !IsWindow(owner))
        return FALSE;
    c.open = true;
    c.openThread = GetCurrentThreadId();
    c.openWindow = owner;
    return TRUE;
}

BOOL CloseClipboard() {
    Clipboard& c = State();
    bool changed;
    {
        std::lock_guard<std::mutex> g(c.mutex);
        if (!OpenedHere(c))
            return FALSE;
        c.open = false;
        c.openWindow = nullptr;
        changed = c.changed;
        c.changed = false;
    }
    if (changed)
        NotifyClipboardListeners();
    return TRUE;
}

BOOL EmptyClipboard() {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    if (!OpenedHere(c))
        return FALSE;
    FreeAll(c);
    c.owner = c.openWindow;
    c.changed = true;
    ToDisplay(c, std::string());
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    // Rendering on request (a null block) is not offered.
    if (!OpenedHere(c) || !data || !format || GlobalSize(data) == 0)
        return nullptr;
    auto it = c.formats.find(format);
    if (it != c.formats.end() && it->second != data)
        GlobalFree(it->second);
    c.formats[format] = data;
    c.changed = true;
    if (format == CF_TEXT)
        ToDisplay(c, TextAsUtf8(BlockText(data)));
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    if (!OpenedHere(c))
        return nullptr;
    FromDisplay(c);
    auto it = c.formats.find(format);
    return it == c.formats.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    FromDisplay(c);
    return c.formats.count(format) != 0;
}

UINT RegisterClipboardFormat(LPCTSTR name) {
    return RegisterWindowMessage(name);
}

HWND GetClipboardOwner() {
    Clipboard& c = State();
    std::lock_guard<std::mutex> g(c.mutex);
    return IsWindow(c.owner) ? c.owner : nullptr;
}
