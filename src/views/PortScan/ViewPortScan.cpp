#include "views/PortScan/ViewPortScan.h"

#include "resource_ids.h"
#include "win/DataExchange.h"

#include <array>

namespace views {
namespace {

constexpr const wchar_t* kModes[] = {L"comma separated list", L"range", L"well known"};

// Which controls each mode shows: list, then range, then anything else.
struct ModeControl {
    int id;
    bool inList;
    bool inRange;
    bool inOther;
};

constexpr std::array<ModeControl, 6> kModeControls{{
    {IDC_PORT_LIST, true, false, false},
    {IDC_RANGE_FROM_LABEL, false, true, false},
    {IDC_RANGE_FROM, false, true, false},
    {IDC_RANGE_TO_LABEL, false, true, false},
    {IDC_RANGE_TO, false, true, false},
    {IDC_WELL_KNOWN, false, false, true},
}};

}  // namespace

std::span<const ViewPortScan::Map::Entry> ViewPortScan::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewPortScan::OnInitDialog>(),
        Map::Size<&ViewPortScan::OnSize>(),
        Map::Command<&ViewPortScan::OnOk>(IDOK),
        Map::Command<&ViewPortScan::OnModeChanged>(IDC_PORT_MODE, CBN_SELCHANGE),
        Map::Command<&ViewPortScan::IgnoreModeNotification>(IDC_PORT_MODE),
        Map::Command<&ViewPortScan::OnCancel>(IDCANCEL),
    };
    return map;
}

LRESULT ViewPortScan::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    for (const wchar_t* mode : kModes)
        SendDlgItemMessageW(m_hWnd, IDC_PORT_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
    SendDlgItemMessageW(m_hWnd, IDC_PORT_MODE, CB_SETCURSEL, 0, 0);
    UpdateModeControls();
    host = L"Some host";
    win::SetTextOrBeep(m_hWnd, IDC_HOST, host);
    return TRUE;
}

LRESULT ViewPortScan::OnModeChanged()
{
    UpdateModeControls();
    return 0;
}

void ViewPortScan::UpdateModeControls()
{
    const auto selection = SendDlgItemMessageW(m_hWnd, IDC_PORT_MODE, CB_GETCURSEL, 0, 0);
    for (const ModeControl& c : kModeControls) {
        const bool shown = selection == 0 ? c.inList : selection == 1 ? c.inRange : c.inOther;
        ShowWindow(GetDlgItem(c.id), shown ? SW_SHOW : SW_HIDE);
    }
}

}  // namespace views
