// The application's document templates, and the operations over all of their documents.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/window/CmdTarget.h"

class CDocument;
class CDocTemplate;

class CDocManager : public CObject {
public:
    CDocManager() = default;
    ~CDocManager() override;

    void AddDocTemplate(CDocTemplate* tmpl);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const {
        return (CDocTemplate*)m_templateList.GetNext(pos);
    }
    int GetDocumentCount();
    // Opens a file: an open document of that path is activated; otherwise the best-fitting template opens
    // it. A null path makes a new document of the first template.
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL addToMRU = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);
    virtual void OnFileNew();

    CPtrList m_templateList;
};
