// CSifterApp: reads the settings key and the search request of the command line, then runs the search
// dialog; the program ends when the dialog closes.
#pragma once

#include "platform/framework/app/WinThread.h"

class CSifterApp : public CWinApp {
public:
    CSifterApp();

    BOOL InitInstance() override;
    // Takes the request from a raw command line (program name included, as the starter handed it over).
    void ReadCommandLine(const CString& rawLine);
    // The value of one "KEY=value" field of a command line, its case kept (SifterCommandLine::GetValue).
    // FALSE when no field has the key.
    static BOOL GetCommandLineValue(const CString& line, LPCTSTR key, char separator, CString& value);

    CString m_sCommandLine;  // the raw line; at the end of start-up the base folder, quoted with a blank
    CString m_sBasePath;
    CString m_sFileMask;
    CString m_sFindText;  // the dialog keeps the last searched text here too
    BYTE m_bUseDefViewer = FALSE;
    BYTE m_bExecNow = FALSE;
    BYTE m_bMaskGiven = FALSE;
    BYTE m_bSubDirs = TRUE;
};

// The application object of the running program (null when none is of this class).
CSifterApp* GetSifterApp();
