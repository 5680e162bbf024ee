#include "sifter/program/SifterApp.h"

#include "platform/base/Process.h"
#include "platform/base/Profile.h"
#include "sifter/program/SifterCommandLine.h"
#include "sifter/program/SifterDlg.h"
#include "sifter/program/SifterSettings.h"

CSifterApp::CSifterApp() : CWinApp("Sifter") {}

CSifterApp* GetSifterApp() {
    return dynamic_cast<CSifterApp*>(AfxGetApp());
}

void CSifterApp::ReadCommandLine(const CString& rawLine) {
    m_sCommandLine = rawLine;
    SifterCommandLine line;
    line.Parse(SifterCommandLine::StripProgramName(rawLine));
    m_sBasePath = line.m_sBasePath;
    m_sFileMask = line.m_sFileMask;
    m_sFindText = line.m_sFindText;
    m_bMaskGiven = line.m_bMaskGiven ? TRUE : FALSE;
    m_bExecNow = line.m_bExecNow ? TRUE : FALSE;
    m_bSubDirs = line.m_bSubDirs ? TRUE : FALSE;
    m_bUseDefViewer = line.m_bUseDefViewer ? TRUE : FALSE;
    m_sCommandLine = m_sBasePath.Find(' ') >= 0 ? "\"" + m_sBasePath + "\"" : m_sBasePath;
}

BOOL CSifterApp::GetCommandLineValue(const CString& line, LPCTSTR key, char separator, CString& value) {
    return SifterCommandLine::GetValue(line, key, separator, value);
}

BOOL CSifterApp::InitInstance() {
    AfxGetProfile().SetRegistryKey(SifterSettings::kRegistryKey);
    AfxGetProfile().SetProfileName(m_pszAppName);
    // The line our launcher handed over is read as it is; started otherwise (from a shell), the
    // arguments are joined with single blanks, so a request in one quoted argument reads unchanged.
    ReadCommandLine(CommandLineWasHandedOver() ? CString(GetCommandLine())
                                               : CString(ArgumentsJoinedWithBlanks()));
    CSifterDlg dlg(this);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
