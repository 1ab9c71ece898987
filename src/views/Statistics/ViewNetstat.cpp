#include "views/ViewNetstat.h"

#include "netinfo/ProtocolStatistics.h"
#include "views/AppMessageBox.h"
#include "views/NameValueListView.h"
#include "views/TabStrip.h"

#include <commctrl.h>

#include <iterator>

namespace {

struct ProtocolTab {
    const wchar_t* text;
    HRESULT (ProtocolStatistics::*read)(NameValueList&) const;
};

// In tab order; the last one also stands for any index out of range.
constexpr ProtocolTab kTabs[] = {
    {L"TCP", &ProtocolStatistics::ReadTcpStatistics},
    {L"IP", &ProtocolStatistics::ReadIpStatistics},
    {L"UDP", &ProtocolStatistics::ReadUdpStatistics},
    {L"ICMP in", &ProtocolStatistics::ReadIcmpInStatistics},
    {L"ICMP out", &ProtocolStatistics::ReadIcmpOutStatistics},
};

constexpr int kTabCount = static_cast<int>(std::size(kTabs));

const ProtocolTab& TabFor(int index)
{
    return index >= 0 && index < kTabCount ? kTabs[index] : kTabs[kTabCount - 1];
}

}  // namespace

std::span<const ViewNetstat::Map::Entry> ViewNetstat::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewNetstat::OnInitDialog>(),
        Map::Size<&ViewNetstat::OnSize>(),
        Map::Command<&ViewNetstat::OnOk>(IDOK),
        Map::Command<&ViewNetstat::OnCancel>(IDCANCEL),
        Map::Notify<&ViewNetstat::OnTabChanged>(static_cast<int>(TCN_SELCHANGE)),
    };
    return map;
}

LRESULT ViewNetstat::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    tabs = GetDlgItem(IDC_TABS);
    SendMessageW(tabs, CCM_SETVERSION, COMCTL32_VERSION, 0);
    // Some tab controls give every tab a minimum width; five of those do not
    // fit 240 pixels and the strip would scroll. Lifted before the first tab,
    // so the control never makes its scroll arrows.
    SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, 0);
    for (int i = 0; i < kTabCount; ++i)
        InsertTab(tabs, i, kTabs[i].text);
    listView = CreateNameValueListView(tabs);
    // The list was made after the full-screen sizing; place it now rather
    // than wait for a size change the platform may never send.
    RECT client{};
    GetClientRect(m_hWnd, &client);
    OnSize(client.right, client.bottom);
    ShowStatistics(0);
    return TRUE;
}

LRESULT ViewNetstat::OnSize(int cx, int cy)
{
    const int height = FitTabControl(tabs, cx, cy);
    if (height >= 0)
        MoveWindow(listView, 0, 0, cx, height, TRUE);
    return 0;
}

LRESULT ViewNetstat::OnTabChanged(const NMHDR&)
{
    Refresh();
    return 0;
}

LRESULT ViewNetstat::Refresh()
{
    ShowStatistics(static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
    return 0;
}

void ViewNetstat::ShowStatistics(int tabIndex)
{
    NameValueList rows;
    const ProtocolStatistics statistics;
    if (FAILED((statistics.*TabFor(tabIndex).read)(rows))) {
        AppMessageBox(m_hWnd, L"Failed to retrieve statistics", MB_OK | MB_ICONERROR);
        return;
    }
    FillNameValueList(listView, rows);
}
