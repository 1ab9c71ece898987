// The main frame as a user meets it: which view shows, which command is
// checked in the menu that opens, what the refresh command reads, where the
// frame sits; and the about dialog. Its exit code is the process tests'.
#include "app/AboutDlg.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

using namespace test;

namespace {

// The views as the program's users know them: each command, the view it
// shows and the template it is made from, in the order of creation, and
// what the refresh command reads there.
const struct {
    int command, viewIndex, templateId;
    int FakeCalls::*refreshReads;
} kViews[] = {
    {ID_VIEW_SUMMARY, 1, IDD_SUMMARY, &FakeCalls::networkParams}, {ID_VIEW_IPCONFIG, 2, IDD_IPCONFIG, &FakeCalls::adaptersInfo},
    {ID_VIEW_FINGER, 8, IDD_FINGER},   {ID_VIEW_PING, 3, IDD_PING},       {ID_VIEW_PORTSCAN, 9, IDD_PORTSCAN},
    {ID_VIEW_NETSTAT, 7, IDD_NETSTAT, &FakeCalls::tcp},                  {ID_VIEW_NSLOOKUP, 5, IDD_NSLOOKUP},
    {ID_VIEW_TRACERT, 4, IDD_TRACERT}, {ID_VIEW_WHOIS, 6, IDD_WHOIS},
};

// The view shown, or -1 for none or more than one.
int Shown(const Harness& h)
{
    const auto& views = h.frame->ViewTable();
    const auto shown = [](const app::ViewEntry& e) { return e.viewWindow && IsWindowVisible(e.viewWindow); };
    const auto first = std::find_if(views.begin(), views.end(), shown);
    return std::count_if(views.begin(), views.end(), shown) == 1 && first->viewIndex == h.frame->CurrentView() ? first->viewIndex : -1;
}

// The check marks of Summary and Statistics as a user sees them when their popup opens.
std::pair<bool, bool> Checked(const Harness& h)
{
    HMENU bar = LoadMenuW(app::Module().Resources(), MAKEINTRESOURCEW(IDR_MENUBAR)), popup = GetSubMenu(bar, 0);  // "Network"
    SendMessageW(h.frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const std::pair<bool, bool> checked{GetMenuState(popup, ID_VIEW_SUMMARY, MF_BYCOMMAND) & MF_CHECKED, GetMenuState(popup, ID_VIEW_NETSTAT, MF_BYCOMMAND) & MF_CHECKED};
    DestroyMenu(bar);
    return checked;
}

TEST(Frame, ViewCommandsShowOneViewMadeFromItsTemplateAndMoveTheCheckMark)
{
    const struct {
        std::vector<int> commands;
        int shown;
        std::pair<bool, bool> checked;  // Summary, Statistics
    } cases[] = {
        {{}, 1, {true, false}},
        {{ID_VIEW_NETSTAT}, 7, {false, true}},
        {{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY}, 1, {true, false}},
        {{ID_VIEW_UNBOUND}, 1, {false, false}},  // from the Summary: it stays, unchecked
        {{ID_VIEW_NETSTAT, ID_VIEW_UNBOUND}, 1, {false, false}},
        {{ID_VIEW_NETSTAT, ID_VIEW_NETSTAT}, 7, {false, true}},  // its own command: nothing moves, still checked
        {{ID_VIEW_PING, ID_VIEW_SUMMARY, ID_VIEW_PING}, 3, {false, false}},
    };
    for (const auto& c : cases) {
        Harness h;
        for (int command : c.commands)
            h.Command(command);
        EXPECT_EQ(std::tuple(Shown(h), Checked(h)), std::tuple(c.shown, c.checked)) << c.commands.size() << " commands";
    }
    Harness h;
    EXPECT_EQ(WindowText(h.frame->m_hWnd), L"Orvane");
    ASSERT_EQ(h.frame->ViewTable().size(), std::size(kViews));
    for (std::size_t i = 0; i < std::size(kViews); ++i) {
        const auto& row = kViews[i];
        const app::ViewEntry& e = h.frame->ViewTable()[i];
        EXPECT_EQ(std::tuple(e.viewIndex, e.commandId, app::MainFrame::Views()[i].templateId), std::tuple(row.viewIndex, row.command, row.templateId));
        EXPECT_EQ(GetParent(e.viewWindow), h.frame->m_hWnd);
        h.fake.ResetCounts();
        h.Command(row.command);
        EXPECT_EQ(std::tuple(Shown(h), h.fake.calls.Total()), std::tuple(row.viewIndex, 0)) << "switching reads nothing";
        h.Command(ID_REFRESH);
        EXPECT_EQ(h.fake.calls.Total() > 0, row.refreshReads != nullptr) << row.command;
        EXPECT_TRUE(!row.refreshReads || h.fake.calls.*row.refreshReads > 0) << row.command;
    }
    LRESULT result = 0;
    for (WPARAM other : {40012, 1, 40019})
        EXPECT_FALSE(h.frame->ProcessWindowMessage(h.frame->m_hWnd, WM_COMMAND, other, 0, result)) << "left to the default";
    HMENU popup = CreatePopupMenu();
    EXPECT_FALSE(h.frame->ProcessWindowMessage(h.frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, result))
        << "applied, then handed on";
    DestroyMenu(popup);
}

TEST(Frame, FillsTheScreenAboveItsMenuBarAndTakesItsKeys)
{
    Harness h;
    HWND frame = h.frame->m_hWnd;
    for (const SIZE area : {SIZE{320, 188}, SIZE{240, 268}}) {
        SendMessageW(frame, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
        RECT f{}, bar{};
        GetWindowRect(frame, &f);
        GetWindowRect(h.frame->MenuBar(), &bar);
        EXPECT_EQ(std::tuple(ClientSize(frame).cx, ClientSize(frame).cy, bar), std::tuple(area.cx, area.cy, RECT{f.left, f.bottom, f.right, f.bottom + shell::kMenuBarHeight}));
        for (const app::ViewEntry& e : h.frame->ViewTable())
            EXPECT_EQ(ChildRect(e.viewWindow), (RECT{0, 0, area.cx, area.cy})) << e.viewIndex;
    }
    MSG f5{frame, WM_KEYDOWN, VK_F5, 0, 0, {}}, q{frame, WM_KEYDOWN, 'Q', 0, 0, {}};
    EXPECT_EQ(std::pair(h.frame->PreTranslateMessage(f5), h.frame->PreTranslateMessage(q)), std::pair(true, false));
}

TEST(AboutDialog, ShowsTheTextAndTheProductVersionAfterEveryTurnAndCloses)
{
    for (const auto& [error, hr] : {std::pair{DWORD{ERROR_ACCESS_DENIED}, HRESULT(0x80070005)}, {0x12345, HRESULT(0x80072345)}, {0, E_FAIL}}) {
        SetLastError(error);
        EXPECT_EQ(app::LastErrorAsHresult(), hr) << error;
    }
    const std::wstring text = app::CAboutDlg::kAboutText;

    Harness h;
    std::vector<std::wstring> versions;
    const auto run = [&] { return app::CAboutDlg().RunModal(h.frame->m_hWnd); };
    EXPECT_EQ(WhileModal(run, [&](HWND about) {
        EXPECT_EQ(std::tuple(WindowText(about), WindowText(GetDlgItem(about, IDC_TEXT))), std::tuple(std::wstring(L"About Orvane"), text));
        EXPECT_EQ(GetFocus(), GetDlgItem(about, IDOK)) << "the text would show selected";
        EXPECT_EQ(std::tuple(ClientSize(about).cx, ClientSize(about).cy), std::tuple(240L, 268L));
        for (const int turned : {IDD_ABOUT_LANDSCAPE, IDD_ABOUT}) {
            versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
            SetDlgItemTextW(about, IDC_VERSION, L"stale");
            shell::TurnScreen();
            const auto rects = TemplateRects(about, app::Module().Resources(), turned);
            for (int id : {IDC_VERSION, IDC_ABOUT_LOGO})
                EXPECT_EQ(ChildRect(GetDlgItem(about, id)), rects.at(id)) << turned;
        }
        versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
        return SendMessageW(about, WM_COMMAND, IDOK, 0), false;
    }), IDOK);
    EXPECT_EQ(versions, std::vector<std::wstring>(3, L"1.65535.32.0")) << "the product version, not the file's";
    for (const auto& [message, wParam, expected] : {std::tuple{WM_COMMAND, IDCANCEL, IDCANCEL}, {WM_SYSCOMMAND, SC_CLOSE, IDOK}})
        EXPECT_EQ(WhileModal(run, [=](HWND about) { return SendMessageW(about, message, wParam, 0), false; }), expected)
            << "Cancel, and the Done button of the title bar";
}

}  // namespace
