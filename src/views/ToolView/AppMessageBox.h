// The program's one message box routine, reachable from the views without
// depending on the application module.
#pragma once

#include <windows.h>

namespace views {

// A message box owned by `owner` with the program's caption "Orvane".
int AppMessageBox(HWND owner, const wchar_t* text, UINT type);

}  // namespace views
