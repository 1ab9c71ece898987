#include "views/TabbedList/TabStrip.h"

#include "win/Placement.h"

#include <commctrl.h>

namespace views {

void InsertTab(HWND tabs, int position, const wchar_t* text)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
}

int FitTabControl(HWND tabs, int cx, int cy)
{
    const RECT area{0, 0, cx, cy};
    if (IsRectEmpty(&area) || !IsWindow(tabs))
        return -1;
    win::PlaceWindow(tabs, {0, 0, cx, cy});
    RECT tab{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    // The pages cover the control down to the strip along its bottom edge.
    return cy - (tab.bottom - tab.top) - 2;
}

}  // namespace views
