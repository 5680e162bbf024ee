#include "guilib/frame/OXChildFrameState.h"

#include <algorithm>
#include <memory>

#include "core/TextHelpers.h"
#include "core/TraceLog.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/frames/SplitterWnd.h"

IMPLEMENT_SERIAL(COXChildFrameState, CObject, VERSIONABLE_SCHEMA | 1)

namespace {
// The objects of the blob being read by a workspace on this thread, so that a child's splitter states
// cannot also be claimed elsewhere in the same blob.
thread_local std::set<CObject*>* t_blobObjects = nullptr;
COXChildFrameState::BeforeOpen g_beforeOpen;
COXChildFrameState::AfterOpen g_afterOpen;
}  // namespace

void StorePlacement(CArchive& ar, const WINDOWPLACEMENT& wp) {
    ar << (uint32_t)wp.flags << (uint32_t)wp.showCmd << (int32_t)wp.ptMinPosition.x << (int32_t)wp.ptMinPosition.y
       << (int32_t)wp.ptMaxPosition.x << (int32_t)wp.ptMaxPosition.y << (int32_t)wp.rcNormalPosition.left
       << (int32_t)wp.rcNormalPosition.top << (int32_t)wp.rcNormalPosition.right
       << (int32_t)wp.rcNormalPosition.bottom;
}

WINDOWPLACEMENT LoadPlacement(CArchive& ar) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    uint32_t flags, show;
    int32_t v[8];
    ar >> flags >> show;
    for (int32_t& x : v)
        ar >> x;
    wp.flags = flags;
    wp.showCmd = show;
    wp.ptMinPosition = {v[0], v[1]};
    wp.ptMaxPosition = {v[2], v[3]};
    wp.rcNormalPosition = {v[4], v[5], v[6], v[7]};
    return wp;
}

void DeleteObjectArray(CObArray*& array) {
    if (!array)
        return;
    for (INT_PTR i = 0; i < array->GetSize(); ++i)
        delete array->GetAt(i);
    array->RemoveAll();
    delete array;
    array = nullptr;
}

CObArray* LoadObjectArray(CArchive& ar, const CRuntimeClass* cls, std::set<CObject*>& owned) {
    CObject* object = ar.ReadObject(RUNTIME_CLASS(CObArray));
    auto* array = static_cast<CObArray*>(object);
    if (!array)
        return nullptr;
    bool arrayIsNew = owned.insert(array).second;
    bool sound = arrayIsNew;
    std::vector<CObject*> fresh;  // the elements first met here
    for (INT_PTR i = 0; sound && i < array->GetSize(); ++i) {
        CObject* element = array->GetAt(i);
        if (!element || !element->IsKindOf(cls) || !owned.insert(element).second) {
            sound = false;
            break;
        }
        fresh.push_back(element);
    }
    if (sound)
        return array;
    // A damaged blob: free what this array brought and nothing owned elsewhere.
    for (CObject* element : fresh) {
        owned.erase(element);
        delete element;
    }
    if (arrayIsNew) {
        owned.erase(array);
        array->RemoveAll();
        delete array;
    }
    AfxThrowArchiveException(CArchiveException::badClass);
}

void COXChildFrameState::SetOpenHandlers(BeforeOpen before, AfterOpen after) {
    g_beforeOpen = std::move(before);
    g_afterOpen = std::move(after);
}

COXChildFrameState::COXChildFrameState() {
    Reset();
}

COXChildFrameState::~COXChildFrameState() {
    DeleteObjectArray(m_pSplitterStates);
}

void COXChildFrameState::DeleteSplitterStates() {
    if (!m_pSplitterStates) {
        m_pSplitterStates = new CObArray;
        return;
    }
    for (INT_PTR i = 0; i < m_pSplitterStates->GetSize(); ++i)
        delete m_pSplitterStates->GetAt(i);
    m_pSplitterStates->RemoveAll();
}

void COXChildFrameState::Reset() {
    m_windowPlacement = WINDOWPLACEMENT{};
    m_bIncludeSplitters = TRUE;
    DeleteSplitterStates();
    m_nSerializeSchemaVersion = -1;
}

CSplitterWnd* COXChildFrameState::FindSplitter(CFrameWnd* frame) {
    if (!frame || !::IsWindow(frame->m_hWnd))
        return nullptr;
    for (HWND child = ::GetWindow(frame->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (auto* splitter = dynamic_cast<CSplitterWnd*>(CWnd::FromHandlePermanent(child)))
            return splitter;
    return nullptr;
}

BOOL ComputeSplitterArray(CFrameWnd* frame, CObArray& states) {
    CSplitterWnd* splitter = COXChildFrameState::FindSplitter(frame);
    if (!splitter)
        return FALSE;
    for (int pass = 0; pass < 2; ++pass) {
        BOOL rows = pass == 0;
        int count = rows ? splitter->GetRowCount() : splitter->GetColumnCount();
        for (int i = 0; i < count; ++i) {
            auto* state = new COXSplitterColRowState;
            state->ComputeProperties(splitter, i, rows);
            states.Add(state);
        }
    }
    return TRUE;
}

BOOL ApplySplitterArray(CFrameWnd* frame, const CObArray& states) {
    CSplitterWnd* splitter = COXChildFrameState::FindSplitter(frame);
    if (!splitter)
        return FALSE;
    for (INT_PTR i = 0; i < states.GetSize(); ++i)
        static_cast<COXSplitterColRowState*>(states.GetAt(i))->ApplyProperties(splitter);
    splitter->RecalcLayout();
    return TRUE;
}

BOOL COXChildFrameState::ComputeSplitterStates(CFrameWnd* frame) {
    if (!m_pSplitterStates)
        m_pSplitterStates = new CObArray;
    return ComputeSplitterArray(frame, *m_pSplitterStates);
}

BOOL COXChildFrameState::ApplySplitterStates(CFrameWnd* frame) {
    return m_pSplitterStates && ApplySplitterArray(frame, *m_pSplitterStates);
}

BOOL COXChildFrameState::ComputeState(CFrameWnd* childFrame) {
    if (!childFrame || !::IsWindow(childFrame->m_hWnd))
        return FALSE;
    m_windowPlacement = WINDOWPLACEMENT{};
    m_windowPlacement.length = sizeof m_windowPlacement;
    childFrame->GetWindowPlacement(&m_windowPlacement);
    if (!childFrame->IsWindowVisible())
        m_windowPlacement.showCmd = SW_HIDE;
    CDocument* doc = childFrame->GetActiveDocument();
    if (!doc)
        return FALSE;
    CView* view = childFrame->GetActiveView();
    m_sDocPath = doc->GetPathName();
    m_sDocClassName = doc->GetRuntimeClass()->m_lpszClassName;
    m_sFrameClassName = childFrame->GetRuntimeClass()->m_lpszClassName;
    m_sViewClassName = view ? CString(view->GetRuntimeClass()->m_lpszClassName) : CString();
    DeleteSplitterStates();
    if (m_bIncludeSplitters)
        ComputeSplitterStates(childFrame);
    return TRUE;
}

CDocTemplate* COXChildFrameState::FindTemplate() const {
    CWinApp* app = AfxGetApp();
    if (!app)
        return nullptr;
    auto matches = [](const CString& stored, const CRuntimeClass* cls) {
        return stored.IsEmpty() || (cls && stored == cls->m_lpszClassName);
    };
    POSITION pos = app->GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* t = app->GetNextDocTemplate(pos);
        if (t && matches(m_sDocClassName, t->m_pDocClass) && matches(m_sFrameClassName, t->m_pFrameClass) &&
            matches(m_sViewClassName, t->m_pViewClass))
            return t;
    }
    return nullptr;
}

BOOL COXChildFrameState::OpenDocument(CDocTemplate* docTemplate, CFrameWnd*& frame) {
    frame = nullptr;
    if (m_sDocPath.IsEmpty())
        return FALSE;
    // A document open already gets another frame; paths are compared exactly.
    CWinApp* app = AfxGetApp();
    POSITION pos = app ? app->GetFirstDocTemplatePosition() : nullptr;
    while (pos) {
        CDocTemplate* t = app->GetNextDocTemplate(pos);
        POSITION docPos = t ? t->GetFirstDocPosition() : nullptr;
        while (docPos) {
            CDocument* doc = t->GetNextDoc(docPos);
            if (doc && doc->GetPathName() == m_sDocPath) {
                frame = docTemplate->CreateNewFrame(doc, nullptr);
                if (!frame)
                    return FALSE;
                docTemplate->InitialUpdateFrame(frame, doc);
                return TRUE;
            }
        }
    }
    // Only logs are reopened: the test is on the upper-cased path, the file is the stored one.
    CString upper = m_sDocPath;
    upper.MakeUpper();
    TraceLog("OXChildFrameState::OpenDocument: csPath=%s", (LPCTSTR)upper);
    if (upper.Find(".LOG") < 0 && upper.Find("QBROKER") < 0)
        return FALSE;
    if (GetFileSizeByName(m_sDocPath) == 0)
        return FALSE;
    if (g_beforeOpen)
        g_beforeOpen(docTemplate, m_sDocPath);
    CDocument* doc = docTemplate->OpenDocumentFile(m_sDocPath, TRUE);
    if (!doc)
        return FALSE;
    POSITION viewPos = doc->GetFirstViewPosition();
    CView* view = viewPos ? doc->GetNextView(viewPos) : nullptr;
    if (!view)
        return FALSE;
    frame = view->GetParentFrame();
    if (g_afterOpen)
        g_afterOpen(view);
    return frame != nullptr;
}

BOOL COXChildFrameState::ApplyState() {
    CDocTemplate* docTemplate = FindTemplate();
    if (!docTemplate)
        return FALSE;
    CFrameWnd* frame = nullptr;
    if (!OpenDocument(docTemplate, frame) || !frame)
        return FALSE;
    WINDOWPLACEMENT wp = m_windowPlacement;
    wp.length = sizeof wp;
    frame->SetWindowPlacement(&wp);
    if (m_bIncludeSplitters)
        ApplySplitterStates(frame);
    return TRUE;
}

void COXChildFrameState::StoreContents(CArchive& ar) {
    StorePlacement(ar, m_windowPlacement);
    ar << m_sDocPath << m_sDocClassName << m_sFrameClassName << m_sViewClassName;
    ar << (int32_t)m_bIncludeSplitters;
    if (!m_pSplitterStates)
        m_pSplitterStates = new CObArray;
    ar.WriteObject(m_pSplitterStates);
}

void COXChildFrameState::LoadContents(CArchive& ar) {
    if (t_blobObjects) {
        LoadContents(ar, *t_blobObjects);
        return;
    }
    std::set<CObject*> owned;
    LoadContents(ar, owned);
}

BlobObjectsScope::BlobObjectsScope(std::set<CObject*>& objects) : m_previous(t_blobObjects) {
    t_blobObjects = &objects;
}

BlobObjectsScope::~BlobObjectsScope() {
    t_blobObjects = m_previous;
}

void COXChildFrameState::LoadContents(CArchive& ar, std::set<CObject*>& owned) {
    WINDOWPLACEMENT wp = LoadPlacement(ar);
    CString path, docClass, frameClass, viewClass;
    int32_t include = 0;
    ar >> path >> docClass >> frameClass >> viewClass >> include;
    CObArray* splitters = LoadObjectArray(ar, RUNTIME_CLASS(COXSplitterColRowState), owned);
    // Read whole: only now does the held state change.
    m_windowPlacement = wp;
    m_sDocPath = path;
    m_sDocClassName = docClass;
    m_sFrameClassName = frameClass;
    m_sViewClassName = viewClass;
    m_bIncludeSplitters = include;
    DeleteObjectArray(m_pSplitterStates);
    m_pSplitterStates = splitters ? splitters : new CObArray;
}

void COXChildFrameState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        StoreContents(ar);
        return;
    }
    UINT schema = ar.GetObjectSchema();
    if (schema != (UINT)-1 && schema > 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    LoadContents(ar);
    m_nSerializeSchemaVersion = schema == (UINT)-1 ? -1 : (int)schema;
}
