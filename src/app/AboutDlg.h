// The about dialog: a fixed text and the program's product version.
#pragma once

#include "win/Window.h"

#include <string>

namespace app {

class CAboutDlg : public win::CDialogImpl<CAboutDlg> {
public:
    using Map = win::MessageMap<CAboutDlg>;
    static std::span<const Map::Entry> GetMessageMap();

    // The value given to EndDialog, or -1 when the dialog cannot run.
    INT_PTR RunModal(HWND owner);

    // The product version of the program's own file, as four unsigned 16-bit parts.
    static HRESULT ReadProductVersion(WORD& major, WORD& minor, WORD& build, WORD& revision);
    void ShowVersion();

    static const wchar_t kAboutText[];

private:
    LRESULT OnInitDialog(HWND, LPARAM);
    LRESULT OnSize(int, int);
    LRESULT OnPaint();

    std::wstring aboutText;
};

// The last error as an HRESULT: E_FAIL when there is none.
HRESULT LastErrorAsHresult();

}  // namespace app
