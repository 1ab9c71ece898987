// The Summary page: host name, domain name and DNS servers as a short text.
#pragma once

#include "win/OwnedFont.h"
#include "resource_ids.h"
#include "views/ToolView.h"

#include <string>

class ViewSummary : public ToolView<ViewSummary> {
public:
    static constexpr int kTemplateId = IDD_SUMMARY;
    using Map = win::MessageMap<ViewSummary>;
    static std::span<const Map::Entry> GetMessageMap();

    // Reads the network settings again and shows them; keeps the old text when that fails.
    LRESULT Refresh();

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnNcDestroy();

    std::wstring summaryText;
    OwnedFont headlineFont;
};
