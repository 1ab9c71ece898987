// What the window framework and the emulated shell do that the program's windows cannot show.
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/Win32.h"
#include "win/DataExchange.h"
#include "win/Window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace test;

class Probe : public win::CWindowImpl<Probe> {
public:
    using Map = win::MessageMap<Probe>;
    static std::span<const Map::Entry> GetMessageMap()
    {
        static constexpr Map::Entry map[] = {Map::Notify<&Probe::OnNotify>(-551), Map::Plain<&Probe::OnThrow>(WM_APP)};
        return map;
    }
    static win::WindowClassInfo GetWindowClassInfo() { return {}; }
    void OnFinalMessage(HWND) override { ++finalMessages; }
    int finalMessages = 0;

private:
    LRESULT OnNotify(const NMHDR& header) { return static_cast<LRESULT>(header.idFrom); }
    LRESULT OnThrow() { throw std::runtime_error("handler failed"); }
};

TEST(Window, RoutesNotificationsByCodeSurvivesAThrowingHandlerAndEndsOnce)
{
    Probe probe;
    HWND hwnd = probe.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW);
    ASSERT_EQ(probe.m_hWnd, hwnd);
    NMHDR header{hwnd, 1053, static_cast<UINT>(-551)};
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1053, reinterpret_cast<LPARAM>(&header)), 1053);
    header.code = static_cast<UINT>(-552);
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1053, reinterpret_cast<LPARAM>(&header)), 0) << "another code: the default";
    EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 0) << "a throwing handler gets the default answer";
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
    EXPECT_EQ(std::tuple(probe.m_hWnd, probe.finalMessages), std::tuple(HWND{}, 1));
}

class Dialog : public win::CDialogImpl<Dialog> {
public:
    using Map = win::MessageMap<Dialog>;
    static std::span<const Map::Entry> GetMessageMap()
    {
        static constexpr Map::Entry map[] = {Map::Notify<&Dialog::OnNotify>(-551)};
        return map;
    }

private:
    LRESULT OnNotify(const NMHDR&) { return 42; }
};

LRESULT CALLBACK RefuseText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    return message == WM_SETTEXT ? FALSE : DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST(Dialog, AnswersThroughTheMessageResultAndExchangesText)
{
    Dialog dialog;  // the about dialog's template: a pop-up with an edit control
    HWND hwnd = dialog.Create(LoadLocalization(), IDD_ABOUT, nullptr);
    ASSERT_EQ(dialog.m_hWnd, hwnd);
    NMHDR header{hwnd, 1, static_cast<UINT>(-551)};
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 42) << "through DWLP_MSGRESULT";
    // The text goes in, or the user hears of it and the focus goes there.
    HWND edit = GetDlgItem(hwnd, IDC_TEXT);
    EXPECT_TRUE(win::ExchangeText(hwnd, IDC_TEXT, L"Some host"));
    SetWindowSubclass(edit, &RefuseText, 1, 0);
    ShowWindow(hwnd, SW_SHOW);
    SetFocus(hwnd);
    EXPECT_FALSE(win::ExchangeText(hwnd, IDC_TEXT, L"other"));
    EXPECT_EQ(std::tuple(WindowText(edit), GetFocus()), std::tuple(std::wstring(L"Some host"), edit));
    EXPECT_FALSE(win::ExchangeText(hwnd, 555, L"x"));
    RemoveWindowSubclass(edit, &RefuseText, 1);
    DestroyWindow(hwnd);
    PumpMessages();
}

std::vector<HMENU> g_popups;  // opened for the owner, and closed at once

std::vector<UINT> ItemIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

TEST(Shell, TheMenuBarsSoftKeysOpenTheirPopupsForTheOwner)
{
    WNDCLASSW wc{0, [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_INITMENUPOPUP)
            g_popups.push_back(reinterpret_cast<HMENU>(wParam));
        return message == WM_ENTERIDLE ? EndMenu() : DefWindowProcW(hwnd, message, wParam, lParam);
    }, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"ShellTestOwner"};
    HWND owner = CreateWindowExW(0, MAKEINTATOM(RegisterClassW(&wc)), L"owner", WS_CLIPCHILDREN, 50, 40, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    HMODULE resources = LoadLocalization();
    shell::SHMENUBARINFO info{sizeof info, owner, shell::SHCMBF_HMENU, IDR_MENUBAR, resources};
    ASSERT_TRUE(shell::SHCreateMenuBar(&info));
    EXPECT_EQ(GetWindow(info.hwndMB, GW_OWNER), owner);
    HMENU menu = LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENUBAR));
    int key = 0;
    for (HWND button = GetWindow(info.hwndMB, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT), ++key) {
        wchar_t label[64];
        GetMenuStringW(menu, static_cast<UINT>(key), label, 64, MF_BYPOSITION);
        g_popups.clear();
        SendMessageW(button, BM_CLICK, 0, 0);
        PumpMessages();
        ASSERT_EQ(g_popups.size(), 1u) << "key " << key;
        EXPECT_EQ(std::tuple(WindowText(button), ItemIds(g_popups[0])), std::tuple(std::wstring(label), ItemIds(GetSubMenu(menu, key))));
    }
    EXPECT_EQ(key, GetMenuItemCount(menu));
    EXPECT_NE(GetMenuState(GetSystemMenu(owner, FALSE), shell::SC_TURNSCREEN, MF_BYCOMMAND), static_cast<UINT>(-1)) << "the turn on the system menu";
    DestroyMenu(menu);
    shell::SHINITDLGINFO none{shell::SHIDIM_FLAGS, nullptr, shell::SHIDIF_SIZEDLGFULLSCREEN};  // refused: no window to size
    EXPECT_FALSE(shell::SHInitDialog(nullptr) || shell::SHInitDialog(&none));
    info = {sizeof info, owner, shell::SHCMBF_EMPTYBAR, 9999, resources};  // needs no resource
    EXPECT_TRUE(shell::SHCreateMenuBar(&info) && info.hwndMB && !GetWindow(info.hwndMB, GW_CHILD));
    DestroyWindow(owner);
}

}  // namespace
