// Data exchange: a string member into a dialog control.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Sets the control's text. When the control refuses it, beeps and puts the
// focus on that control, so the user sees where it went wrong.
bool SetTextOrBeep(HWND dialog, int controlId, const std::wstring& text);

}  // namespace win
