#include "guilib/frame/OXWorkspaceState.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "platform/base/File.h"
#include "platform/base/MemFile.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/ControlBar.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/framework/frames/SplitterWnd.h"
#include "platform/user/Toolbar.h"

IMPLEMENT_SERIAL(COXWorkspaceState, CObject, VERSIONABLE_SCHEMA | 1)

namespace {
void DeleteElements(CObArray& array) {
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        delete array.GetAt(i);
    array.RemoveAll();
}

CFrameWnd* MainFrame() {
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (!main || !::IsWindow(main->m_hWnd))
        return nullptr;
    return main->GetTopLevelFrame() ? main->GetTopLevelFrame() : dynamic_cast<CFrameWnd*>(main);
}

bool IsMinimised(UINT show) {
    return show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
}
}  // namespace

COXWorkspaceState::COXWorkspaceState() {
    Reset();
}

COXWorkspaceState::~COXWorkspaceState() {
    DeleteContents();
}

void COXWorkspaceState::DeleteContents() {
    delete m_pDockState;
    m_pDockState = nullptr;
    DeleteElements(m_childFrameStates);
    DeleteElements(m_splitterStates);
    m_mapTabPositions.clear();
}

void COXWorkspaceState::Reset() {
    m_screenSize = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    m_bIncludeMainWindow = TRUE;
    m_bIncludeBars = TRUE;
    m_bIncludeChildFrames = TRUE;
    m_bIncludeSplitterPanes = TRUE;
    m_mainWindowPlacement = WINDOWPLACEMENT{};
    DeleteContents();
    m_pDockState = new CDockState;
}

void COXWorkspaceState::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << kMagic << kVersion;
        StoreContents(ar);
        return;
    }
    uint32_t magic = 0, version = 0;
    ar >> magic;
    if (magic != kMagic)
        AfxThrowArchiveException(CArchiveException::badSchema);
    ar >> version;
    if (version > kVersion)
        AfxThrowArchiveException(CArchiveException::badSchema);
    LoadContents(ar);
}

void COXWorkspaceState::StoreContents(CArchive& ar) {
    ar << (int32_t)m_screenSize.cx << (int32_t)m_screenSize.cy;
    ar << (int32_t)m_bIncludeMainWindow;
    StorePlacement(ar, m_mainWindowPlacement);
    ar << (int32_t)m_bIncludeBars;
    if (!m_pDockState)
        m_pDockState = new CDockState;
    ar.WriteObject(m_pDockState);
    ar << (int32_t)m_bIncludeChildFrames;
    ar << (int32_t)m_bIncludeSplitterPanes;
    ar.WriteObject(&m_childFrameStates);
    ar.WriteCount(m_mapTabPositions.size());
    for (const auto& [id, position] : m_mapTabPositions) {
        ar << (uint32_t)id;
        ar << position.nBarID << position.nDockBarID << position.nTabIndex << position.bCurrentTab;
    }
    ar << (int32_t)m_bIncludeSplitterPanes;
    ar.WriteObject(&m_splitterStates);
}

void COXWorkspaceState::LoadContents(CArchive& ar) {
    // Everything goes into new objects first; a blob that ends early or is damaged changes nothing.
    std::set<CObject*> owned;
    BlobObjectsScope scope(owned);
    std::unique_ptr<CDockState> dockState;
    std::unique_ptr<CObArray> children, splitters;
    auto freeArray = [](std::unique_ptr<CObArray>& array) {
        if (array)
            DeleteElements(*array);
        array.reset();
    };
    try {
        int32_t cx, cy, includeMain, includeBars, includeChildren, includeSplitters, includeSplitters2;
        ar >> cx >> cy >> includeMain;
        WINDOWPLACEMENT wp = LoadPlacement(ar);
        ar >> includeBars;
        dockState.reset(static_cast<CDockState*>(ar.ReadObject(RUNTIME_CLASS(CDockState))));
        if (dockState)
            owned.insert(dockState.get());
        ar >> includeChildren >> includeSplitters;
        children.reset(LoadObjectArray(ar, RUNTIME_CLASS(COXChildFrameState), owned));
        DWORD_PTR count = ar.ReadCount();
        std::map<DWORD, OXDOCKTABPOSITION> tabs;
        for (DWORD_PTR i = 0; i < count; ++i) {  // each entry reads its 20 bytes or the archive throws
            uint32_t id;
            OXDOCKTABPOSITION position;
            ar >> id >> position.nBarID >> position.nDockBarID >> position.nTabIndex >> position.bCurrentTab;
            tabs[id] = position;
        }
        ar >> includeSplitters2;
        splitters.reset(LoadObjectArray(ar, RUNTIME_CLASS(COXSplitterColRowState), owned));

        DeleteContents();
        m_screenSize = {cx, cy};
        m_bIncludeMainWindow = includeMain;
        m_mainWindowPlacement = wp;
        m_bIncludeBars = includeBars;
        m_pDockState = dockState ? dockState.release() : new CDockState;
        m_bIncludeChildFrames = includeChildren;
        m_bIncludeSplitterPanes = includeSplitters2;
        m_mapTabPositions = std::move(tabs);
        if (children)
            m_childFrameStates.vec() = children->vec();
        if (splitters)
            m_splitterStates.vec() = splitters->vec();
        if (children)
            children->RemoveAll();
        if (splitters)
            splitters->RemoveAll();
    } catch (...) {
        freeArray(children);
        freeArray(splitters);
        throw;
    }
}

BOOL COXWorkspaceState::ComputeState() {
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    CFrameWnd* frame = MainFrame();
    if (m_bIncludeMainWindow && main && ::IsWindow(main->m_hWnd)) {
        m_mainWindowPlacement = WINDOWPLACEMENT{};
        m_mainWindowPlacement.length = sizeof m_mainWindowPlacement;
        main->GetWindowPlacement(&m_mainWindowPlacement);
    }
    BOOL ok = TRUE;
    if (m_bIncludeBars && frame) {
        delete m_pDockState;
        m_pDockState = new CDockState;
        frame->GetDockState(*m_pDockState);
        ComputeTabPositions(*m_pDockState);
    }
    if (m_bIncludeChildFrames && !ComputeChildFrameStates())
        ok = FALSE;
    if (m_bIncludeSplitterPanes && frame)
        ComputeSplitterStates(frame);
    return ok;
}

BOOL COXWorkspaceState::ComputeTabPositions(CDockState& dockState) {
    m_mapTabPositions.clear();
    CFrameWnd* frame = MainFrame();
    if (!frame)
        return TRUE;
    for (CControlBarInfo* info : dockState.m_arrBarInfo) {
        auto* bar = dynamic_cast<COXSizeControlBar*>(info ? frame->GetControlBar(info->m_nBarID) : nullptr);
        COXDockTabCtrl* tabs = bar ? bar->GetDockTabCtrl() : nullptr;
        if (!tabs)
            continue;
        OXDOCKTABPOSITION position;
        position.nBarID = (int32_t)info->m_nBarID;
        position.nDockBarID = ::GetDlgCtrlID(bar->GetSizeDockBar()->m_hWnd);
        position.nTabIndex = tabs->FindTab(bar);
        position.bCurrentTab = position.nTabIndex >= 0 && tabs->GetCurSel() == position.nTabIndex;
        m_mapTabPositions[info->m_nBarID] = position;
    }
    return TRUE;
}

BOOL COXWorkspaceState::ApplyTabPositions(std::vector<CControlBarInfo*>& barInfo) {
    CFrameWnd* frame = MainFrame();
    if (!frame)
        return TRUE;
    static constexpr UINT kDockBars[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                                         AFX_IDW_DOCKBAR_BOTTOM};
    struct Stacked {
        COXSizeDockBar* dockBar;
        COXSizeControlBar* bar;
        OXDOCKTABPOSITION position;
    };
    std::vector<Stacked> stacked;
    for (CControlBarInfo* info : barInfo) {
        auto* bar = dynamic_cast<COXSizeControlBar*>(info ? frame->GetControlBar(info->m_nBarID) : nullptr);
        if (!bar || !bar->m_hWnd)
            continue;
        auto found = m_mapTabPositions.find(info->m_nBarID);
        if (found != m_mapTabPositions.end() && found->second.nTabIndex != -1) {
            auto* dockBar = dynamic_cast<COXSizeDockBar*>(frame->GetControlBar((UINT)found->second.nDockBarID));
            // Only into the strip of the dock bar the dock state put the bar in.
            if (dockBar && bar->GetSizeDockBar() == dockBar && dockBar->m_wndDockTabCtrl.m_hWnd)
                stacked.push_back({dockBar, bar, found->second});
            continue;
        }
        for (UINT id : kDockBars)
            if (auto* dockBar = dynamic_cast<COXSizeDockBar*>(frame->GetControlBar(id)))
                if (dockBar->m_wndDockTabCtrl.FindTab(bar) >= 0)
                    dockBar->m_wndDockTabCtrl.RemoveTab(bar);
    }
    // Lowest index first: each bar's place exists when it goes in, so a strip comes back in its order.
    std::stable_sort(stacked.begin(), stacked.end(), [](const Stacked& x, const Stacked& y) {
        return x.position.nTabIndex < y.position.nTabIndex;
    });
    for (const Stacked& s : stacked)
        if (s.dockBar->m_wndDockTabCtrl.FindTab(s.bar) < 0)
            s.dockBar->m_wndDockTabCtrl.InsertTab(s.bar, s.position.nTabIndex, FALSE);
    for (const Stacked& s : stacked) {
        COXDockTabCtrl& tabs = s.dockBar->m_wndDockTabCtrl;
        if (s.position.bCurrentTab && tabs.FindTab(s.bar) >= 0) {
            tabs.SetCurSel(tabs.FindTab(s.bar));
            tabs.ShowSelectedBar();
        }
    }
    return TRUE;
}

BOOL COXWorkspaceState::ComputeChildFrameStates() {
    DeleteElements(m_childFrameStates);
    CWinApp* app = AfxGetApp();
    auto* mdi = app ? dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd) : nullptr;
    if (!mdi || !mdi->m_hWndMDIClient)
        return TRUE;
    BOOL ok = TRUE;
    for (HWND h = ::GetWindow(mdi->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h));
        if (!child || ::GetWindow(h, GW_OWNER))
            break;
        auto* state = new COXChildFrameState;
        state->SetIncludeSplitters(m_bIncludeSplitterPanes);
        if (state->ComputeState(child)) {
            m_childFrameStates.Add(state);
        } else {
            delete state;
            ok = FALSE;
        }
    }
    return ok;
}

BOOL COXWorkspaceState::ApplyChildFrameStates() {
    BOOL ok = TRUE;
    for (INT_PTR i = m_childFrameStates.GetSize(); i-- > 0;)
        if (!static_cast<COXChildFrameState*>(m_childFrameStates.GetAt(i))->ApplyState())
            ok = FALSE;
    return ok;
}

BOOL COXWorkspaceState::ComputeSplitterStates(CFrameWnd* frame) {
    DeleteElements(m_splitterStates);
    return ComputeSplitterArray(frame, m_splitterStates);
}

BOOL COXWorkspaceState::ApplySplitterStates(CFrameWnd* frame) {
    return ApplySplitterArray(frame, m_splitterStates);
}

BOOL COXWorkspaceState::ApplyState() {
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    CFrameWnd* frame = MainFrame();
    if (m_bIncludeMainWindow && main && ::IsWindow(main->m_hWnd)) {
        WINDOWPLACEMENT wp = m_mainWindowPlacement;
        wp.length = sizeof wp;
        if (IsMinimised(wp.showCmd))
            wp.showCmd = SW_SHOWNORMAL;
        if (!main->IsWindowVisible()) {
            // The window comes up in its stored state when the application shows it.
            app->m_nCmdShow = (int)wp.showCmd;
            wp.showCmd = SW_HIDE;
        }
        main->SetWindowPlacement(&wp);
    }
    if (m_bIncludeBars && frame && m_pDockState) {
        std::vector<CWnd*> flat;
        for (CControlBarInfo* info : m_pDockState->m_arrBarInfo) {
            CControlBar* bar = info ? frame->GetControlBar(info->m_nBarID) : nullptr;
            if (dynamic_cast<CToolBar*>(bar) && (bar->GetStyle() & TBSTYLE_FLAT)) {
                bar->ModifyStyle(TBSTYLE_FLAT, 0);
                flat.push_back(bar);
            }
        }
        frame->SetDockState(*m_pDockState);
        ApplyTabPositions(m_pDockState->m_arrBarInfo);
        // Each floating frame lays itself out again, once. A sizing bar's floating size follows its frame's
        // size: the pixel added for the layout is not kept, or the bar would grow at every start.
        std::vector<std::pair<COXSizeControlBar*, SIZE>> floatSizes;
        for (CControlBarInfo* info : m_pDockState->m_arrBarInfo)
            if (auto* sizeBar = dynamic_cast<COXSizeControlBar*>(info ? frame->GetControlBar(info->m_nBarID) : nullptr))
                if (sizeBar->IsFloating())
                    floatSizes.emplace_back(sizeBar, sizeBar->m_FloatSize);
        std::vector<CFrameWnd*> relaid;
        for (CControlBarInfo* info : m_pDockState->m_arrBarInfo) {
            CControlBar* bar = info ? frame->GetControlBar(info->m_nBarID) : nullptr;
            if (!bar || !bar->IsFloating())
                continue;
            CFrameWnd* floating = bar->GetParentFrame();
            if (!floating || floating == frame || std::find(relaid.begin(), relaid.end(), floating) != relaid.end())
                continue;
            relaid.push_back(floating);
            RECT r;
            floating->GetWindowRect(&r);
            floating->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top + 1);
        }
        for (auto& [sizeBar, size] : floatSizes) {
            if (sizeBar->m_FloatSize.cx == size.cx && sizeBar->m_FloatSize.cy == size.cy)
                continue;
            sizeBar->m_FloatSize = size;
            if (CFrameWnd* floating = sizeBar->GetParentFrame(); floating && floating != frame)
                floating->RecalcLayout();
        }
        for (CWnd* bar : flat)
            bar->ModifyStyle(0, TBSTYLE_FLAT);
    }
    BOOL ok = TRUE;
    if (m_bIncludeSplitterPanes && frame)
        ApplySplitterStates(frame);
    if (m_bIncludeChildFrames && !ApplyChildFrameStates())
        ok = FALSE;
    return ok;
}

BOOL COXWorkspaceState::SerializeFile(LPCTSTR path, BOOL store) {
    CFile file;
    if (!file.Open(path, store ? (CFile::modeCreate | CFile::modeWrite) : CFile::modeRead))
        return FALSE;
    CArchive ar(&file, store ? CArchive::store : CArchive::load, 4096);
    Serialize(ar);
    ar.Close();
    file.Close();
    return TRUE;
}

BOOL COXWorkspaceState::StoreToFile(LPCTSTR path) {
    try {
        ComputeState();
        return SerializeFile(path, TRUE);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

BOOL COXWorkspaceState::LoadFromFile(LPCTSTR path, BOOL apply) {
    try {
        if (!SerializeFile(path, FALSE))
            return FALSE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return apply ? ApplyState() : TRUE;
}

BOOL COXWorkspaceState::StoreToByteArray(CByteArray& bytes) {
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        ar.Close();
    }
    bytes.vec().resize((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.vec().empty())
        file.Read(bytes.GetData(), (UINT)bytes.GetSize());
    return TRUE;
}

BOOL COXWorkspaceState::LoadFromByteArray(const CByteArray& bytes) {
    std::vector<BYTE> copy = bytes.vec();
    CMemFile file(copy.data(), (UINT)copy.size());
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
    return TRUE;
}

BOOL COXWorkspaceState::ReadWriteRegistryBlob(BOOL write, LPCTSTR valueName, LPCTSTR company,
                                              LPCTSTR application, HKEY root, CByteArray& bytes) {
    HKEY software = nullptr;
    // "Software" always exists where the system keeps its registry; a fresh file may not have it yet.
    LONG opened = write ? RegCreateKeyEx(root, "Software", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                         nullptr, &software, nullptr)
                        : RegOpenKeyEx(root, "Software", 0, KEY_READ, &software);
    if (opened != ERROR_SUCCESS)
        return FALSE;
    CString path = CString(company) + "\\" + application + "\\WorkspaceState";
    HKEY key = nullptr;
    LONG error = write ? RegCreateKeyEx(software, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, &key, nullptr)
                       : RegOpenKeyEx(software, path, 0, KEY_READ, &key);
    RegCloseKey(software);
    if (error != ERROR_SUCCESS)
        return FALSE;
    if (write) {
        error = RegSetValueEx(key, valueName, 0, REG_BINARY, bytes.GetData(), (DWORD)bytes.GetSize());
    } else {
        bytes.RemoveAll();
        DWORD type = 0, size = 0;
        error = RegQueryValueEx(key, valueName, nullptr, &type, nullptr, &size);
        if (error == ERROR_SUCCESS) {
            std::vector<BYTE> data(size);
            error = RegQueryValueEx(key, valueName, nullptr, &type, data.data(), &size);
            if (error == ERROR_SUCCESS) {
                data.resize(size);
                bytes.vec() = std::move(data);
            }
        }
    }
    RegCloseKey(key);
    return error == ERROR_SUCCESS;
}

namespace {
// The company and application names, defaulted from the application; FALSE without a company.
bool Names(LPCTSTR company, LPCTSTR application, CString& companyOut, CString& applicationOut) {
    CWinApp* app = AfxGetApp();
    companyOut = company ? CString(company) : app ? app->m_pszRegistryKey : CString();
    applicationOut = application ? CString(application) : app ? app->m_pszProfileName : CString();
    return !companyOut.IsEmpty();
}
}  // namespace

BOOL COXWorkspaceState::StoreToRegistry(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root) {
    CString companyName, applicationName;
    if (!Names(company, application, companyName, applicationName))
        return FALSE;
    try {
        ComputeState();
        CByteArray bytes;
        StoreToByteArray(bytes);
        return ReadWriteRegistryBlob(TRUE, valueName ? valueName : "Main", companyName, applicationName, root,
                                     bytes);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

BOOL COXWorkspaceState::LoadFromRegistry(LPCTSTR valueName, LPCTSTR company, LPCTSTR application, HKEY root,
                                         BOOL apply) {
    CString companyName, applicationName;
    if (!Names(company, application, companyName, applicationName))
        return FALSE;
    CByteArray bytes;
    if (!ReadWriteRegistryBlob(FALSE, valueName ? valueName : "Main", companyName, applicationName, root, bytes))
        return FALSE;
    try {
        LoadFromByteArray(bytes);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return apply ? ApplyState() : TRUE;
}
