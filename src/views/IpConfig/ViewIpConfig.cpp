#include "ViewIpconfig/ViewIpConfig.h"

#include "netinfo/ErrorCheck.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/NetworkInfo.h"
#include "views/NameValueListView.h"
#include "views/TabStrip.h"

#include <commctrl.h>

namespace {

constexpr const wchar_t* kTabTexts[] = {L"General", L"Status"};
constexpr int kStatusTab = 1;
constexpr char kSource[] = "ViewIpconfig/ViewIpconfig";

}  // namespace

std::span<const ViewIpConfig::Map::Entry> ViewIpConfig::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewIpConfig::OnInitDialog>(),
        Map::Size<&ViewIpConfig::OnSize>(),
        Map::Command<&ViewIpConfig::OnOk>(IDOK),
        Map::Command<&ViewIpConfig::OnCancel>(IDCANCEL),
        Map::Notify<&ViewIpConfig::OnTabChanged>(static_cast<int>(TCN_SELCHANGE)),
    };
    return map;
}

LRESULT ViewIpConfig::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    tabs = GetDlgItem(IDC_TABS);
    SendMessageW(tabs, CCM_SETVERSION, COMCTL32_VERSION, 0);
    int position = 0;
    for (const wchar_t* text : kTabTexts)
        InsertTab(tabs, position++, text);
    listView = CreateNameValueListView(tabs);
    // The page's code lives in the program's own image, not in the resource library.
    page.Create(GetModuleHandleW(nullptr), tabs, nullptr, WS_CHILD);
    // Both children came after the full-screen sizing; place them now rather
    // than wait for a size change the platform may never send.
    RECT client{};
    GetClientRect(m_hWnd, &client);
    OnSize(client.right, client.bottom);
    ShowTab(0);
    return TRUE;
}

LRESULT ViewIpConfig::OnSize(int cx, int cy)
{
    const int height = FitTabControl(tabs, cx, cy);
    if (height < 0)
        return 0;
    MoveWindow(listView, 0, 0, cx, height, TRUE);
    MoveWindow(page.m_hWnd, 0, 0, cx, height, TRUE);
    return 0;
}

LRESULT ViewIpConfig::OnTabChanged(const NMHDR&)
{
    Refresh();
    return 0;
}

LRESULT ViewIpConfig::Refresh()
{
    ShowTab(static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
    return 0;
}

void ViewIpConfig::ShowTab(int tab)
{
    try {
        if (tab == 0)
            ErrorCheck(page.FillAdapters(), kSource, 57);
        else if (tab == kStatusTab)
            ShowStatus();
    } catch (const ErrT&) {
        // A failed query keeps what the user saw before; the tab still changes.
    }
    const bool status = tab == kStatusTab;
    ShowWindow(status ? listView : page.m_hWnd, SW_SHOW);
    ShowWindow(status ? page.m_hWnd : listView, SW_HIDE);
}

void ViewIpConfig::ShowStatus()
{
    const NetworkInfo info;
    InterfaceRecord record;
    ErrorCheck(info.FindInterface(page.SelectedIndex(), record), kSource, 64);
    NameValueList rows;
    ErrorCheck(AppendInterfaceStatusRows(record, rows), kSource, 65);
    FillNameValueList(listView, rows);
}
