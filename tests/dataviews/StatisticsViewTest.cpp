// The Statistics view over a scripted IP helper: the rows of each tab, in
// the order a user reads them, the message box of a failed read, and the
// layout around the tab strip along the bottom.
#include "DataViewsSupport.h"
#include "FakeIpHelper.h"
#include "netinfo/ProtocolStatistics.h"
#include "resource_ids.h"
#include "views/Statistics/ViewNetstat.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace netinfo;
using namespace views;

using namespace dataviews;
using testing_support::ChildRect;

namespace {

// Distinct values for every field of a structure of 32-bit counters, so that
// a row taken from the wrong field or the wrong structure shows.
template <typename Stats>
void Number(Stats& stats, DWORD first)
{
    static_assert(sizeof(Stats) % sizeof(DWORD) == 0);
    auto* field = reinterpret_cast<DWORD*>(&stats);
    for (size_t i = 0; i < sizeof(Stats) / sizeof(DWORD); ++i)
        field[i] = first + static_cast<DWORD>(i);
}

using Read = HRESULT (ProtocolStatistics::*)(NameValueList&) const;

// The rows the statistics layer builds for one protocol, in its own order.
NameValueList Built(Read read)
{
    NameValueList rows;
    EXPECT_EQ((ProtocolStatistics{}.*read)(rows), S_OK);
    return rows;
}

struct TabCase {
    int tab;
    const wchar_t* text;
    Read read;
    size_t rows;
    const wchar_t* top;
};

constexpr TabCase kTabCases[] = {
    {0, L"TCP", &ProtocolStatistics::ReadTcpStatistics, 15, L"cumulative connections"},
    {1, L"IP", &ProtocolStatistics::ReadIpStatistics, 23, L"number of routes in routing table"},
    {2, L"UDP", &ProtocolStatistics::ReadUdpStatistics, 5, L"number of entries in UDP listener table"},
    {3, L"ICMP in", &ProtocolStatistics::ReadIcmpInStatistics, 13, L"address mask replies"},
    {4, L"ICMP out", &ProtocolStatistics::ReadIcmpOutStatistics, 13, L"address mask replies"},
};

class StatisticsView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Resources(), nullptr);
        Number(fake.tcp, 100);
        Number(fake.ip, 200);
        Number(fake.udp, 300);
        Number(fake.icmp.stats.icmpInStats, 400);
        Number(fake.icmp.stats.icmpOutStats, 500);
    }

    void Create()
    {
        host = std::make_unique<HostedView<ViewNetstat>>();
        ASSERT_NE(host->window, nullptr);
        tabs = GetDlgItem(host->window, IDC_TABS);
        list = ChildOfClass(tabs, WC_LISTVIEWW);
        ASSERT_NE(list, nullptr) << "the list view is a child of the tab control";
    }

    void TearDown() override { host.reset(); }

    int CurrentTab() const { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }

    FakeIpHelper fake;
    std::unique_ptr<HostedView<ViewNetstat>> host;
    HWND tabs = nullptr;
    HWND list = nullptr;
};

TEST_F(StatisticsView, StartsOnTheTcpPageWithItsRowsLastFirst)
{
    MessageBoxWatcher boxes;
    Create();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(fake.calls().getTcpStatistics, 1);
    EXPECT_EQ(CurrentTab(), 0);
    const NameValueList rows = ListRows(list);
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows.front(), (NameValueRow{L"cumulative connections", L"114"}));
    EXPECT_EQ(rows.back(), (NameValueRow{L"Timeout algorithm", L"100"}));
    EXPECT_EQ(rows, Reversed(Built(&ProtocolStatistics::ReadTcpStatistics)));
    EXPECT_TRUE(IsWindowVisible(list));
}

TEST_F(StatisticsView, EachTabShowsItsProtocolsRowsBottomUp)
{
    Create();
    // Forward and back again, so each tab is also reached from another.
    for (const int order : {1, 2, 3, 4, 0, 4, 3, 2, 1}) {
        const TabCase& c = kTabCases[order];
        SCOPED_TRACE(testing::Message() << "tab " << c.tab);
        PickTab(tabs, c.tab);
        EXPECT_EQ(CurrentTab(), c.tab);
        const NameValueList rows = ListRows(list);
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(rows.front().name, c.top);
        EXPECT_EQ(rows, Reversed(Built(c.read)));
    }
    EXPECT_EQ(ListRows(list).back(), (NameValueRow{L"IP forwarding enabled or disabled", L"200"}));
}

TEST_F(StatisticsView, IcmpTabsShowTheSameLabelsWithTheirOwnDirection)
{
    Create();
    PickTab(tabs, 3);
    const NameValueList in = ListRows(list);
    PickTab(tabs, 4);
    const NameValueList out = ListRows(list);
    ASSERT_EQ(in.size(), 13u);
    ASSERT_EQ(out.size(), 13u);
    for (size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(in[i].name, out[i].name);
        EXPECT_NE(in[i].value, out[i].value);
    }
    EXPECT_EQ(in.back(), (NameValueRow{L"number of messages", L"400"}));
    EXPECT_EQ(out.back(), (NameValueRow{L"number of messages", L"500"}));
}

TEST_F(StatisticsView, TabNotificationFromAnySenderReadsTheCurrentTab)
{
    Create();
    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);  // selects without notifying
    EXPECT_EQ(ListRows(list).size(), 15u);
    NMHDR header{nullptr, 4711, TCN_SELCHANGE};
    SendMessageW(host->window, WM_NOTIFY, 4711, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(ListRows(list), Reversed(Built(&ProtocolStatistics::ReadUdpStatistics)));
}

TEST_F(StatisticsView, RefreshReadsAgainAndReplacesTheRows)
{
    Create();
    PickTab(tabs, 1);
    const int calls = fake.calls().getIpStatistics;
    Number(fake.ip, 7000);
    EXPECT_EQ(host->view.Refresh(), 0);
    EXPECT_EQ(fake.calls().getIpStatistics, calls + 1);
    const NameValueList rows = ListRows(list);
    ASSERT_EQ(rows.size(), 23u) << "no duplicates";
    EXPECT_EQ(rows.back(), (NameValueRow{L"IP forwarding enabled or disabled", L"7000"}));
    EXPECT_EQ(rows, Reversed(Built(&ProtocolStatistics::ReadIpStatistics)));
}

TEST_F(StatisticsView, SelectionOutsideTheTabsReadsIcmpOut)
{
    Create();
    for (const int tab : {-1, 5, 1000}) {
        SCOPED_TRACE(tab);
        PickTab(tabs, 0);
        const int calls = fake.calls().getIcmpStatistics;
        host->view.ShowStatistics(tab);
        EXPECT_EQ(fake.calls().getIcmpStatistics, calls + 1);
        EXPECT_EQ(ListRows(list), Reversed(Built(&ProtocolStatistics::ReadIcmpOutStatistics)));
    }
    // The tab control's own "no selection", reached through Refresh.
    PickTab(tabs, 0);
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
    if (CurrentTab() == -1) {
        host->view.Refresh();
        EXPECT_EQ(ListRows(list), Reversed(Built(&ProtocolStatistics::ReadIcmpOutStatistics)));
    }
}

TEST_F(StatisticsView, FailedReadTellsTheUserOnceAndKeepsThePreviousRows)
{
    Create();
    const NameValueList tcpRows = ListRows(list);
    ASSERT_EQ(tcpRows.size(), 15u);

    MessageBoxWatcher boxes;
    fake.udpAnswer = ERROR_NOT_SUPPORTED;
    PickTab(tabs, 2);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const MessageBoxWatcher::Box& box = boxes.boxes().front();
    EXPECT_EQ(box.text, L"Failed to retrieve statistics");
    EXPECT_EQ(box.caption, L"Orvane");
    EXPECT_TRUE(box.errorIcon);
    EXPECT_TRUE(box.okButton);
    EXPECT_FALSE(box.cancelButton);
    EXPECT_EQ(CurrentTab(), 2) << "the tab stays where the user put it";
    EXPECT_EQ(ListRows(list), tcpRows);

    // Every attempt tries again and tells again.
    host->view.Refresh();
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(ListRows(list), tcpRows);

    fake.udpAnswer = NO_ERROR;
    host->view.Refresh();
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(ListRows(list), Reversed(Built(&ProtocolStatistics::ReadUdpStatistics)));
}

TEST_F(StatisticsView, FailedFirstReadLeavesTheListEmpty)
{
    MessageBoxWatcher boxes;
    fake.tcpAnswer = ERROR_NOT_SUPPORTED;
    Create();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes().front().text, L"Failed to retrieve statistics");
    EXPECT_TRUE(ListRows(list).empty());
    PickTab(tabs, 1);
    EXPECT_EQ(ListRows(list).size(), 23u);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(StatisticsView, FiveTabsAllVisibleAlongTheBottom)
{
    Create();
    EXPECT_EQ(TabTexts(tabs), (std::vector<std::wstring>{L"TCP", L"IP", L"UDP", L"ICMP in", L"ICMP out"}));
    EXPECT_EQ(ChildOfClass(tabs, UPDOWN_CLASSW), nullptr) << "the tabs do not fit: the control scrolls them";
    const SIZE client = testing_support::ClientSizeOf(tabs);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        RECT item{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_GE(item.left, 0);
        EXPECT_LE(item.right, client.cx);
        EXPECT_GE(item.top, ChildRect(list).bottom) << "the list covers the strip";
        EXPECT_LE(item.bottom, client.cy);
    }
}

TEST_F(StatisticsView, ListHasNameAndValueColumns)
{
    Create();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    const wchar_t* headings[] = {L"Name", L"Value"};
    for (int i = 0; i < 2; ++i) {
        wchar_t text[32]{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, headings[i]);
        EXPECT_EQ(column.cx, 100);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
}

TEST_F(StatisticsView, ListLeavesTheTabStripUncovered)
{
    Create();
    // Placed once both exist, with no further size message.
    const SIZE client = testing_support::ClientSizeOf(host->window);
    int h = TabStripHeight(tabs);
    ASSERT_GT(h, 0);
    EXPECT_TRUE(SameRect(ChildRect(tabs), RECT{0, 0, client.cx, client.cy}));
    EXPECT_TRUE(SameRect(ChildRect(list), RECT{0, 0, client.cx, client.cy - h - 2}));

    for (const SIZE size : {SIZE{240, 320}, SIZE{320, 188}, SIZE{240, 268}}) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
        h = TabStripHeight(tabs);
        EXPECT_TRUE(SameRect(ChildRect(tabs), RECT{0, 0, size.cx, size.cy}));
        EXPECT_TRUE(SameRect(ChildRect(list), RECT{0, 0, size.cx, size.cy - h - 2}));
    }
}

TEST_F(StatisticsView, TabsOf24PixelsInAView320HighLeaveTheList294)
{
    Create();
    SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(40, 24));
    ASSERT_EQ(TabStripHeight(tabs), 24);
    SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 320));
    EXPECT_TRUE(SameRect(ChildRect(list), RECT{0, 0, 240, 294}));
}

TEST_F(StatisticsView, EmptyOrNegativeSizeMovesNothing)
{
    Create();
    SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    const RECT tabRect = ChildRect(tabs);
    const RECT listRect = ChildRect(list);
    for (const LPARAM size : {MAKELPARAM(0, 0), MAKELPARAM(0, 320), MAKELPARAM(240, 0), MAKELPARAM(0xFFF6, 320)}) {
        SCOPED_TRACE(size);
        SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, size);
        EXPECT_TRUE(SameRect(ChildRect(tabs), tabRect));
        EXPECT_TRUE(SameRect(ChildRect(list), listRect));
    }
}

}  // namespace
