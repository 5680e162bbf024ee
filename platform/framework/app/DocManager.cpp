#include "platform/framework/app/DocManager.h"

#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"

CDocManager::~CDocManager() {
    while (!m_templateList.IsEmpty())
        delete (CDocTemplate*)m_templateList.RemoveHead();
}

void CDocManager::AddDocTemplate(CDocTemplate* tmpl) {
    if (!tmpl || m_templateList.Find(tmpl))
        return;
    tmpl->LoadTemplate();
    m_templateList.AddTail(tmpl);
}

int CDocManager::GetDocumentCount() {
    int count = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* t = GetNextDocTemplate(pos);
        for (POSITION d = t->GetFirstDocPosition(); d; t->GetNextDoc(d))
            ++count;
    }
    return count;
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR path, BOOL) {
    if (!path || !*path) {
        if (m_templateList.IsEmpty())
            return nullptr;
        return ((CDocTemplate*)m_templateList.GetHead())->OpenDocumentFile(nullptr);
    }
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* t = GetNextDocTemplate(pos);
        CDocument* match = nullptr;
        CDocTemplate::Confidence c = t->MatchDocType(path, match);
        if (c > bestMatch) {
            bestMatch = c;
            best = t;
            open = match;
        }
        if (c == CDocTemplate::yesAlreadyOpen)
            break;
    }
    if (bestMatch == CDocTemplate::yesAlreadyOpen && open) {
        // The document is open already: its first view's frame comes to the front.
        POSITION v = open->GetFirstViewPosition();
        if (v) {
            CView* view = open->GetNextView(v);
            if (CFrameWnd* frame = view->GetParentFrame()) {
                frame->ActivateFrame();
                if (CFrameWnd* top = frame->GetTopLevelFrame(); top && top != frame)
                    top->ActivateFrame();
            }
        }
        return open;
    }
    if (!best)
        return nullptr;
    return best->OpenDocumentFile(path);
}

BOOL CDocManager::SaveAllModified() {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL endSession) {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        GetNextDocTemplate(pos)->CloseAllDocuments(endSession);
}

void CDocManager::OnFileNew() {
    if (m_templateList.IsEmpty())
        return;
    ((CDocTemplate*)m_templateList.GetHead())->OpenDocumentFile(nullptr);
}
