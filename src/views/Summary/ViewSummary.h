// The Summary page: host name, domain name and DNS servers as a short text.
#pragma once

#include "views/ToolView/ToolView.h"
#include "win/OwnedFont.h"

#include <string>

namespace views {

class ViewSummary : public ToolView<ViewSummary> {
public:
    using Map = win::MessageMap<ViewSummary>;
    static std::span<const Map::Entry> GetMessageMap();

    // Reads the network settings again and shows them; keeps the old text when that fails.
    LRESULT Refresh() override;

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnSize(int cx, int cy);
    LRESULT OnNcDestroy();

    std::wstring summaryText;
    win::OwnedFont headlineFont;
};

}  // namespace views
