// The emulated device where the frame's own tests cannot see it: the soft
// keys of the menu bar open their popups for the bar's owner, the bar
// follows its window, and what the shell refuses.
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/Win32.h"

#include <gtest/gtest.h>

using namespace test;

namespace {

std::vector<HMENU> g_popups;  // opened for the owner, and closed at once

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITMENUPOPUP)
        g_popups.push_back(reinterpret_cast<HMENU>(wParam));
    if (message == WM_ENTERIDLE)
        EndMenu();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Owner()
{
    WNDCLASSW wc{0, &OwnerProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"ShellTestOwner"};
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"owner", WS_CLIPCHILDREN, 50, 40, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(Shell, TheMenuBarsSoftKeysOpenTheirPopupsForTheOwnerAndTheBarFollows)
{
    HWND owner = Owner();
    HMODULE resources = LoadLocalization();
    shell::SHMENUBARINFO info{sizeof info, owner, shell::SHCMBF_HMENU, IDR_MENUBAR, resources};
    ASSERT_TRUE(shell::SHCreateMenuBar(&info));
    EXPECT_EQ(GetWindow(info.hwndMB, GW_OWNER), owner);
    SetWindowPos(owner, nullptr, 77, 33, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // directly below its window, as wide as it
    RECT bar{}, frame{};
    GetWindowRect(info.hwndMB, &bar), GetWindowRect(owner, &frame);
    EXPECT_EQ(bar, (RECT{frame.left, frame.bottom, frame.right, frame.bottom + shell::kMenuBarHeight}));
    HMENU menu = LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENUBAR));
    int key = 0;
    for (HWND button = GetWindow(info.hwndMB, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT), ++key) {
        wchar_t label[64];
        GetMenuStringW(menu, static_cast<UINT>(key), label, 64, MF_BYPOSITION);
        EXPECT_EQ(WindowText(button), label);
        g_popups.clear();
        SendMessageW(button, BM_CLICK, 0, 0);
        PumpMessages();
        ASSERT_EQ(g_popups.size(), 1u) << "key " << key;
        HMENU expected = GetSubMenu(menu, key);
        ASSERT_EQ(GetMenuItemCount(g_popups[0]), GetMenuItemCount(expected));
        for (int item = 0; item < GetMenuItemCount(expected); ++item)
            EXPECT_EQ(GetMenuItemID(g_popups[0], item), GetMenuItemID(expected, item));
    }
    EXPECT_EQ(key, GetMenuItemCount(menu));
    EXPECT_NE(GetMenuState(GetSystemMenu(owner, FALSE), shell::SC_TURNSCREEN, MF_BYCOMMAND), static_cast<UINT>(-1)) << "the turn on the system menu";
    DestroyMenu(menu);

    // Refused: no window to size (a menu the library lacks is the frame's test); an empty bar needs no resource.
    shell::SHINITDLGINFO none{shell::SHIDIM_FLAGS, nullptr, shell::SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(shell::SHInitDialog(nullptr) || shell::SHInitDialog(&none));
    info = {sizeof info, owner, shell::SHCMBF_EMPTYBAR, 9999, resources};
    EXPECT_TRUE(shell::SHCreateMenuBar(&info) && info.hwndMB && !GetWindow(info.hwndMB, GW_CHILD));
    DestroyWindow(owner);
}

}  // namespace
