// A custom button for tests: it hosts an edit window, keeps an integer as its state, counts its live
// objects, and its clones delete themselves when released.
#pragma once

#include "guilib/skins/OXBlockReader.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Archive.h"

namespace custom_button_test {
class TestCustomButton : public COXCustomTBButtonTemplate {
public:
    explicit TestCustomButton(bool clone = false) : m_clone(clone) { ++s_alive; }
    ~TestCustomButton() override {
        --s_alive;
        if (m_window.m_hWnd)
            m_window.DestroyWindow();
    }
    CWnd* CBGetWindow() override { return m_window.m_hWnd ? &m_window : nullptr; }
    BOOL CBCreate(UINT id, COXCoolToolBar* bar, DWORD style, const RECT& rect, LPCTSTR, LPCTSTR name) override {
        return m_window.Create("Edit", name, style, rect, bar, id);
    }
    COXCustomTBButtonTemplate* CBCreateCopy(COXCoolToolBar* bar) override {
        auto* copy = new TestCustomButton(true);
        copy->state = state;
        UINT id = (UINT)::GetDlgCtrlID(m_window.m_hWnd);
        if (!copy->m_window.Create("Edit", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, bar, id)) {
            delete copy;
            return nullptr;
        }
        return copy;
    }
    void CBDelete() override {
        ++released;
        if (m_clone) {
            delete this;
            return;
        }
        if (m_window.m_hWnd)
            m_window.DestroyWindow();
    }
    void CBSetCustomizeMode(BOOL on) override { customizing = on; }
    BOOL CBReleaseOnStateLoad() override { return FALSE; }
    void CBSaveState(CArchive& ar) override { ar << (int32_t)state; }
    BOOL CBLoadState(OXBlockReader& in) override {
        int32_t value;
        if (!in.Int(value))
            return FALSE;
        state = value;
        return TRUE;
    }

    int released = 0;
    BOOL customizing = FALSE;
    int32_t state = 0;
    static inline int s_alive = 0;

private:
    bool m_clone;
    CWnd m_window;
};

}  // namespace custom_button_test
