// Document templates: which document, frame and view classes make up one kind of document, with the
// menu, accelerators and strings of one resource id.
#pragma once

#include "platform/user/Accelerators.h"

#include "platform/framework/docview/View.h"

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    // The sub-strings of the template's "\n"-separated document string.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    virtual BOOL GetDocString(CString& out, DocStringIndex index) const;
    virtual void LoadTemplate();

    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& pos) const = 0;

    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    // Opens the file in a new document (a new one when the path is null).
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);
    // How well a path fits this template (by the filter extension).
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };
    virtual Confidence MatchDocType(LPCTSTR path, CDocument*& match);

    UINT m_nIDResource = 0;
    const CRuntimeClass* m_pDocClass = nullptr;
    const CRuntimeClass* m_pFrameClass = nullptr;
    const CRuntimeClass* m_pViewClass = nullptr;
    CString m_strDocStrings;
    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;  // from the resource of m_nIDResource, shared

protected:
    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                      const CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& pos) const override { return (CDocument*)m_docList.GetNext(pos); }
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};
