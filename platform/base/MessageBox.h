// Every message box of the system goes through PlatformMessageBox. A window layer installs the
// presenter that shows a real dialog; tests install a recorder that takes the text, caption and
// flags and returns a scripted answer.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/String.h"

typedef struct HWND__* HWND;

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

struct MessageBoxCall {
    HWND owner;
    CString text;
    CString caption;
    UINT type;
};

typedef std::function<int(const MessageBoxCall&)> MessageBoxPresenter;

// Shows a message box; returns the button chosen.
int PlatformMessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);
// Installs the presenter (a real dialog, or a recorder); returns the one it replaces.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);
// The caption used when the caller gives none: the program's title (the application sets it), else
// the program file's name.
void SetMessageBoxDefaultCaption(LPCTSTR caption);
CString GetMessageBoxDefaultCaption();
// The button a box of this type answers with when nobody can choose: its default button.
int DefaultMessageBoxAnswer(UINT type);

int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);

// Test recorder: installed for its lifetime, records every call and answers from a script
// (then with the box's default button).
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void ScriptAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<MessageBoxCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

private:
    std::vector<MessageBoxCall> m_calls;
    std::vector<int> m_answers;
    size_t m_next = 0;
    MessageBoxPresenter m_previous;
};
