// The IP configuration page: an adapter chooser ("General") and the live
// counters of the chosen adapter's interface ("Status").
#pragma once

#include "gui/viewipconfig/Page1.h"
#include "resource_ids.h"
#include "views/ToolView.h"

class ViewIpConfig : public ToolView<ViewIpConfig> {
public:
    static constexpr int kTemplateId = IDD_IPCONFIG;
    using Map = win::MessageMap<ViewIpConfig>;
    static std::span<const Map::Entry> GetMessageMap();

    // Reads the current tab's data again.
    LRESULT Refresh();

    // Tab 0 lists the adapters on the page, tab 1 the chosen adapter's status
    // rows; any other number shows the page without a query. A failed query
    // keeps what was shown before; the tab's child is shown either way.
    void ShowTab(int tab);

    const CPage1& Page() const { return page; }

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnTabChanged(const NMHDR&);

    void ShowStatus();

    HWND tabs = nullptr;
    HWND listView = nullptr;
    CPage1 page;
};
