// The port scan page: a host and one of three ways of naming ports, with
// only the chosen way's controls visible. It scans nothing.
#pragma once

#include "views/ToolView/TemplateView.h"

#include <string>

namespace views {

class ViewPortScan : public TemplateView<ViewPortScan> {
public:
    using Map = win::MessageMap<ViewPortScan>;
    static std::span<const Map::Entry> GetMessageMap();

    // Shows the controls of the mode selected in the mode combo box.
    void UpdateModeControls();

    const std::wstring& Host() const { return host; }

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnModeChanged();
    // The mode box opening or closing changes no control, yet counts as handled.
    LRESULT IgnoreModeNotification() { return 0; }

    std::wstring host;
};

}  // namespace views
