// One open MDI child frame (its placement, its document's file, the classes of document, frame and view,
// and the splitter rows and columns of its frame), recorded and reopened.
#pragma once

#include <functional>
#include <set>

#include "guilib/frame/OXSplitterColRowState.h"
#include "platform/base/Archive.h"
#include "platform/base/Collections.h"
#include "platform/base/Object.h"
#include "platform/base/String.h"
#include "platform/user/User.h"

class CDocTemplate;
class CFrameWnd;
class CView;
class CSplitterWnd;

class COXChildFrameState : public CObject {
    DECLARE_SERIAL(COXChildFrameState)
public:
    COXChildFrameState();
    ~COXChildFrameState() override;
    COXChildFrameState(const COXChildFrameState&) = delete;
    COXChildFrameState& operator=(const COXChildFrameState&) = delete;

    virtual BOOL ComputeState(CFrameWnd* childFrame);
    // Reopens the document and its frame at the stored placement.
    virtual BOOL ApplyState();
    virtual BOOL ComputeSplitterStates(CFrameWnd* frame);
    virtual BOOL ApplySplitterStates(CFrameWnd* frame);
    virtual void StoreContents(CArchive& ar);
    virtual void LoadContents(CArchive& ar);
    // As LoadContents, with the objects already read in this blob (to refuse a second owner).
    void LoadContents(CArchive& ar, std::set<CObject*>& owned);
    void Serialize(CArchive& ar) override;

    void SetIncludeSplitters(BOOL include) { m_bIncludeSplitters = include; }
    void Reset();

    // The program's steps around reopening a file: `before` runs just before the template opens the
    // path, `after` with the new view once it is open. The log viewer sets the request it needs here.
    using BeforeOpen = std::function<void(CDocTemplate*, const CString& path)>;
    using AfterOpen = std::function<void(CView*)>;
    static void SetOpenHandlers(BeforeOpen before, AfterOpen after);

    WINDOWPLACEMENT m_windowPlacement{};
    CString m_sDocPath;
    CString m_sDocClassName;
    CString m_sFrameClassName;
    CString m_sViewClassName;
    BOOL m_bIncludeSplitters = TRUE;
    CObArray* m_pSplitterStates = nullptr;  // of COXSplitterColRowState, owned, rows first
    int m_nSerializeSchemaVersion = -1;

    // The frame's splitter window: its first child that is one.
    static CSplitterWnd* FindSplitter(CFrameWnd* frame);

protected:
    CDocTemplate* FindTemplate() const;
    BOOL OpenDocument(CDocTemplate* docTemplate, CFrameWnd*& frame);
    void DeleteSplitterStates();
};

// Placement records as the blobs keep them: ten 32-bit values, without the length.
void StorePlacement(CArchive& ar, const WINDOWPLACEMENT& wp);
WINDOWPLACEMENT LoadPlacement(CArchive& ar);
// An array object read from an archive whose elements are all objects of `cls`, none already in `owned`
// (a damaged blob can name one object twice); the array and its elements join `owned`. Anything else
// throws the archive's bad-class exception, with the new objects freed.
CObArray* LoadObjectArray(CArchive& ar, const CRuntimeClass* cls, std::set<CObject*>& owned);
void DeleteObjectArray(CObArray*& array);
// While it lives, child frame states read on this thread register their objects in `objects`.
class BlobObjectsScope {
public:
    explicit BlobObjectsScope(std::set<CObject*>& objects);
    ~BlobObjectsScope();
    BlobObjectsScope(const BlobObjectsScope&) = delete;
    BlobObjectsScope& operator=(const BlobObjectsScope&) = delete;

private:
    std::set<CObject*>* m_previous;
};
// A frame's splitter rows, then columns, appended as new states; FALSE without a splitter.
BOOL ComputeSplitterArray(CFrameWnd* frame, CObArray& states);
// Every state put back on the frame's splitter, which lays itself out again; FALSE without a splitter.
BOOL ApplySplitterArray(CFrameWnd* frame, const CObArray& states);
