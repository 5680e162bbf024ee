// The log document: it holds nothing of its own; its name is the report's list key, and opening it only
// records that name for the view.
#pragma once

#include "platform/framework/docview/Document.h"

class CVeltrinDoc : public CDocument {
    DECLARE_DYNCREATE(CVeltrinDoc)
public:
    CVeltrinDoc() = default;
    ~CVeltrinDoc() override = default;

    BOOL OnNewDocument() override;
    // Records the path in _csFileOpenName; refuses an empty path and a log marked " - N/A".
    BOOL OnOpenDocument(LPCTSTR path) override;

protected:
    // 1100: opens the stored path again.
    void OnReopenStoredPath();
    // ID_FILE_SAVE_AS: the main window saves the active pad page.
    void OnSaveEditPadAs();
    DECLARE_MESSAGE_MAP()
};
