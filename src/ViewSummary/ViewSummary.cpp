#include "ViewSummary/ViewSummary.h"

std::span<const ViewSummary::Map::Entry> ViewSummary::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&ViewSummary::OnInitDialog>(),
    };
    return map;
}

LRESULT ViewSummary::OnInitDialog(HWND, LPARAM)
{
    InitFullScreen();
    Refresh();
    return TRUE;
}

LRESULT ViewSummary::Refresh()
{
    return 0;
}
