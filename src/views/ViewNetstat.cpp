#include "views/ViewNetstat.h"

std::span<const ViewNetstat::Map::Entry> ViewNetstat::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewNetstat::OnInitDialog>(),
        Map::Command<&ViewNetstat::OnOk>(IDOK),
        Map::Command<&ViewNetstat::OnCancel>(IDCANCEL),
    };
    return map;
}

LRESULT ViewNetstat::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    return TRUE;
}

LRESULT ViewNetstat::Refresh()
{
    return 0;
}
