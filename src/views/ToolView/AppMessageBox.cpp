#include "views/AppMessageBox.h"

int AppMessageBox(HWND owner, const wchar_t* text, UINT type)
{
    return MessageBoxW(owner, text, L"Orvane", type);
}
