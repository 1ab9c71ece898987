// The IP configuration page: an adapter chooser ("General") and the live
// counters of the chosen adapter's interface ("Status").
#pragma once

#include "resource_ids.h"
#include "views/ToolView.h"

class ViewIpConfig : public ToolView<ViewIpConfig> {
public:
    static constexpr int kTemplateId = IDD_IPCONFIG;
    using Map = win::MessageMap<ViewIpConfig>;
    static std::span<const Map::Entry> GetMessageMap();

    LRESULT Refresh();

private:
    LRESULT OnInitDialog(HWND, LPARAM);
};
