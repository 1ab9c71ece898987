// Data exchange: a string member into a dialog control.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Copies text into the control. When the control does not take it, beeps and
// puts the focus on that control so the user sees where it went wrong.
bool ExchangeText(HWND dialog, int controlId, const std::wstring& text);

}  // namespace win
