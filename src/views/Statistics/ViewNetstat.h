// The Statistics page: the TCP, IP, UDP and ICMP counters, one protocol per tab.
#pragma once

#include "resource_ids.h"
#include "views/ToolView.h"

class ViewNetstat : public ToolView<ViewNetstat> {
public:
    static constexpr int kTemplateId = IDD_NETSTAT;
    using Map = win::MessageMap<ViewNetstat>;
    static std::span<const Map::Entry> GetMessageMap();

    // Reads the protocol of the current tab again.
    LRESULT Refresh();

    // Reads one protocol's counters and shows them; on failure tells the
    // user and keeps the rows shown before. Any index but 0 to 3 is "ICMP out".
    void ShowStatistics(int tabIndex);

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnTabChanged(const NMHDR&);

    HWND tabs = nullptr;
    HWND listView = nullptr;
};
