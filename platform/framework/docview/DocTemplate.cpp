#include "platform/framework/docview/DocTemplate.h"

#include "platform/framework/app/WinThread.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

CDocTemplate::~CDocTemplate() {
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
}

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings = AfxLoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const {
    out.Empty();
    int start = 0;
    for (int i = 0; i < (int)index; ++i) {
        int nl = m_strDocStrings.Find('\n', start);
        if (nl < 0)
            return FALSE;
        start = nl + 1;
    }
    int end = m_strDocStrings.Find('\n', start);
    out = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* doc) {
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    if (doc->m_pDocTemplate == this)
        doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass)
        return nullptr;
    CObject* made = m_pDocClass->CreateObject();
    if (!made || !made->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete made;
        return nullptr;
    }
    auto* doc = static_cast<CDocument*>(made);
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
    if (!m_pFrameClass)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* made = m_pFrameClass->CreateObject();
    if (!made || !made->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete made;
        return nullptr;
    }
    auto* frame = static_cast<CFrameWnd*>(made);
    // A frame that fails to load deletes itself as its window goes.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
    frame->InitialUpdateFrame(doc, makeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* doc = GetNextDoc(pos);
        doc->OnCloseDocument();
    }
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR path, CDocument*& match) {
    match = nullptr;
    CString wanted = path ? path : "";
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().IsEmpty() && doc->GetPathName() == wanted) {
            match = doc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
        int dot = wanted.ReverseFind('.');
        int slash = wanted.ReverseFind('/');
        if (dot > slash && wanted.Mid(dot).CompareNoCase(ext) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

// ---- CMultiDocTemplate

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, const CRuntimeClass* docClass,
                                     const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    while (!m_docList.IsEmpty()) {
        auto* doc = (CDocument*)m_docList.RemoveHead();
        doc->m_pDocTemplate = nullptr;
        delete doc;
    }
}

void CMultiDocTemplate::LoadTemplate() {
    CDocTemplate::LoadTemplate();
    if (!m_hMenuShared && m_nIDResource)
        m_hMenuShared = ::LoadMenu(nullptr, MAKEINTRESOURCE(m_nIDResource));
    if (!m_hAccelTable && m_nIDResource)
        m_hAccelTable = ::LoadAccelerators(nullptr, MAKEINTRESOURCE(m_nIDResource));
}

void CMultiDocTemplate::AddDocument(CDocument* doc) {
    CDocTemplate::AddDocument(doc);
    if (!m_docList.Find(doc))
        m_docList.AddTail(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc) {
    CDocTemplate::RemoveDocument(doc);
    if (POSITION pos = m_docList.Find(doc))
        m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = "Untitled";
    CString title;
    title.Format("%s%u", name.GetString(), m_nUntitledCount + 1);
    doc->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    // The document must outlive a frame that fails half-way.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
