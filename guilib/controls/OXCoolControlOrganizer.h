// Turns the standard controls of one thread's windows into cool controls: those that exist when it
// attaches, and through two thread hooks every control created later. Detaching, or a control's
// destruction, undoes the conversion.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/window/Wnd.h"

class COXCoolControlOrganizer {
public:
    COXCoolControlOrganizer();
    virtual ~COXCoolControlOrganizer();
    COXCoolControlOrganizer(const COXCoolControlOrganizer&) = delete;
    COXCoolControlOrganizer& operator=(const COXCoolControlOrganizer&) = delete;

    virtual BOOL CanConvert(HWND hWnd, LPCTSTR lpszClassName);
    virtual CWnd* CreateCoolControl(HWND hWnd, LPCTSTR lpszClassName);

    BOOL AttachToThread(DWORD dwThreadID);
    BOOL DetachFromThread();
    BOOL IsAttached() const { return m_dwThreadID != 0; }
    BOOL ConvertWindow(HWND hWnd);
    void ConvertWindowTree(HWND hFirst);
    BOOL DetachControl(HWND hWnd = nullptr);
    BOOL IsConverted(HWND hWnd) const;
    BOOL IsRejected(HWND hWnd) const;
    // The cool control made for a window, or null.
    CWnd* GetConvertedControl(HWND hWnd) const;
    int GetConvertedCount() const { return (int)m_arrConvertedWindows.GetCount(); }
    int GetRejectedCount() const { return (int)m_arrRejectedWindows.GetCount(); }

    static LRESULT CoolControlCbtHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CoolControlGetMessageHookProc(int nCode, WPARAM wParam, LPARAM lParam);

protected:
    CMap<HWND, HWND, CWnd*, CWnd*> m_arrConvertedWindows;
    CMap<HWND, HWND, int, int> m_arrRejectedWindows;
    DWORD m_dwThreadID = 0;
    HHOOK m_hCbtHook = nullptr;
    HHOOK m_hGetMessageHook = nullptr;
};
