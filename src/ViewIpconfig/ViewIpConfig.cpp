#include "ViewIpconfig/ViewIpConfig.h"

std::span<const ViewIpConfig::Map::Entry> ViewIpConfig::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewIpConfig::OnInitDialog>(),
        Map::Command<&ViewIpConfig::OnOk>(IDOK),
        Map::Command<&ViewIpConfig::OnCancel>(IDCANCEL),
    };
    return map;
}

LRESULT ViewIpConfig::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    return TRUE;
}

LRESULT ViewIpConfig::Refresh()
{
    return 0;
}
