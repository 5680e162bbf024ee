// The statistics dialog's template.
#include "platform/user/ListView.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource_stats.h"

namespace {
constexpr DWORD kList = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kToggle = BS_CHECKBOX | WS_TABSTOP;

const DialogTemplate kStats{
    IDD_STATS,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    0,
    420,
    262,
    "Stats",
    "MS Sans Serif",
    8,
    {
        {WC_BUTTON, "Select QBroker Logs", -1, 7, 7, 200, 170, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_STATIC, "", IDC_STATS_LOG_FRAME, 14, 19, 186, 134, SS_BLACKFRAME, 0},
        {WC_BUTTON, "Select All", IDC_STATS_SELECT_ALL_LOGS, 14, 158, 60, 14, kToggle | WS_VISIBLE, 0},
        {WC_BUTTON, "Deselect All", IDC_STATS_DESELECT_ALL_LOGS, 80, 158, 60, 14, kToggle, 0},
        {WC_BUTTON, "List of available IDs", -1, 213, 7, 200, 114, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_LISTVIEW, "", IDC_STATS_ID_LIST, 220, 19, 186, 78, kList, 0},
        {WC_BUTTON, "Select All", IDC_STATS_SELECT_ALL_IDS, 220, 102, 60, 14, kToggle | WS_VISIBLE, 0},
        {WC_BUTTON, "Deselect All", IDC_STATS_DESELECT_ALL_IDS, 286, 102, 60, 14, kToggle, 0},
        {WC_EDIT, "", IDC_STATS_ID_COUNT, 356, 103, 50, 12, ES_RIGHT | WS_BORDER | WS_DISABLED | WS_VISIBLE, 0},
        {WC_BUTTON, "List of available Transactions", -1, 213, 125, 200, 114, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_LISTVIEW, "", IDC_STATS_XACT_LIST, 220, 137, 186, 78, kList, 0},
        {WC_BUTTON, "Select All", IDC_STATS_SELECT_ALL_XACTS, 220, 220, 60, 14, kToggle | WS_VISIBLE, 0},
        {WC_BUTTON, "Deselect All", IDC_STATS_DESELECT_ALL_XACTS, 286, 220, 60, 14, kToggle, 0},
        {WC_EDIT, "", IDC_STATS_XACT_COUNT, 356, 221, 50, 12, ES_RIGHT | WS_BORDER | WS_DISABLED | WS_VISIBLE, 0},
        {WC_BUTTON, "Filter on list of ClientMachine IDs", IDC_STATS_FILTER_CM, 14, 184, 190, 10,
         BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Filter on list of QServer IDs", IDC_STATS_FILTER_HS, 14, 197, 190, 10,
         BS_AUTORADIOBUTTON | WS_VISIBLE, 0},
        {WC_BUTTON, "Enable Elapsed Time Calculations", IDC_STATS_ENABLE_ET, 14, 214, 190, 10,
         BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "OK", IDOK, 302, 243, 50, 14,
         BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP | WS_DISABLED | WS_VISIBLE, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 358, 243, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

class VeltrinStatsResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override { return id == IDD_STATS ? &kStats : nullptr; }
};
}  // namespace

const ResourceModule& VeltrinStatsResources() {
    static VeltrinStatsResourceModule module;
    return module;
}
