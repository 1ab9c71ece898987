#include "app/AboutDlg.h"

#include "app/AppModule.h"
#include "layout/Relayout.h"
#include "resource_ids.h"
#include "shell/Shell.h"
#include "views/ToolView/TemplateView.h"
#include "win/DataExchange.h"

#include <memory>

namespace app {

const wchar_t CAboutDlg::kAboutText[] =
    L"Orvane, network information for your handheld\r\n"
    L"Made by the Orvane developers\r\n"
    L"\r\n"
    L"Updates: see the project's release page";

std::span<const CAboutDlg::Map::Entry> CAboutDlg::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::InitDialog<&CAboutDlg::OnInitDialog>(),
        Map::Size<&CAboutDlg::OnSize>(),
        Map::Plain<&CAboutDlg::OnPaint>(WM_PAINT),
        Map::Command<&CAboutDlg::OnOk>(IDOK),
        Map::Command<&CAboutDlg::OnCancel>(IDCANCEL),
    };
    return map;
}

INT_PTR CAboutDlg::RunModal(HWND owner)
{
    return RunModalFromTemplate(Module().Resources(), IDD_ABOUT, owner);
}

LRESULT CAboutDlg::OnInitDialog(HWND, LPARAM)
{
    shell::SHINITDLGINFO init{shell::SHIDIM_FLAGS, m_hWnd,
                              shell::SHIDIF_DONEBUTTON | shell::SHIDIF_SIZEDLGFULLSCREEN | shell::SHIDIF_SIPDOWN};
    shell::SHInitDialog(&init);

    shell::SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = m_hWnd;
    bar.dwFlags = shell::SHCMBF_EMPTYBAR | shell::SHCMBF_HIDESIPBUTTON;
    shell::SHCreateMenuBar(&bar);

    aboutText = kAboutText;
    win::SetTextOrBeep(m_hWnd, IDC_TEXT, aboutText);
    ShowVersion();
    return TRUE;
}

LRESULT CAboutDlg::OnSize(int, int)
{
    // The about dialog's twins are 102 and 104: 103 is the menu bar.
    const int twin = views::TemplateForScreen(IDD_ABOUT, IDD_ABOUT_LANDSCAPE);
    layout::RelayoutFromTemplate(Module().Resources(), m_hWnd, twin);
    // The relayout puts the template's text back into the version static.
    ShowVersion();
    return 0;
}

LRESULT CAboutDlg::OnPaint()
{
    PAINTSTRUCT ps;
    BeginPaint(m_hWnd, &ps);
    EndPaint(m_hWnd, &ps);
    return 0;
}

HRESULT LastErrorAsHresult()
{
    const auto error = static_cast<LONG>(GetLastError());
    if (error > 0)
        return static_cast<HRESULT>((static_cast<ULONG>(error) & 0xFFFF) | 0x80070000);
    if (error < 0)
        return error;
    return E_FAIL;
}

HRESULT CAboutDlg::ReadProductVersion(WORD& major, WORD& minor, WORD& build, WORD& revision)
{
    const std::wstring path = ProgramPath();
    if (path.empty())
        return LastErrorAsHresult();

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return E_FAIL;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block)
        return E_OUTOFMEMORY;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.get()))
        return LastErrorAsHresult();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (!VerQueryValueW(block.get(), L"\\", reinterpret_cast<void**>(&info), &infoLength) || !info ||
        infoLength < sizeof *info)
        return LastErrorAsHresult();

    major = HIWORD(info->dwProductVersionMS);
    minor = LOWORD(info->dwProductVersionMS);
    build = HIWORD(info->dwProductVersionLS);
    revision = LOWORD(info->dwProductVersionLS);
    return S_OK;
}

void CAboutDlg::ShowVersion()
{
    WORD major = 0, minor = 0, build = 0, revision = 0;
    if (FAILED(ReadProductVersion(major, minor, build, revision)))
        return;
    wchar_t text[32];
    wsprintfW(text, L"%d.%d.%d.%d", major, minor, build, revision);
    SetDlgItemTextW(m_hWnd, IDC_VERSION, text);
}

}  // namespace app
