// The main frame as a user meets it: which view shows, which command is
// checked in the menu that opens, where the frame and menu bar sit.
#include "app/AppModule.h"
#include "app/MainFrame.h"
#include "FakeIpHelper.h"
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/ResourceVariants.h"
#include "support/WineWindows.h"

#include <gtest/gtest.h>

#include <memory>

using namespace netinfo;
using namespace app;

using namespace testing_support;

namespace {

struct ViewRow {
    int viewIndex;
    int command;
};

// Every view command and the view it must show.
constexpr ViewRow kViewCommands[] = {
    {1, ID_VIEW_SUMMARY}, {2, ID_VIEW_IPCONFIG}, {3, ID_VIEW_PING},    {4, ID_VIEW_TRACERT}, {5, ID_VIEW_NSLOOKUP},
    {6, ID_VIEW_WHOIS},   {7, ID_VIEW_NETSTAT},  {8, ID_VIEW_FINGER},  {9, ID_VIEW_PORTSCAN},
};

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Module().Init(GetModuleHandleW(nullptr));
        Module().SetResources(LoadLocalization());
        ASSERT_NE(Module().Resources(), nullptr);
    }

    void SetUp() override
    {
        loop = std::make_unique<MessageLoop>();
        Module().AddMessageLoop(loop.get());
        frame = std::make_unique<MainFrame>();
        ASSERT_NE(frame->CreateFrame(), nullptr);
        ShowWindow(frame->m_hWnd, SW_SHOW);
        PumpMessages();
    }

    void TearDown() override
    {
        if (frame && frame->m_hWnd)
            DestroyWindow(frame->m_hWnd);
        PumpMessages();
        frame.reset();
        Module().RemoveMessageLoop();
        loop.reset();
    }

    void Command(int id) { SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    HWND ViewWindow(int viewIndex) const
    {
        for (const ViewEntry& e : frame->ViewTable())
            if (e.viewIndex == viewIndex)
                return e.viewWindow;
        return nullptr;
    }

    // The views a user can see, as view indexes.
    std::vector<int> VisibleViews() const
    {
        std::vector<int> shown;
        for (const ViewEntry& e : frame->ViewTable())
            if (e.viewWindow && IsWindowVisible(e.viewWindow))
                shown.push_back(e.viewIndex);
        return shown;
    }

    // Opens the popup of the menu bar that holds `id`, as the frame sees it
    // opening, and reads the check mark a user would see.
    bool CheckedInMenu(int id) const
    {
        HMENU bar = LoadMenuW(Module().Resources(), MAKEINTRESOURCEW(IDR_MENUBAR));
        EXPECT_NE(bar, nullptr);
        bool checked = false;
        bool found = false;
        for (int i = 0; bar && i < GetMenuItemCount(bar) && !found; ++i) {
            HMENU popup = GetSubMenu(bar, i);
            if (!popup || GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND) == static_cast<UINT>(-1))
                continue;
            found = true;
            SendMessageW(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(i, FALSE));
            checked = (GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
        }
        EXPECT_TRUE(found) << "no menu item sends " << id;
        DestroyMenu(bar);
        return checked;
    }

    std::unique_ptr<MessageLoop> loop;
    std::unique_ptr<MainFrame> frame;
};

TEST_F(FrameTest, StartsOnTheSummaryWithItsCommandChecked)
{
    EXPECT_EQ(frame->CurrentView(), 1);
    ASSERT_EQ(frame->ViewTable().size(), 9u);
    EXPECT_EQ(VisibleViews(), std::vector<int>{1});
    EXPECT_TRUE(CheckedInMenu(ID_VIEW_SUMMARY));
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_NETSTAT));
    EXPECT_EQ(WindowText(frame->m_hWnd), L"Orvane");

    // The table in creation order, each view a child of the frame.
    const int order[] = {1, 2, 8, 3, 9, 7, 5, 4, 6};
    for (size_t i = 0; i < 9; ++i) {
        const ViewEntry& e = frame->ViewTable()[i];
        EXPECT_EQ(e.viewIndex, order[i]);
        ASSERT_NE(e.viewWindow, nullptr) << "view " << e.viewIndex;
        EXPECT_EQ(GetParent(e.viewWindow), frame->m_hWnd);
    }
}

TEST_F(FrameTest, EveryViewCommandShowsItsViewAlone)
{
    for (const ViewRow& row : kViewCommands) {
        Command(row.command);
        EXPECT_EQ(frame->CurrentView(), row.viewIndex);
        EXPECT_EQ(VisibleViews(), std::vector<int>{row.viewIndex}) << "command " << row.command;
    }
}

TEST_F(FrameTest, StatisticsThenSummaryMovesTheCheckMarkBack)
{
    Command(ID_VIEW_NETSTAT);
    EXPECT_TRUE(CheckedInMenu(ID_VIEW_NETSTAT));
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_SUMMARY));

    Command(ID_VIEW_SUMMARY);
    EXPECT_EQ(VisibleViews(), std::vector<int>{1});
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_NETSTAT));
    EXPECT_TRUE(CheckedInMenu(ID_VIEW_SUMMARY));
}

TEST_F(FrameTest, UnboundCommandShowsTheSummaryUnchecked)
{
    // From the Summary itself: it stays, but loses its check mark.
    Command(ID_VIEW_UNBOUND);
    EXPECT_EQ(VisibleViews(), std::vector<int>{1});
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_SUMMARY));

    // From another view: that one hides and the Summary shows, unchecked.
    Command(ID_VIEW_NETSTAT);
    Command(ID_VIEW_UNBOUND);
    EXPECT_EQ(frame->CurrentView(), 1);
    EXPECT_EQ(VisibleViews(), std::vector<int>{1});
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_SUMMARY));
    EXPECT_FALSE(CheckedInMenu(ID_VIEW_NETSTAT));
}

TEST_F(FrameTest, ReselectingTheCurrentViewKeepsItShownAndChecked)
{
    Command(ID_VIEW_NETSTAT);
    Command(ID_VIEW_NETSTAT);
    EXPECT_EQ(VisibleViews(), std::vector<int>{7});
    EXPECT_TRUE(CheckedInMenu(ID_VIEW_NETSTAT));
}

TEST_F(FrameTest, OnlyItsOwnCommandsAreConsumed)
{
    LRESULT result = 0;
    EXPECT_TRUE(frame->ProcessWindowMessage(frame->m_hWnd, WM_COMMAND, ID_VIEW_PING, 0, result));
    EXPECT_TRUE(frame->ProcessWindowMessage(frame->m_hWnd, WM_COMMAND, ID_REFRESH, 0, result));
    // Anything else goes on to the default processing, and changes nothing.
    EXPECT_FALSE(frame->ProcessWindowMessage(frame->m_hWnd, WM_COMMAND, 40012, 0, result));
    EXPECT_FALSE(frame->ProcessWindowMessage(frame->m_hWnd, WM_COMMAND, 1, 0, result));
    EXPECT_EQ(frame->CurrentView(), 3);
    // The popup message is applied, then still handed on.
    HMENU popup = CreatePopupMenu();
    EXPECT_FALSE(frame->ProcessWindowMessage(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, result));
    DestroyMenu(popup);
}

TEST_F(FrameTest, FillsTheScreenAboveItsMenuBarInBothOrientations)
{
    for (int turn = 0; turn < 3; ++turn) {
        const SIZE area = shell::FullScreenArea();
        const SIZE client = ClientSizeOf(frame->m_hWnd);
        EXPECT_EQ(client.cx, area.cx);
        EXPECT_EQ(client.cy, area.cy);
        EXPECT_EQ(area.cy, shell::ScreenHeight() == 320 ? 268 : 188);

        ASSERT_NE(frame->MenuBar(), nullptr);
        const RECT f = WindowRectOf(frame->m_hWnd);
        const RECT bar = WindowRectOf(frame->MenuBar());
        EXPECT_EQ(bar.top, f.bottom);
        EXPECT_EQ(bar.left, f.left);
        EXPECT_EQ(bar.right, f.right);
        EXPECT_EQ(bar.bottom - bar.top, shell::kMenuBarHeight);

        // Every view fills the client area.
        for (const ViewEntry& e : frame->ViewTable()) {
            const RECT r = ChildRect(e.viewWindow);
            EXPECT_EQ(r.left, 0);
            EXPECT_EQ(r.top, 0);
            EXPECT_EQ(r.right - r.left, area.cx) << "view " << e.viewIndex;
            EXPECT_EQ(r.bottom - r.top, area.cy) << "view " << e.viewIndex;
        }
        SendMessageW(frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
    }
    SendMessageW(frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
    EXPECT_EQ(shell::ScreenHeight(), 320);
}

TEST_F(FrameTest, TheMenuBarFollowsTheFrame)
{
    const RECT before = WindowRectOf(frame->m_hWnd);
    SetWindowPos(frame->m_hWnd, nullptr, before.left + 37, before.top + 11, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT f = WindowRectOf(frame->m_hWnd);
    const RECT bar = WindowRectOf(frame->MenuBar());
    EXPECT_EQ(bar.left, f.left);
    EXPECT_EQ(bar.top, f.bottom);
    EXPECT_EQ(GetWindow(frame->MenuBar(), GW_OWNER), frame->m_hWnd);
}

// Each refresh reads exactly what the current page shows; the other pages
// have nothing to read.
TEST(FrameRefresh, ReachesOnlyTheThreeDataViews)
{
    FakeIpHelper fake;
    fake.hostName = "pda1";
    fake.adapters.push_back({.index = 2, .name = "first"});
    fake.interfaces.push_back({.index = 2, .name = L"first"});
    MessageLoop loop;
    Module().AddMessageLoop(&loop);
    MainFrame frame;
    ASSERT_NE(frame.CreateFrame(), nullptr);

    struct Case {
        int command;
        int FakeCallCounts::*reads;  // null: nothing may be read
    };
    const Case cases[] = {
        {ID_VIEW_SUMMARY, &FakeCallCounts::getNetworkParams},
        {ID_VIEW_IPCONFIG, &FakeCallCounts::getAdaptersInfo},
        {ID_VIEW_NETSTAT, &FakeCallCounts::getTcpStatistics},
        {ID_VIEW_PING, nullptr},
        {ID_VIEW_TRACERT, nullptr},
        {ID_VIEW_NSLOOKUP, nullptr},
        {ID_VIEW_WHOIS, nullptr},
        {ID_VIEW_FINGER, nullptr},
        {ID_VIEW_PORTSCAN, nullptr},
    };
    auto total = [](const FakeCallCounts& c) {
        return c.getNetworkParams + c.getAdaptersInfo + c.getPerAdapterInfo + c.getInterfaceInfo + c.getIfEntry +
               c.getTcpStatistics + c.getIpStatistics + c.getUdpStatistics + c.getIcmpStatistics;
    };
    for (const Case& c : cases) {
        const int before = total(fake.calls());
        SendMessageW(frame.m_hWnd, WM_COMMAND, c.command, 0);
        EXPECT_EQ(total(fake.calls()), before) << "switching to " << c.command << " read the platform";
        fake.ResetCounts();
        SendMessageW(frame.m_hWnd, WM_COMMAND, ID_REFRESH, 0);
        if (c.reads) {
            EXPECT_GE(fake.calls().*c.reads, 1) << "command " << c.command;
        } else {
            EXPECT_EQ(total(fake.calls()), 0) << "command " << c.command;
        }
    }
    DestroyWindow(frame.m_hWnd);
    PumpMessages();
    Module().RemoveMessageLoop();
}

TEST_F(FrameTest, AcceleratorsReachTheFrame)
{
    MSG msg{frame->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(frame->PreTranslateMessage(msg));
    msg.wParam = 'Q';
    EXPECT_FALSE(frame->PreTranslateMessage(msg));
}

TEST_F(FrameTest, DestroyingTheFrameEndsTheLoopWithOne)
{
    DestroyWindow(frame->m_hWnd);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
}

// A resource library without the Ping template: that view has no window,
// and the switching rules hold around it.
TEST(FrameWithoutATemplate, SwitchesToAViewWithoutAWindow)
{
    const std::wstring folder = MakeTempFolder(L"orvane-frame-");
    ASSERT_TRUE(WriteLocalizationVariant(folder, {{RT_DIALOG, IDD_PING, {}}}));
    HMODULE variant = LoadLocalization(folder + L"localization.dll");
    ASSERT_NE(variant, nullptr);
    const HMODULE real = Module().SetResources(variant);

    {
        MessageLoop loop;
        Module().AddMessageLoop(&loop);
        MainFrame frame;
        ASSERT_NE(frame.CreateFrame(), nullptr);
        ShowWindow(frame.m_hWnd, SW_SHOW);
        ASSERT_EQ(frame.ViewTable().size(), 9u);
        HWND summary = frame.ViewTable()[0].viewWindow;
        EXPECT_EQ(frame.ViewTable()[3].viewIndex, 3);
        EXPECT_EQ(frame.ViewTable()[3].viewWindow, nullptr);

        SendMessageW(frame.m_hWnd, WM_COMMAND, ID_VIEW_PING, 0);
        EXPECT_EQ(frame.CurrentView(), 3);
        EXPECT_FALSE(IsWindowVisible(summary));
        SendMessageW(frame.m_hWnd, WM_COMMAND, ID_VIEW_SUMMARY, 0);
        EXPECT_TRUE(IsWindowVisible(summary));
        DestroyWindow(frame.m_hWnd);
        PumpMessages();
        Module().RemoveMessageLoop();
    }
    Module().SetResources(real);
    FreeLibrary(variant);
    RemoveFolder(folder);
}

}  // namespace
