#include "views/Statistics/ViewNetstat.h"

#include "views/ToolView/AppMessageBox.h"

#include <iterator>

namespace views {

void ViewNetstat::PrepareTabs()
{
    // Some tab controls give every tab a minimum width; five of those do not
    // fit 240 pixels and the strip would scroll. Lifted before the first tab,
    // so the control never makes its scroll arrows.
    SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, 0);
}

void ViewNetstat::ShowStatistics(int tabIndex)
{
    constexpr int count = static_cast<int>(std::size(kTabs));
    const netinfo::ProtocolTable& tab = tabIndex >= 0 && tabIndex < count ? kTabs[tabIndex] : kTabs[count - 1];
    netinfo::NameValueList rows;
    const netinfo::ProtocolStatistics statistics;
    if (FAILED((statistics.*tab.read)(rows))) {
        AppMessageBox(m_hWnd, netinfo::kStatisticsReadFailed, MB_OK | MB_ICONERROR);
        return;
    }
    FillNameValueList(listView, rows);
}

}  // namespace views
