// The Statistics page: the TCP, IP, UDP and ICMP counters, one protocol per tab.
#pragma once

#include "resource_ids.h"
#include "views/ToolView.h"

class ViewNetstat : public ToolView<ViewNetstat> {
public:
    static constexpr int kTemplateId = IDD_NETSTAT;
    using Map = win::MessageMap<ViewNetstat>;
    static std::span<const Map::Entry> GetMessageMap();

    LRESULT Refresh();

private:
    LRESULT OnInitDialog(HWND, LPARAM);
};
