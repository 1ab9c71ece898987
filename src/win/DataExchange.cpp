#include "win/DataExchange.h"

namespace win {

bool SetTextOrBeep(HWND dialog, int controlId, const std::wstring& text)
{
    if (SetDlgItemTextW(dialog, controlId, text.c_str()))
        return true;
    MessageBeep(0xFFFFFFFF);
    SetFocus(GetDlgItem(dialog, controlId));
    return false;
}

}  // namespace win
