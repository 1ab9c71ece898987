#include "views/IpConfig/ViewIpConfig.h"

#include "netinfo/InterfaceStatus.h"
#include "netinfo/NetworkInfo.h"
#include "views/ToolView/ErrorSites.h"
#include "win/Placement.h"

namespace views {
namespace {

constexpr int kStatusTab = 1;

}  // namespace

void ViewIpConfig::CreatePages()
{
    // The page's code lives in the program's own image, not in the resource library.
    page.Create(GetModuleHandleW(nullptr), tabs, nullptr, WS_CHILD);
}

void ViewIpConfig::MovePages(int cx, int height)
{
    win::PlaceWindow(page.m_hWnd, {0, 0, cx, height});
}

void ViewIpConfig::ShowTab(int tab)
{
    try {
        if (tab == 0)
            CheckAt(page.FillAdapters(), kIpConfigAdaptersSite);
        else if (tab == kStatusTab)
            ShowStatus();
    } catch (const netinfo::ErrT&) {
        // A failed query keeps what the user saw before; the tab still changes.
    }
    const bool status = tab == kStatusTab;
    ShowWindow(status ? listView : page.m_hWnd, SW_SHOW);
    ShowWindow(status ? page.m_hWnd : listView, SW_HIDE);
}

void ViewIpConfig::ShowStatus()
{
    const netinfo::NetworkInfo info;
    netinfo::InterfaceRecord record;
    CheckAt(info.FindInterface(page.SelectedIndex(), record), kIpConfigInterfaceSite);
    netinfo::NameValueList rows;
    CheckAt(netinfo::AppendInterfaceStatusRows(record, rows), kIpConfigStatusRowsSite);
    FillNameValueList(listView, rows);
}

}  // namespace views
