#include "views/ToolView/AppMessageBox.h"

namespace views {

int AppMessageBox(HWND owner, const wchar_t* text, UINT type)
{
    return MessageBoxW(owner, text, L"Orvane", type);
}

}  // namespace views
