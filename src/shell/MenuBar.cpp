#include "shell/MenuBar.h"

#include "win/Placement.h"

#include <array>
#include <new>

namespace shell {
namespace {

constexpr int kFirstKeyId = 100;

// The place of soft key `i` of `count`: the bar's client area in equal parts.
RECT KeyPlace(int i, int count, int cx, int cy)
{
    return {cx * i / count, 0, cx * (i + 1) / count, cy};
}

}  // namespace

std::span<const MenuBar::Map::Entry> MenuBar::GetMessageMap()
{
    static constexpr Map::Entry map[] = {
        Map::Create<&MenuBar::OnCreate>(),
        Map::Size<&MenuBar::OnSize>(),
        Map::AnyCommand<&MenuBar::OnKey>(BN_CLICKED),
    };
    return map;
}

win::WindowClassInfo MenuBar::GetWindowClassInfo()
{
    win::WindowClassInfo info;
    info.name = L"OrvaneMenuBar";
    info.cursor = LoadCursorW(nullptr, IDC_ARROW);
    info.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return info;
}

HWND MenuBar::CreateFor(HWND owner, HMENU menu, const RECT& where)
{
    auto* bar = new (std::nothrow) MenuBar(menu);
    if (!bar) {
        if (menu)
            DestroyMenu(menu);  // the bar would have owned it
        return nullptr;
    }
    HWND hwnd = bar->Create(GetModuleHandleW(nullptr), owner, L"", WS_POPUP | WS_BORDER,
                            WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, &where);
    if (!hwnd) {
        delete bar;  // never got a window, so OnFinalMessage will not run
        return nullptr;
    }
    // Made visible, a pop-up would take the activation from its owner,
    // whatever its extended style says.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

MenuBar::~MenuBar()
{
    if (menu_)
        DestroyMenu(menu_);
}

void MenuBar::OnFinalMessage(HWND)
{
    delete this;
}

LRESULT MenuBar::OnCreate(const CREATESTRUCTW&)
{
    // Each key is made in its place, so the first size change moves nothing.
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int count = menu_ ? GetMenuItemCount(menu_) : 0;
    for (int i = 0; i < count; ++i) {
        std::array<wchar_t, 64> text{};
        GetMenuStringW(menu_, static_cast<UINT>(i), text.data(), static_cast<int>(text.size()), MF_BYPOSITION);
        const RECT r = KeyPlace(i, count, client.right, client.bottom);
        CreateWindowExW(0, L"BUTTON", text.data(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstKeyId + i)), GetModuleHandleW(nullptr),
                        nullptr);
    }
    return 0;
}

LRESULT MenuBar::OnSize(int cx, int cy)
{
    const int count = menu_ ? GetMenuItemCount(menu_) : 0;
    for (int i = 0; i < count; ++i)
        win::PlaceWindow(GetDlgItem(kFirstKeyId + i), KeyPlace(i, count, cx, cy));
    return 0;
}

LRESULT MenuBar::OnKey(int id, int, HWND key)
{
    const int position = id - kFirstKeyId;
    if (!menu_ || position < 0 || position >= GetMenuItemCount(menu_))
        return 0;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (HMENU popup = GetSubMenu(menu_, position)) {
        RECT r{};
        GetWindowRect(key, &r);
        TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON, r.left, r.top, owner, nullptr);
    } else {
        const UINT command = GetMenuItemID(menu_, position);
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    return 0;
}

}  // namespace shell
