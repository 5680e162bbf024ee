#include "platform/framework/app/CommandLineInfo.h"

#include "platform/base/String.h"

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL) {
    if (!param)
        return;
    if (flag) {
        CString f = param;
        if (f.CompareNoCase("p") == 0)
            m_nShellCommand = FilePrint;
        else if (f.CompareNoCase("pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (f.CompareNoCase("dde") == 0)
            m_nShellCommand = FileDDE;
        else if (f.CompareNoCase("Embedding") == 0)
            m_bRunEmbedded = TRUE, m_bShowSplash = FALSE;
        else if (f.CompareNoCase("Automation") == 0)
            m_bRunAutomated = TRUE, m_bShowSplash = FALSE;
        else if (f.CompareNoCase("Register") == 0 || f.CompareNoCase("Regserver") == 0)
            m_nShellCommand = AppRegister;
        else if (f.CompareNoCase("Unregister") == 0 || f.CompareNoCase("Unregserver") == 0)
            m_nShellCommand = AppUnregister;
        return;
    }
    if (m_nShellCommand == FilePrintTo && !m_strFileName.IsEmpty()) {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = param;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = param;
        else if (m_strPortName.IsEmpty())
            m_strPortName = param;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}
