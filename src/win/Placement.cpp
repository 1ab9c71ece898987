#include "win/Placement.h"

namespace win {

void PlaceWindow(HWND window, const RECT& rect)
{
    RECT now{};
    if (!GetWindowRect(window, &now))
        return;
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &rect))
        return;
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
