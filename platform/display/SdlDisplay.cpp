#include "platform/display/SdlDisplay.h"

#include <SDL.h>
#include <SDL_shape.h>
#include <cairo.h>

#include <algorithm>
#include <map>
#include <utility>
#include <mutex>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/WindowRegion.h"

namespace {
struct Win {
    SDL_Window* window = nullptr;
    bool shown = false;
    bool destroyed = false;
    bool dirty = true;                   // state to bring to SDL on the display's thread
    cairo_surface_t* pending = nullptr;  // pixels waiting to be shown
    cairo_surface_t* last = nullptr;     // pixels shown last, for exposures
    bool askMinSize = false;             // the window's minimum tracking size is to be asked for
    bool placePending = false;           // the desktop has yet to report where it put the window
    POINT placeAt{0, 0};                 // where the window was asked to be when shown
    Uint32 shownAt = 0;                  // SDL ticks at the show
    bool shaped = false;                 // an SDL shaped window, for a window with a region
    std::vector<RECT> shapeRects;        // the region last given to SDL, and at which size
    SIZE shapeSize{0, 0};
};

void Release(cairo_surface_t*& s) {
    if (s)
        cairo_surface_destroy(s);
    s = nullptr;
}

void Blit(SDL_Window* window, cairo_surface_t* pixels) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target || !pixels)
        return;
    cairo_surface_flush(pixels);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(pixels), cairo_image_surface_get_width(pixels),
        cairo_image_surface_get_height(pixels), 32, cairo_image_surface_get_stride(pixels),
        SDL_PIXELFORMAT_RGB888);
    if (!source)
        return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(window);
}

// Gives SDL the window's shape as a mask of the window's size: opaque inside the region.
void ApplyShape(SDL_Window* window, const Region& shape, int width, int height) {
    SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA8888);
    if (!mask)
        return;
    SDL_FillRect(mask, nullptr, SDL_MapRGBA(mask->format, 0, 0, 0, 0));
    const Uint32 opaque = SDL_MapRGBA(mask->format, 255, 255, 255, 255);
    for (const RECT& r : shape.Rects()) {
        SDL_Rect inside{(int)r.left, (int)r.top, (int)(r.right - r.left), (int)(r.bottom - r.top)};
        SDL_FillRect(mask, &inside, opaque);
    }
    SDL_WindowShapeMode mode{};
    mode.mode = ShapeModeBinarizeAlpha;
    mode.parameters.binarizationCutoff = 128;
    SDL_SetWindowShape(window, mask, &mode);
    SDL_FreeSurface(mask);
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const RECT& x, const RECT& y) {
               return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
           });
}

WPARAM VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z)
        return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9)
        return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return VK_F1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9)
        return 0x61 + (k - SDLK_KP_1);  // VK_NUMPAD1..
    switch (k) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return VK_END;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_PAUSE:
            return VK_PAUSE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_APPLICATION:
            return 0x5D;  // VK_APPS
        case SDLK_KP_0:
            return 0x60;  // VK_NUMPAD0
        case SDLK_KP_MULTIPLY:
            return 0x6A;
        case SDLK_KP_PLUS:
            return 0x6B;
        case SDLK_KP_MINUS:
            return 0x6D;
        case SDLK_KP_PERIOD:
            return 0x6E;
        case SDLK_KP_DIVIDE:
            return 0x6F;
        case SDLK_SEMICOLON:
            return 0xBA;
        case SDLK_EQUALS:
            return 0xBB;
        case SDLK_COMMA:
            return 0xBC;
        case SDLK_MINUS:
            return 0xBD;
        case SDLK_PERIOD:
            return 0xBE;
        case SDLK_SLASH:
            return 0xBF;
        case SDLK_BACKQUOTE:
            return 0xC0;
        case SDLK_LEFTBRACKET:
            return 0xDB;
        case SDLK_BACKSLASH:
            return 0xDC;
        case SDLK_RIGHTBRACKET:
            return 0xDD;
        case SDLK_QUOTE:
            return 0xDE;
        default:
            return 0;
    }
}

WPARAM MouseKeys() {
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    SDL_Keymod mod = SDL_GetModState();
    WPARAM keys = 0;
    if (buttons & SDL_BUTTON_LMASK)
        keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK)
        keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK)
        keys |= MK_MBUTTON;
    if (mod & KMOD_SHIFT)
        keys |= MK_SHIFT;
    if (mod & KMOD_CTRL)
        keys |= MK_CONTROL;
    return keys;
}

// SDL's own cursor for one of the system's cursor ids.
SDL_SystemCursor SystemCursorOf(uintptr_t id) {
    static const std::pair<uintptr_t, SDL_SystemCursor> kShapes[] = {
        {32513, SDL_SYSTEM_CURSOR_IBEAM},     {32514, SDL_SYSTEM_CURSOR_WAIT},
        {32515, SDL_SYSTEM_CURSOR_CROSSHAIR}, {32642, SDL_SYSTEM_CURSOR_SIZENWSE},
        {32643, SDL_SYSTEM_CURSOR_SIZENESW},  {32644, SDL_SYSTEM_CURSOR_SIZEWE},
        {32645, SDL_SYSTEM_CURSOR_SIZENS},    {32646, SDL_SYSTEM_CURSOR_SIZEALL},
        {32648, SDL_SYSTEM_CURSOR_NO},        {32649, SDL_SYSTEM_CURSOR_HAND},
        {32650, SDL_SYSTEM_CURSOR_WAITARROW},
    };
    for (const auto& [from, to] : kShapes)
        if (from == id)
            return to;
    return SDL_SYSTEM_CURSOR_ARROW;
}

// An SDL cursor for a cursor handle: a system cursor for the standard ids, else the loaded image with its
// hot spot in the centre (the arrow when the handle has no image).
SDL_Cursor* CreateCursor(HCURSOR cursor) {
    uintptr_t id = (uintptr_t)cursor;
    cairo_surface_t* image = id >= 32512 && id <= 32651 ? nullptr : user::IconSurface(cursor);
    if (!image || cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32)
        return SDL_CreateSystemCursor(SystemCursorOf(id));
    cairo_surface_flush(image);
    int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    int stride = cairo_image_surface_get_stride(image);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    // Cairo keeps colours premultiplied by alpha; SDL wants them straight.
    const unsigned char* data = cairo_image_surface_get_data(image);
    for (int y = 0; y < height; ++y) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(data + (size_t)y * (size_t)stride);
        uint32_t* to = reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(surface->pixels) +
                                                   (size_t)y * (size_t)surface->pitch);
        for (int x = 0; x < width; ++x) {
            uint32_t p = from[x], a = p >> 24;
            auto straight = [&](int shift) { return a ? (((p >> shift) & 0xFF) * 255 + a / 2) / a : 0u; };
            to[x] = (a << 24) | (std::min(straight(16), 255u) << 16) | (std::min(straight(8), 255u) << 8) |
                    std::min(straight(0), 255u);
        }
    }
    SDL_Cursor* made = SDL_CreateColorCursor(surface, width / 2, height / 2);
    SDL_FreeSurface(surface);
    return made ? made : SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
}
}  // namespace

struct SdlDisplay::Impl {
    std::mutex mutex;
    DWORD thread = 0;
    SIZE screen{1280, 1024};
    std::map<HWND, Win> windows;
    std::map<Uint32, HWND> byId;
    bool inEvent = false;  // the window layer is told of a change SDL made: do not send it back
    POINT mouse{0, 0};

    bool OnThread() const { return GetCurrentThreadId() == thread; }

    HCURSOR cursor = nullptr;                // the cursor the window layer asked for last
    bool cursorDirty = false;                // not yet shown
    std::map<HCURSOR, SDL_Cursor*> cursors;  // made once per handle, as handles live as long as the program

    // Shows the cursor asked for (display thread, under the mutex).
    void ApplyCursor() {
        if (!cursorDirty)
            return;
        cursorDirty = false;
        if (!cursor) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        SDL_Cursor*& made = cursors[cursor];
        if (!made)
            made = CreateCursor(cursor);
        if (made)
            SDL_SetCursor(made);
        SDL_ShowCursor(SDL_ENABLE);
    }

    SDL_Window* WindowOf(HWND hwnd) {
        auto it = windows.find(hwnd);
        return it == windows.end() ? nullptr : it->second.window;
    }

    // Brings SDL in line with the window layer (display thread, under the mutex).
    void Sync(HWND hwnd) {
        auto it = windows.find(hwnd);
        if (it == windows.end())
            return;
        Win& w = it->second;
        w.dirty = false;
        if (w.destroyed) {
            if (w.window) {
                byId.erase(SDL_GetWindowID(w.window));
                SDL_DestroyWindow(w.window);
            }
            Release(w.pending);
            Release(w.last);
            windows.erase(it);
            return;
        }
        RECT r{};
        bool alive = GetWindowRect(hwnd, &r) != FALSE;
        if (!alive)
            return;
        int width = std::max<LONG>(1, r.right - r.left), height = std::max<LONG>(1, r.bottom - r.top);
        // A window with a region is an SDL shaped window; one that gets its first region while shown
        // is made anew as one, its last pixels shown again.
        Region shape;
        const bool hasShape = user::WindowShape(hwnd, shape);
        if (w.window && hasShape && !w.shaped) {
            byId.erase(SDL_GetWindowID(w.window));
            SDL_DestroyWindow(w.window);
            w.window = nullptr;
            if (!w.pending && w.last) {
                w.pending = w.last;
                w.last = nullptr;
            }
        }
        const bool created = !w.window && w.shown;
        if (created) {
            DWORD style = (DWORD)GetWindowLongPtr(hwnd, GWL_STYLE);
            DWORD exStyle = (DWORD)GetWindowLongPtr(hwnd, GWL_EXSTYLE);
            HWND owner = GetWindow(hwnd, GW_OWNER);
            Uint32 flags = SDL_WINDOW_HIDDEN;
            if (IsDesktopFramed(style, exStyle, owner)) {
                if (style & WS_THICKFRAME)
                    flags |= SDL_WINDOW_RESIZABLE;
            } else {
                flags |= SDL_WINDOW_BORDERLESS;
                if (owner)
                    flags |= SDL_WINDOW_SKIP_TASKBAR;
            }
            CString title = StoredWindowText(hwnd);
            w.shaped = false;
            w.shapeRects.clear();
            if (hasShape) {
                // SDL places a shaped window when it gets its shape; Sync moves it where it belongs.
                w.window = SDL_CreateShapedWindow(title, (unsigned)r.left, (unsigned)r.top, (unsigned)width,
                                                  (unsigned)height, flags | SDL_WINDOW_BORDERLESS);
                w.shaped = w.window != nullptr;
            }
            if (!w.window)
                w.window = SDL_CreateWindow(title, r.left, r.top, width, height, flags);
            if (!w.window)
                return;
            byId[SDL_GetWindowID(w.window)] = hwnd;
            // An owned window stays above its owner.
            if (SDL_Window* ownerWindow = WindowOf(owner))
                SDL_SetWindowModalFor(w.window, ownerWindow);
        }
        if (!w.window)
            return;
        if (w.shaped) {
            // No region any more: the whole rectangle.
            if (!hasShape)
                shape = Region(RECT{0, 0, width, height});
            if (!SameRects(shape.Rects(), w.shapeRects) || w.shapeSize.cx != width || w.shapeSize.cy != height) {
                ApplyShape(w.window, shape, width, height);
                w.shapeRects = shape.Rects();
                w.shapeSize = SIZE{width, height};
            }
        }
        // Minimised and restored with the desktop: a minimised window keeps the desktop's place for it.
        const bool iconic = IsIconic(hwnd) != FALSE;
        const bool sdlMinimised = (SDL_GetWindowFlags(w.window) & SDL_WINDOW_MINIMIZED) != 0;
        if (iconic && !sdlMinimised && w.shown)
            SDL_MinimizeWindow(w.window);
        if (!iconic && sdlMinimised) {
            SDL_RestoreWindow(w.window);
            if (GetActiveWindow() == hwnd)
                SDL_RaiseWindow(w.window);
        }
        if (!inEvent && !iconic) {
            int x, y, cx, cy;
            SDL_GetWindowPosition(w.window, &x, &y);
            SDL_GetWindowSize(w.window, &cx, &cy);
            if (x != r.left || y != r.top)
                SDL_SetWindowPosition(w.window, r.left, r.top);
            if (cx != width || cy != height)
                SDL_SetWindowSize(w.window, width, height);
        }
        CString title = StoredWindowText(hwnd);
        if (title != CString(SDL_GetWindowTitle(w.window)))
            SDL_SetWindowTitle(w.window, title);
        bool sdlShown = (SDL_GetWindowFlags(w.window) & SDL_WINDOW_SHOWN) != 0;
        // The desktop unmaps a window it minimises: showing it again would undo the minimising.
        const bool desktopMinimised = (SDL_GetWindowFlags(w.window) & SDL_WINDOW_MINIMIZED) != 0;
        if (w.shown && !sdlShown && !desktopMinimised) {
            SDL_ShowWindow(w.window);
            w.askMinSize = (SDL_GetWindowFlags(w.window) & SDL_WINDOW_RESIZABLE) != 0;
            // The desktop may place its frame, not the window, at the position asked at creation: the
            // first position it reports is checked (see WindowEvent).
            if (!(SDL_GetWindowFlags(w.window) & SDL_WINDOW_BORDERLESS)) {
                w.placePending = true;
                w.placeAt = POINT{r.left, r.top};
                w.shownAt = SDL_GetTicks();
            }
        }
        if (!w.shown && sdlShown)
            SDL_HideWindow(w.window);
        if (w.pending && w.shown) {
            Blit(w.window, w.pending);
            Release(w.last);
            w.last = w.pending;
            w.pending = nullptr;
        }
        if (created)
            AdoptOwned(hwnd, w.window);
    }

    // Windows shown while their owner had no window of its own yet (a floating bar put back while the
    // frame is still hidden) become the owner's now and are mapped again, so that the desktop stacks
    // them above it instead of leaving them under it. The owner, just shown, keeps the focus the
    // desktop may give them on the way.
    void AdoptOwned(HWND owner, SDL_Window* ownerWindow) {
        bool remapped = false;
        for (auto& [h, o] : windows) {
            if (h == owner || !o.window || o.destroyed || GetWindow(h, GW_OWNER) != owner)
                continue;
            SDL_SetWindowModalFor(o.window, ownerWindow);
            if (SDL_GetWindowFlags(o.window) & SDL_WINDOW_SHOWN) {
                SDL_HideWindow(o.window);
                SDL_ShowWindow(o.window);
                if (o.last)
                    Blit(o.window, o.last);
                remapped = true;
            }
        }
        if (remapped && (SDL_GetWindowFlags(ownerWindow) & SDL_WINDOW_SHOWN))
            SDL_RaiseWindow(ownerWindow);
    }

    // The desktop keeps the window at least as large as the minimum tracking size its procedure
    // gives (asked outside the lock: the procedure may call back into the display).
    void ApplyMinSize(HWND hwnd) {
        MINMAXINFO info{};
        info.ptMaxTrackSize = POINT{1 << 15, 1 << 15};
        SendMessage(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&info);
        if (info.ptMinTrackSize.x <= 0 && info.ptMinTrackSize.y <= 0)
            return;
        std::lock_guard<std::mutex> g(mutex);
        if (SDL_Window* window = WindowOf(hwnd))
            SDL_SetWindowMinimumSize(window, std::max<LONG>(1, info.ptMinTrackSize.x),
                                     std::max<LONG>(1, info.ptMinTrackSize.y));
    }

    void Changed(HWND hwnd) {
        auto it = windows.find(hwnd);
        if (it == windows.end())
            return;
        it->second.dirty = true;
        if (OnThread())
            Sync(hwnd);
    }

    HWND Lookup(Uint32 id) {
        std::lock_guard<std::mutex> g(mutex);
        auto it = byId.find(id);
        return it == byId.end() ? nullptr : it->second;
    }

    POINT ScreenPoint(HWND hwnd, int x, int y) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        mouse = POINT{r.left + x, r.top + y};
        return mouse;
    }

    void MouseButton(const SDL_MouseButtonEvent& e) {
        HWND hwnd = Lookup(e.windowID);
        if (!hwnd)
            return;
        UINT base;
        switch (e.button) {
            case SDL_BUTTON_LEFT:
                base = WM_LBUTTONDOWN;
                break;
            case SDL_BUTTON_RIGHT:
                base = WM_RBUTTONDOWN;
                break;
            case SDL_BUTTON_MIDDLE:
                base = WM_MBUTTONDOWN;
                break;
            default:
                return;
        }
        POINT p = ScreenPoint(hwnd, e.x, e.y);
        UINT message = e.state == SDL_PRESSED ? base : base + 1;
        if (e.state == SDL_PRESSED && e.clicks >= 2 && e.clicks % 2 == 0) {
            HWND target = GetCapture() ? GetCapture() : WindowFromPoint(p);
            if (target && (GetClassLongPtr(target, GCL_STYLE) & CS_DBLCLKS))
                message = base + 2;
        }
        PostMouseInput(message, p, MouseKeys());
    }

    void Key(const SDL_KeyboardEvent& e) {
        WPARAM vk = VirtualKey(e.keysym.sym);
        if (!vk)
            return;
        bool down = e.type == SDL_KEYDOWN;
        bool alt = (SDL_GetModState() & KMOD_ALT) != 0 || vk == VK_MENU;
        LPARAM flags = 1 | ((LPARAM)(e.keysym.scancode & 0xFF) << 16);
        if (alt)
            flags |= 1 << 29;
        if (down && e.repeat)
            flags |= 1 << 30;
        if (!down)
            flags |= (LPARAM)0xC0000000u;
        UINT message = down ? (alt || vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN)
                            : (alt || vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP);
        PostKeyInput(message, vk, flags);
    }

    void WindowEvent(const SDL_WindowEvent& e) {
        HWND hwnd = Lookup(e.windowID);
        if (!hwnd)
            return;
        switch (e.event) {
            case SDL_WINDOWEVENT_EXPOSED: {
                std::lock_guard<std::mutex> g(mutex);
                auto it = windows.find(hwnd);
                if (it != windows.end() && it->second.window && it->second.last)
                    Blit(it->second.window, it->second.last);
                break;
            }
            case SDL_WINDOWEVENT_MOVED:
            case SDL_WINDOWEVENT_SIZE_CHANGED: {
                if (e.event == SDL_WINDOWEVENT_MOVED) {
                    // Just after showing, a move away from the asked position is the desktop putting its
                    // frame there: the window goes there now that the frame's size is known.
                    std::lock_guard<std::mutex> g(mutex);
                    auto it = windows.find(hwnd);
                    if (it != windows.end() && it->second.placePending && it->second.window) {
                        POINT at = it->second.placeAt;
                        if (SDL_GetTicks() - it->second.shownAt > 2000) {
                            it->second.placePending = false;
                        } else if (at.x != e.data1 || at.y != e.data2) {
                            it->second.placePending = false;
                            SDL_SetWindowPosition(it->second.window, at.x, at.y);
                            break;
                        }
                    }
                }
                RECT r{};
                GetWindowRect(hwnd, &r);
                bool moved = e.event == SDL_WINDOWEVENT_MOVED;
                if (moved && r.left == e.data1 && r.top == e.data2)
                    break;
                if (!moved && r.right - r.left == e.data1 && r.bottom - r.top == e.data2)
                    break;
                inEvent = true;
                if (moved)
                    SetWindowPos(hwnd, nullptr, e.data1, e.data2, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                else
                    SetWindowPos(hwnd, nullptr, 0, 0, e.data1, e.data2,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                inEvent = false;
                if (!moved)
                    ApplyMinSize(hwnd);
                break;
            }
            case SDL_WINDOWEVENT_MINIMIZED:
                if (!IsIconic(hwnd))
                    ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
                break;
            case SDL_WINDOWEVENT_RESTORED:
                if (IsIconic(hwnd))
                    ShowWindow(hwnd, SW_RESTORE);
                break;
            case SDL_WINDOWEVENT_CLOSE:
                // A disabled window (one under a modal dialog) does not close.
                if (IsWindowEnabled(hwnd))
                    PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
                else
                    MessageBeep(MB_OK);
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (IsWindowEnabled(hwnd) && GetActiveWindow() != hwnd)
                    SetActiveWindow(hwnd);
                break;
            default:
                break;
        }
    }

    void Handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_WINDOWEVENT:
                WindowEvent(e.window);
                break;
            case SDL_MOUSEMOTION:
                if (HWND hwnd = Lookup(e.motion.windowID))
                    PostMouseInput(WM_MOUSEMOVE, ScreenPoint(hwnd, e.motion.x, e.motion.y), MouseKeys());
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                MouseButton(e.button);
                break;
            case SDL_MOUSEWHEEL: {
                int lines = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                if (!lines)
                    break;
                HWND target = GetFocus() ? GetFocus() : Lookup(e.wheel.windowID);
                if (target)
                    PostMessage(target, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), (WORD)(short)(lines * 120)),
                                MAKELPARAM(mouse.x, mouse.y));
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                Key(e.key);
                break;
            case SDL_TEXTINPUT:
                // Text is bytes: what the desktop gives (UTF-8) arrives a byte per character message.
                for (const char* c = e.text.text; *c; ++c)
                    PostKeyInput(WM_CHAR, (WPARAM)(unsigned char)*c, 1);
                break;
            case SDL_CLIPBOARDUPDATE:
                NotifyClipboardListeners();
                break;
            default:
                break;
        }
    }
};

SdlDisplay::SdlDisplay() : m(std::make_unique<Impl>()) {}

std::shared_ptr<SdlDisplay> SdlDisplay::Open(std::string* error) {
    // The program decides when to end, not the last window closing; a click that activates a
    // window also acts, as on the desktop the programs were written for.
    SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Termination signals belong to the window layer, which closes the program as its close box does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Pixels go straight to the window system's own framebuffer: a renderer would re-create the
    // native window on first use, raising it above windows shown after it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = SDL_GetError();
        return nullptr;
    }
    std::shared_ptr<SdlDisplay> display(new SdlDisplay());
    display->m->thread = GetCurrentThreadId();
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0)
        display->m->screen = SIZE{mode.w, mode.h};
    SDL_StartTextInput();
    return display;
}

SdlDisplay::~SdlDisplay() {
    {
        std::lock_guard<std::mutex> g(m->mutex);
        for (auto& [h, w] : m->windows) {
            if (w.window)
                SDL_DestroyWindow(w.window);
            Release(w.pending);
            Release(w.last);
        }
        m->windows.clear();
        for (auto& [h, c] : m->cursors)
            SDL_FreeCursor(c);
        m->cursors.clear();
    }
    // SDL's video stays up: its libraries are unloaded by quitting, which leaves the leak checker of
    // sanitized builds unable to name them, and the process is ending anyway.
}

bool SdlDisplay::IsDesktopFramed(DWORD style, DWORD exStyle, HWND owner) {
    return !owner && !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION &&
           !(exStyle & WS_EX_TOOLWINDOW);
}

SIZE SdlDisplay::ScreenSize() const {
    return m->screen;
}

bool SdlDisplay::DrawsFrame(DWORD style, DWORD exStyle, HWND owner) const {
    return IsDesktopFramed(style, exStyle, owner);
}

void SdlDisplay::WindowDestroyed(HWND hwnd) {
    std::lock_guard<std::mutex> g(m->mutex);
    auto it = m->windows.find(hwnd);
    if (it == m->windows.end())
        return;
    it->second.destroyed = true;
    m->Changed(hwnd);
}

void SdlDisplay::WindowShown(HWND hwnd, bool shown) {
    std::lock_guard<std::mutex> g(m->mutex);
    m->windows[hwnd].shown = shown;
    m->Changed(hwnd);
}

void SdlDisplay::WindowMoved(HWND hwnd, const RECT&) {
    std::lock_guard<std::mutex> g(m->mutex);
    m->Changed(hwnd);
}

void SdlDisplay::WindowTextChanged(HWND hwnd, LPCTSTR) {
    std::lock_guard<std::mutex> g(m->mutex);
    m->Changed(hwnd);
}

void SdlDisplay::Present(HWND hwnd, cairo_surface_t* surface) {
    if (!surface)
        return;
    std::lock_guard<std::mutex> g(m->mutex);
    auto it = m->windows.find(hwnd);
    if (it == m->windows.end())
        return;
    Release(it->second.pending);
    it->second.pending = cairo_surface_reference(surface);
    m->Changed(hwnd);
}

void SdlDisplay::Poll() {
    if (!m->OnThread())
        return;
    {
        std::lock_guard<std::mutex> g(m->mutex);
        m->ApplyCursor();
        std::vector<HWND> dirty;
        for (auto& [h, w] : m->windows)
            if (w.dirty)
                dirty.push_back(h);
        for (HWND h : dirty)
            m->Sync(h);
    }
    std::vector<HWND> ask;
    {
        std::lock_guard<std::mutex> g(m->mutex);
        for (auto& [h, w] : m->windows)
            if (w.askMinSize) {
                w.askMinSize = false;
                ask.push_back(h);
            }
    }
    for (HWND h : ask)
        m->ApplyMinSize(h);
    SDL_Event e;
    while (SDL_PollEvent(&e))
        m->Handle(e);
}

void SdlDisplay::CursorChanged(HCURSOR cursor) {
    std::lock_guard<std::mutex> g(m->mutex);
    m->cursor = cursor;
    m->cursorDirty = true;
    if (m->OnThread())
        m->ApplyCursor();
}

bool SdlDisplay::SetClipboardText(const std::string& text) {
    return m->OnThread() && SDL_SetClipboardText(text.c_str()) == 0;
}

bool SdlDisplay::GetClipboardText(std::string& text) {
    if (!m->OnThread())
        return false;
    char* got = SDL_GetClipboardText();
    if (!got)
        return false;
    text = got;
    SDL_free(got);
    return true;
}
