// The emulated device: screen sides, full-screen dialogs, the menu bar of
// soft keys below its window, the Done button, turning the screen.
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/WineWindows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

// A top-level window standing in for the program's frame; it records what
// the menu bar sends it and closes any popup as soon as it opens.
struct Owner {
    static inline std::vector<HMENU> popups;
    static inline std::vector<WPARAM> commands;
    static inline std::vector<std::pair<HWND, SIZE>> sizes;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_INITMENUPOPUP:
            popups.push_back(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_ENTERIDLE:
            EndMenu();
            break;
        case WM_COMMAND:
            commands.push_back(wParam);
            break;
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static HWND Create()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ShellTestOwner";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"owner", WS_CLIPCHILDREN, 50, 40, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
};

// Records the size messages a dialog gets; ends on OK and Cancel.
INT_PTR CALLBACK RecordingDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_SIZE)
        Owner::sizes.push_back({hwnd, ClientSizeOf(hwnd)});
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// A minimal in-memory dialog template (no controls).
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu = 0, windowClass = 0, title = 0;
};

EmptyTemplate MakeTemplate(DWORD style)
{
    EmptyTemplate t{};
    t.header.style = style;
    t.header.cx = 50;
    t.header.cy = 40;
    return t;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(shell::ScreenHeight(), 320) << "a previous test left the screen turned";
        resources = LoadLocalization();
        ASSERT_NE(resources, nullptr);
        owner = Owner::Create();
        ASSERT_NE(owner, nullptr);
        Owner::popups.clear();
        Owner::commands.clear();
        Owner::sizes.clear();
    }

    void TearDown() override
    {
        if (shell::ScreenHeight() != 320)
            shell::TurnScreen();
        DestroyWindow(owner);
        PumpMessages();
        FreeLibrary(resources);
    }

    // The bar of menu 103, then the frame's own fitting step.
    HWND AttachMenuBar()
    {
        shell::SHMENUBARINFO info{};
        info.cbSize = sizeof info;
        info.hwndParent = owner;
        info.dwFlags = shell::SHCMBF_HMENU;
        info.nToolBarId = IDR_MENUBAR;
        info.hInstRes = resources;
        EXPECT_TRUE(shell::SHCreateMenuBar(&info));
        const RECT bar = WindowRectOf(info.hwndMB);
        const RECT frame = WindowRectOf(owner);
        SetWindowPos(owner, nullptr, 0, 0, frame.right - frame.left, bar.top - frame.top, SWP_NOZORDER | SWP_NOMOVE);
        return info.hwndMB;
    }

    HMODULE resources = nullptr;
    HWND owner = nullptr;
};

TEST_F(ShellTest, ScreenTurnsBetweenPortraitAndLandscape)
{
    EXPECT_EQ(shell::ScreenWidth(), 240);
    EXPECT_EQ(shell::FullScreenArea().cy, 268);
    shell::TurnScreen();
    EXPECT_EQ(shell::ScreenWidth(), 320);
    EXPECT_EQ(shell::ScreenHeight(), 240);
    EXPECT_EQ(shell::FullScreenArea().cx, 320);
    EXPECT_EQ(shell::FullScreenArea().cy, 188);
    shell::TurnScreen();
    EXPECT_EQ(shell::ScreenHeight(), 320);
}

TEST_F(ShellTest, MenuBarSitsBelowItsWindowAndTheWindowFitsAboveIt)
{
    HWND bar = AttachMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetWindow(bar, GW_OWNER), owner);
    EXPECT_TRUE(IsWindowVisible(bar));

    const SIZE client = ClientSizeOf(owner);
    EXPECT_EQ(client.cx, 240);
    EXPECT_EQ(client.cy, 268);
    RECT frame = WindowRectOf(owner);
    RECT r = WindowRectOf(bar);
    EXPECT_EQ(r.top, frame.bottom);
    EXPECT_EQ(r.bottom - r.top, shell::kMenuBarHeight);
    EXPECT_EQ(r.right - r.left, frame.right - frame.left);

    // The system menu turns the screen; the window and the bar follow.
    HMENU system = GetSystemMenu(owner, FALSE);
    ASSERT_NE(GetMenuState(system, shell::SC_TURNSCREEN, MF_BYCOMMAND), static_cast<UINT>(-1));
    SendMessageW(owner, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
    EXPECT_EQ(ClientSizeOf(owner).cx, 320);
    EXPECT_EQ(ClientSizeOf(owner).cy, 188);
    frame = WindowRectOf(owner);
    r = WindowRectOf(bar);
    EXPECT_EQ(r.top, frame.bottom);
    EXPECT_EQ(r.right - r.left, frame.right - frame.left);
}

TEST_F(ShellTest, SoftKeysOpenTheirPopupsForTheOwner)
{
    HWND bar = AttachMenuBar();
    HMENU menu = LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENUBAR));
    ASSERT_NE(menu, nullptr);
    const int keys = GetMenuItemCount(menu);
    ASSERT_GE(keys, 1);

    std::vector<HWND> buttons;
    for (HWND child = GetWindow(bar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        buttons.push_back(child);
    ASSERT_EQ(static_cast<int>(buttons.size()), keys);

    for (int i = 0; i < keys; ++i) {
        wchar_t label[64];
        GetMenuStringW(menu, static_cast<UINT>(i), label, 64, MF_BYPOSITION);
        EXPECT_EQ(WindowText(buttons[static_cast<size_t>(i)]), label);

        Owner::popups.clear();
        SendMessageW(buttons[static_cast<size_t>(i)], BM_CLICK, 0, 0);
        PumpMessages();
        // The popup that opened is the key's own, with the same items.
        ASSERT_EQ(Owner::popups.size(), 1u) << "key " << i;
        HMENU expected = GetSubMenu(menu, i);
        ASSERT_EQ(GetMenuItemCount(Owner::popups[0]), GetMenuItemCount(expected));
        for (int item = 0; item < GetMenuItemCount(expected); ++item)
            EXPECT_EQ(GetMenuItemID(Owner::popups[0], item), GetMenuItemID(expected, item));
    }
    DestroyMenu(menu);
}

TEST_F(ShellTest, FullScreenDialogsFillTheAreaAndFollowTheScreen)
{
    AttachMenuBar();
    auto childTemplate = MakeTemplate(WS_CHILD | DS_CONTROL);
    HWND child = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &childTemplate.header, owner, &RecordingDialog, 0);
    auto popupTemplate = MakeTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    HWND popup = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &popupTemplate.header, owner, &RecordingDialog, 0);
    ASSERT_NE(child, nullptr);
    ASSERT_NE(popup, nullptr);

    for (HWND dialog : {child, popup}) {
        shell::SHINITDLGINFO info{shell::SHIDIM_FLAGS, dialog, shell::SHIDIF_SIZEDLGFULLSCREEN};
        EXPECT_TRUE(shell::SHInitDialog(&info));
    }
    auto expectFullScreen = [&](int cx, int cy) {
        EXPECT_EQ(ClientSizeOf(child).cx, cx);
        EXPECT_EQ(ClientSizeOf(child).cy, cy);
        EXPECT_EQ(ChildRect(child).left, 0);
        EXPECT_EQ(ChildRect(child).top, 0);
        // The pop-up's client area lies exactly over the owner's.
        EXPECT_EQ(ClientSizeOf(popup).cx, cx);
        EXPECT_EQ(ClientSizeOf(popup).cy, cy);
        POINT mine{0, 0}, owners{0, 0};
        ClientToScreen(popup, &mine);
        ClientToScreen(owner, &owners);
        EXPECT_EQ(mine.x, owners.x);
        EXPECT_EQ(mine.y, owners.y);
    };
    expectFullScreen(240, 268);

    Owner::sizes.clear();
    shell::TurnScreen();
    expectFullScreen(320, 188);
    // Each dialog was told of its new size.
    for (HWND dialog : {child, popup}) {
        bool told = false;
        for (const auto& [hwnd, size] : Owner::sizes)
            told = told || (hwnd == dialog && size.cx == 320 && size.cy == 188);
        EXPECT_TRUE(told);
    }
    shell::TurnScreen();
    expectFullScreen(240, 268);

    // A destroyed dialog is no longer followed; the others still are.
    DestroyWindow(child);
    shell::TurnScreen();
    EXPECT_EQ(ClientSizeOf(popup).cx, 320);
    EXPECT_EQ(ClientSizeOf(popup).cy, 188);
    DestroyWindow(popup);
}

TEST_F(ShellTest, DoneButtonConfirmsAsOk)
{
    struct Closer {
        static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD)
        {
            KillTimer(nullptr, id);
            HWND dialog = FindWindowW(L"#32770", L"done");
            if (dialog)
                SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
        {
            if (message == WM_INITDIALOG) {
                SetWindowTextW(hwnd, L"done");
                shell::SHINITDLGINFO info{shell::SHIDIM_FLAGS, hwnd,
                                          shell::SHIDIF_DONEBUTTON | shell::SHIDIF_SIZEDLGFULLSCREEN |
                                              shell::SHIDIF_SIPDOWN};
                shell::SHInitDialog(&info);
                SetTimer(nullptr, 0, 50, &Close);
                return TRUE;
            }
            if (message == WM_COMMAND) {
                EndDialog(hwnd, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        }
    };
    auto t = MakeTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &t.header, owner, &Closer::Proc, 0);
    EXPECT_EQ(result, IDOK);
}

TEST_F(ShellTest, RefusesWhatItCannotDo)
{
    EXPECT_FALSE(shell::SHInitDialog(nullptr));
    shell::SHINITDLGINFO none{shell::SHIDIM_FLAGS, nullptr, shell::SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(shell::SHInitDialog(&none));

    shell::SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = owner;
    info.dwFlags = shell::SHCMBF_HMENU;
    info.nToolBarId = 9999;  // no such menu
    info.hInstRes = resources;
    EXPECT_FALSE(shell::SHCreateMenuBar(&info));
    EXPECT_EQ(info.hwndMB, nullptr);

    // An empty bar needs no resource.
    info.dwFlags = shell::SHCMBF_EMPTYBAR;
    EXPECT_TRUE(shell::SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    EXPECT_EQ(GetWindow(info.hwndMB, GW_CHILD), nullptr);
}

}  // namespace
