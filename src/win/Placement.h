// Moving a window only where it is not already: under Wine every move is a
// round trip to the window server, and its size messages, whether or not
// anything changes.
#pragma once

#include <windows.h>

namespace win {

// Puts the window at `rect`, in its parent's client coordinates for a child
// and the screen's for a top-level window, unless it is there already.
void PlaceWindow(HWND window, const RECT& rect);

}  // namespace win
