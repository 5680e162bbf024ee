#include "platform/base/MessageBox.h"

#include <cstdio>
#include <mutex>

#include "platform/base/ToolHelp.h"

namespace {
std::mutex g_lock;
MessageBoxPresenter g_presenter;
CString g_defaultCaption;  // empty: the program file's name

// Without a window layer a box is written to standard error and answered with its default button.
int StderrPresenter(const MessageBoxCall& call) {
    std::fprintf(stderr, "[%s] %s\n", (LPCTSTR)call.caption, (LPCTSTR)call.text);
    return DefaultMessageBoxAnswer(call.type);
}
}  // namespace

int DefaultMessageBoxAnswer(UINT type) {
    static const int buttons[][3] = {
        {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    UINT kind = type & MB_TYPEMASK;
    if (kind > 5)
        kind = 0;
    UINT def = (type & MB_DEFMASK) >> 8;
    if (def > 2)
        def = 0;
    return buttons[kind][def];
}

int PlatformMessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    MessageBoxCall call{owner, CString(text), CString(caption), type};
    MessageBoxPresenter presenter;
    {
        std::lock_guard<std::mutex> g(g_lock);
        if (!caption)
            call.caption = g_defaultCaption;
        presenter = g_presenter;
    }
    if (!caption && call.caption.IsEmpty()) {
        std::string program = GetProcessProgramPath(0);
        call.caption = program.substr(program.rfind('/') + 1).c_str();
    }
    return presenter ? presenter(call) : StderrPresenter(call);
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    std::lock_guard<std::mutex> g(g_lock);
    MessageBoxPresenter old = std::move(g_presenter);
    g_presenter = std::move(presenter);
    return old;
}

void SetMessageBoxDefaultCaption(LPCTSTR caption) {
    std::lock_guard<std::mutex> g(g_lock);
    g_defaultCaption = caption ? caption : "";
}

CString GetMessageBoxDefaultCaption() {
    std::lock_guard<std::mutex> g(g_lock);
    return g_defaultCaption;
}

int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    return PlatformMessageBox(owner, text, caption, type);
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT /*helpId*/) {
    return PlatformMessageBox(nullptr, text, nullptr, type);
}

MessageBoxRecorder::MessageBoxRecorder() {
    m_previous = SetMessageBoxPresenter([this](const MessageBoxCall& call) {
        m_calls.push_back(call);
        if (m_next < m_answers.size())
            return m_answers[m_next++];
        return DefaultMessageBoxAnswer(call.type);
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxPresenter(std::move(m_previous));
}
