// The control and view classes that code tells apart by run-time class.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/controls/ListBox.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/framework/controls/RichEditCtrl.h"
#include "platform/framework/docview/CtrlView.h"

TEST(ControlKinds, EachClassIsOnlyItsOwnKindAndTheViewsAreMadeByClass) {
    const CRuntimeClass* kinds[] = {RUNTIME_CLASS(CListBox),  RUNTIME_CLASS(CRichEditCtrl),
                                    RUNTIME_CLASS(CListCtrl), RUNTIME_CLASS(CListView),
                                    RUNTIME_CLASS(CTreeView), RUNTIME_CLASS(CRichEditView)};
    std::unique_ptr<CObject> objects[] = {std::make_unique<CListBox>(), std::make_unique<CRichEditCtrl>(),
                                          std::make_unique<CListCtrl>()};
    for (size_t i = 0; i < std::size(objects); ++i)
        for (size_t k = 0; k < std::size(kinds); ++k)
            EXPECT_EQ(objects[i]->IsKindOf(kinds[k]) != 0, i == k) << kinds[i]->m_lpszClassName << " " << k;
    for (size_t k = 3; k < std::size(kinds); ++k) {
        std::unique_ptr<CObject> view(kinds[k]->CreateObject());
        ASSERT_TRUE(view) << kinds[k]->m_lpszClassName;
        EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CCtrlView)));
        EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CView)));
        for (size_t other = 0; other < std::size(kinds); ++other)
            EXPECT_EQ(view->IsKindOf(kinds[other]) != 0, other == k)
                << kinds[k]->m_lpszClassName << " " << other;
    }
}
