// What the program's command line asks for: a new document, a file to open, ...
#pragma once

#include "platform/base/String.h"
#include "platform/base/Types.h"

class CCommandLineInfo {
public:
    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;
    // One argument: `flag` when it started with '-' or '/' (which is then left out), `last` for the last.
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);

    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};
