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
    static win::WindowClassInfo GetWindowClassInfo()
    {
        win::WindowClassInfo info;
        info.loadIcon = [] { return ++iconLoads, LoadIconW(nullptr, IDI_APPLICATION); };
        return info;
    }
    void OnFinalMessage(HWND) override { ++finalMessages; }
    int finalMessages = 0;
    static inline int iconLoads = 0;

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
    Probe second;
    DestroyWindow(second.Create(GetModuleHandleW(nullptr), nullptr, L"second", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(Probe::iconLoads, 1) << "the class icon is loaded for the registration only";
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
    EXPECT_TRUE(win::SetTextOrBeep(hwnd, IDC_TEXT, L"Some host"));
    SetWindowSubclass(edit, &RefuseText, 1, 0);
    ShowWindow(hwnd, SW_SHOW);
    SetFocus(hwnd);
    EXPECT_FALSE(win::SetTextOrBeep(hwnd, IDC_TEXT, L"other"));
    EXPECT_EQ(std::tuple(WindowText(edit), GetFocus()), std::tuple(std::wstring(L"Some host"), edit));
    EXPECT_FALSE(win::SetTextOrBeep(hwnd, 555, L"x"));
    RemoveWindowSubclass(edit, &RefuseText, 1);
    DestroyWindow(hwnd);
    PumpMessages();
}

TEST(Shell, RefusesWhatItCannotDoAndMakesAnEmptyBarWithoutAResource)
{
    shell::SHINITDLGINFO none{shell::SHIDIM_FLAGS, nullptr, shell::SHIDIF_SIZEDLGFULLSCREEN};  // no window to size
    EXPECT_FALSE(shell::SHInitDialog(nullptr) || shell::SHInitDialog(&none));
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    shell::SHMENUBARINFO info{sizeof info, owner, shell::SHCMBF_HMENU, 9999, LoadLocalization()};
    EXPECT_FALSE(shell::SHCreateMenuBar(&info)) << "no such menu";
    info.dwFlags = shell::SHCMBF_EMPTYBAR;
    EXPECT_TRUE(shell::SHCreateMenuBar(&info) && info.hwndMB && !GetWindow(info.hwndMB, GW_CHILD));
    DestroyWindow(owner);
}

}  // namespace
