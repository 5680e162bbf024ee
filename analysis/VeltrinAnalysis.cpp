#include "analysis/VeltrinAnalysis.h"

#include <cstdarg>

#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"

gxListModel& CVeltrinAnalysis::List() const {
    return m_pHost->GetList();
}

void CVeltrinAnalysis::CopyRequestStrings() {
    m_csListKey = _csListKey;
    m_csReportName = _csReportName;
    m_csItemKind = _csItemKind;
    m_csLogType = _csLogType;
    m_csReportType = _csReportType.IsEmpty() ? _csListKey : _csReportType;
    m_csBaseFolder = _csBaseFolder;
}

void CVeltrinAnalysis::ShowRecordCount(int32_t count) {
    _csRecordsText.Format(" Records: %d", count);
    m_pHost->SetRecordsPane(_csRecordsText);
}

void CVeltrinAnalysis::ShowStatusText(LPCTSTR text) {
    _csStatusText = text;
    m_pHost->SetStatusPane(_csStatusText);
}

void CVeltrinAnalysis::ShowLogNamePane(LPCTSTR text) {
    _csLogNameText = text;
    m_pHost->SetLogNamePane(_csLogNameText);
}

void CVeltrinAnalysis::ShowPadText(LPCTSTR text) {
    m_pHost->SetPadPageText(text);
}
void CVeltrinAnalysis::ClearPadText() {
    m_pHost->ClearPadPage();
}
void CVeltrinAnalysis::ActivatePadTab() {
    m_pHost->ActivatePadPage();
}

void CVeltrinAnalysis::ShowOutputBarOnce() {
    if (m_bOutputBarShown)
        return;
    m_bOutputBarShown = true;
    m_pHost->ShowOutputBar();
}

void CVeltrinAnalysis::RestoreColumnWidths(LPCTSTR layout) {
    CString section = (layout && *layout) ? CString(layout) : CString("BlankList");
    int count = m_pHost->GetProfileInt(section, "ColumnCount", 0);
    if (count < 1)
        return;
    gxListModel& list = List();
    for (int i = 0; i < count && i < list.GetColumnCount(); ++i) {
        CString entry;
        entry.Format("%i", i);
        int width = m_pHost->GetProfileInt(section, entry, 45);
        list.SetSavedColumnWidth(i, width);
    }
}

int32_t CVeltrinAnalysis::GetLineNumber(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}

void CVeltrinAnalysis::Trace(LPCTSTR text) const {
    m_pHost->Trace(text);
}

void CVeltrinAnalysis::TraceF(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    std::string text = FormatStringV(fmt, args);
    va_end(args);
    m_pHost->Trace(text.c_str());
}
