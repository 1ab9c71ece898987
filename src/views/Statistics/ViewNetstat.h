// The Statistics page: the TCP, IP, UDP and ICMP counters, one protocol per tab.
#pragma once

#include "netinfo/ProtocolStatistics.h"
#include "views/TabbedList/TabbedListView.h"

namespace views {

class ViewNetstat : public TabbedListView<ViewNetstat> {
public:
    // In tab order; the last one also stands for any index out of range.
    static constexpr const auto& kTabs = netinfo::kProtocolTables;

    // Reads one protocol's counters and shows them; on failure tells the
    // user and keeps the rows shown before. Any index but 0 to 3 is "ICMP out".
    void ShowStatistics(int tabIndex);

private:
    friend class TabbedListView<ViewNetstat>;

    void PrepareTabs();
    // The list is the one page, on every tab.
    void CreatePages() { ShowWindow(listView, SW_SHOW); }
    void ShowTab(int tab) { ShowStatistics(tab); }
};

}  // namespace views
