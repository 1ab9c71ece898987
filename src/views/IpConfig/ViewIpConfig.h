// The IP configuration page: an adapter chooser ("General") and the live
// counters of the chosen adapter's interface ("Status").
#pragma once

#include "views/IpConfig/Page1.h"
#include "views/TabbedList/TabbedListView.h"

namespace views {

class ViewIpConfig : public TabbedListView<ViewIpConfig> {
public:
    struct Tab {
        const wchar_t* name;
    };
    static constexpr Tab kTabs[] = {{L"General"}, {L"Status"}};

    // Tab 0 lists the adapters on the page, tab 1 the chosen adapter's status
    // rows; any other number shows the page without a query. A failed query
    // keeps what was shown before; the tab's child is shown either way.
    void ShowTab(int tab);

    const CPage1& Page() const { return page; }

private:
    friend class TabbedListView<ViewIpConfig>;

    void CreatePages();
    void MovePages(int cx, int height);
    void ShowStatus();

    CPage1 page;
};

}  // namespace views
