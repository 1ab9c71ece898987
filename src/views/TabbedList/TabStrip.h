// The tab strips of the data views: text-only tabs, and the control filling
// its view with the strip along the bottom edge.
#pragma once

#include <windows.h>

namespace views {

void InsertTab(HWND tabs, int position, const wchar_t* text);

// Moves the tab control to (0, 0, cx, cy) and returns the height its pages
// get above the strip; -1 when the size is empty or there is no tab control yet.
int FitTabControl(HWND tabs, int cx, int cy);

}  // namespace views
