// Every view in the real frame, in both orientations; what a failed read leaves is the fault matrix's.
#include "netinfo/InterfaceStatus.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace netinfo;
using namespace test;

namespace {

// The rows the lower layers build now, as a list filled at the top shows them.
NameValueList Shown(HRESULT (ProtocolStatistics::*read)(NameValueList&) const)
{
    NameValueList rows;
    EXPECT_EQ((ProtocolStatistics{}.*read)(rows), S_OK);
    return {rows.rbegin(), rows.rend()};
}

NameValueList StatusShown(uint32_t index)
{
    InterfaceRecord record;
    NameValueList rows;
    EXPECT_EQ(NetworkInfo{}.FindInterface(index, record), S_OK);
    AppendInterfaceStatusRows(record, rows);
    return {rows.rbegin(), rows.rend()};
}

// As made, then sized as the screen turns; sizes without area (0 or negative) move nothing.
void ExpectLayout(HWND view, const std::function<std::vector<std::pair<HWND, RECT>>(LONG cx, LONG cy)>& layout)
{
    for (const auto& [control, rect] : layout(ClientSize(view).cx, ClientSize(view).cy))
        EXPECT_EQ(ChildRect(control), rect) << ClassOf(control) << " as made";
    for (const auto& [cx, cy] : {std::pair{240, 268}, {320, 188}, {0, 268}, {240, 0}, {-10, 268}, {240, -10}}) {
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, cy));
        const bool empty = cx <= 0 || cy <= 0;
        for (const auto& [control, rect] : layout(empty ? 320 : cx, empty ? 188 : cy))
            EXPECT_EQ(ChildRect(control), rect) << ClassOf(control) << " at " << cx << " x " << cy;
    }
}

TEST(Summary, ShowsTheSettingsInItsLayoutAndFont)
{
    auto h = std::make_unique<Harness>();
    HWND view = h->View(ID_VIEW_SUMMARY), text = GetDlgItem(view, IDC_TEXT), headline = GetDlgItem(view, IDC_HEADLINE);
    EXPECT_EQ(WindowText(text), L"Host: pocket\r\nDomain: example.net\r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n");
    EXPECT_EQ(h->fake.calls.networkParams, 2) << "one probe and one fill at the start";
    h->fake.hostName = "changed", h->fake.dnsServers = {""};
    h->Command(ID_REFRESH);
    EXPECT_EQ(WindowText(text), L"Host: changed\r\nDomain: example.net\r\nDNS servers: \r\n");
    ExpectLayout(view, [&](LONG cx, LONG cy) {
        return std::vector<std::pair<HWND, RECT>>{{GetDlgItem(view, IDC_LOGO), {10, 10, 80, 80}}, {headline, {90, 30, cx - 10, 90}}, {text, {10, 100, cx - 10, cy - 10}}};
    });
    // The headline's bold Tahoma 20 lives as long as the view's window.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(headline, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(std::tuple(lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfCharSet, std::wstring(lf.lfFaceName)), std::tuple(20L, 700L, BYTE{0}, BYTE{ANSI_CHARSET}, std::wstring(L"Tahoma")));
    DestroyWindow(h->frame->m_hWnd);
    EXPECT_EQ(GetObjectType(font), 0u) << "the view deletes its font with its window";
    h.reset();

    Harness failing([](FakeIpHelper& f) { f.networkParamsCall.fillAnswer = ERROR_INVALID_DATA; });  // the first read: the template's text stays
    HWND bare = CreateDialogParamW(app::Module().Resources(), MAKEINTRESOURCEW(IDD_SUMMARY), failing.frame->m_hWnd, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    EXPECT_EQ(failing.Text(ID_VIEW_SUMMARY, IDC_TEXT), WindowText(GetDlgItem(bare, IDC_TEXT)));
}

TEST(Statistics, EachTabShowsItsProtocolsRowsBottomUpAboveTheStrip)
{
    Harness h;
    HWND view = h.View(ID_VIEW_NETSTAT), tabs = h.Tabs(ID_VIEW_NETSTAT), list = h.List(ID_VIEW_NETSTAT);
    ASSERT_NE(list, nullptr) << "the list view is a child of the tab control";
    std::vector<std::wstring> names;
    for (const ProtocolTable& table : kProtocolTables)
        names.push_back(table.name);
    EXPECT_EQ(std::tuple(TabTexts(tabs), h.fake.calls.tcp), std::tuple(names, 1)) << "read once at the start";
    EXPECT_EQ(std::tuple(ListRows(list), ListView_GetColumnWidth(list, 0), ListView_GetColumnWidth(list, 1)), std::tuple(Shown(&ProtocolStatistics::ReadTcpStatistics), 100, 100));
    for (int tab : {1, 2, 3, 4, 0, 4, 3, 2, 1}) {
        PickTab(tabs, tab);
        EXPECT_EQ(ListRows(list), Shown(kProtocolTables[tab].read)) << "tab " << tab;
    }
    h.fake.ip = Numbered<MIB_IPSTATS>(7000);  // refresh reads again and replaces the rows
    h.Command(ID_VIEW_NETSTAT);
    h.Command(ID_REFRESH);
    EXPECT_EQ(std::tuple(ListRows(list), ListRows(list).back().value), std::tuple(Shown(&ProtocolStatistics::ReadIpStatistics), std::wstring(L"7000")));
    auto& statistics = dynamic_cast<views::ViewNetstat&>(h.ViewObject(ID_VIEW_NETSTAT));
    for (int tab : {-1, 5, 1000}) {  // any index but 0 to 3 reads ICMP out
        statistics.ShowStatistics(0);
        statistics.ShowStatistics(tab);
        EXPECT_EQ(ListRows(list), Shown(&ProtocolStatistics::ReadIcmpOutStatistics)) << tab;
    }
    // The list leaves the strip of five tabs, and two pixels above it, uncovered.
    RECT strip{};
    ExpectLayout(view, [&](LONG cx, LONG cy) {
        SendMessageW(tabs, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&strip));
        EXPECT_TRUE(strip.right <= cx && strip.top >= ChildRect(list).bottom && !ChildOfClass(tabs, UPDOWN_CLASSW)) << "the five tabs fit, below the list";
        return std::vector<std::pair<HWND, RECT>>{{tabs, {0, 0, cx, cy}}, {list, {0, 0, cx, cy - (strip.bottom - strip.top) - 2}}};
    });
}

// The adapter page: what a user picks and reads.
struct AdapterPage {
    const Harness& h;
    void Pick(int entry) const
    {
        SendMessageW(h.Combo(), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageW(h.Page(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h.Combo()));
    }
    // The entry selected, the index remembered and the text, as one.
    std::tuple<int, uint32_t, std::wstring> Chosen() const
    {
        return {static_cast<int>(SendMessageW(h.Combo(), CB_GETCURSEL, 0, 0)), h.frame->AdapterPage().SelectedIndex(), WindowText(h.TextBox())};
    }
    NameValueList Rows() const { return ListRows(h.List(ID_VIEW_IPCONFIG)); }
    void Tab(int tab) const { PickTab(h.Tabs(ID_VIEW_IPCONFIG), tab); }
    void Refresh() const { h.Command(ID_VIEW_IPCONFIG), h.Command(ID_REFRESH); }
    bool ListShown() const  // the one or the other, by the tab
    {
        const bool list = GetWindowLongPtrW(h.List(ID_VIEW_IPCONFIG), GWL_STYLE) & WS_VISIBLE, page = GetWindowLongPtrW(h.Page(), GWL_STYLE) & WS_VISIBLE;
        EXPECT_NE(list, page);
        return list;
    }
};

using Chosen = std::tuple<int, uint32_t, std::wstring>;

TEST(IpConfig, TheChosenAdaptersNameAndTheRowsOfItsInterfaceThroughRefills)
{
    Harness h;
    const AdapterPage page{h};
    EXPECT_EQ(TabTexts(h.Tabs(ID_VIEW_IPCONFIG)), (std::vector<std::wstring>{L"General", L"Status"}));
    EXPECT_EQ(ComboEntries(h.Combo()), (std::vector<std::pair<std::wstring, uintptr_t>>{{L"eth-two", 2}, {L"wlan-three", 3}, {L"ppp-five", 5}}));
    EXPECT_EQ(page.Chosen(), Chosen(0, 2, L"Selected adapter: 2 with name eth-two"));
    EXPECT_EQ(std::tuple(WindowText(ChildOfClass(h.Page(), L"Static")), page.ListShown(), h.fake.calls.ifEntry), std::tuple(std::wstring(L"Select adapter:"), false, 0))
        << "no status read before the Status tab";
    page.Pick(2);
    EXPECT_EQ(page.Chosen(), Chosen(2, 5, L"Selected adapter: 5 with name ppp-five"));
    page.Tab(1);
    EXPECT_EQ(std::tuple(page.ListShown(), page.Rows()), std::tuple(true, StatusShown(5)));
    page.Tab(0);
    EXPECT_EQ(std::tuple(page.ListShown(), page.Rows(), std::get<0>(page.Chosen())), std::tuple(false, StatusShown(5), 2)) << "the refill keeps the choice";
    page.Tab(1);
    h.fake.interfaces[2].row.dwOutQLen = 4242;
    page.Refresh();
    EXPECT_EQ(std::tuple(page.Rows(), page.Rows().front().value), std::tuple(StatusShown(5), std::wstring(L"4242"))) << "read again, replaced";
    h.fake.interfaces.pop_back();  // the chosen adapter's interface gone: the rows stay, the list shows
    page.Refresh();
    EXPECT_EQ(std::tuple(page.ListShown(), page.Rows().front().value), std::tuple(true, std::wstring(L"4242")));
    for (int other : {-1, 2}) {  // any other tab: the page, and nothing read
        page.Tab(1);
        const int calls = h.fake.calls.Total();
        dynamic_cast<views::ViewIpConfig&>(h.ViewObject(ID_VIEW_IPCONFIG)).ShowTab(other);
        EXPECT_EQ(std::pair(page.ListShown(), h.fake.calls.Total()), std::pair(false, calls)) << other;
    }
    page.Tab(0);  // a failed refill keeps the adapter chosen last for the Status tab
    page.Pick(1);
    h.fake.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA;
    page.Refresh();
    page.Tab(1);
    EXPECT_EQ(page.Rows(), StatusShown(3));
    h.fake.adaptersInfoCall = {};  // a refill keeps the chosen adapter where it moved; gone, the first entry
    page.Tab(0);
    const std::vector<FakeAdapter> before = h.fake.adapters, moved = {{.index = 9, .name = "new-nine"}, {.index = 2, .name = "eth-two"}, {.index = 3, .name = "wlan-three"}};
    for (const auto& [adapters, chosen] : {std::pair{before, Chosen(1, 3, L"Selected adapter: 3 with name wlan-three")}, {moved, Chosen(2, 3, L"Selected adapter: 3 with name wlan-three")},
                                           {{before[2], before[0]}, Chosen(0, 5, L"Selected adapter: 5 with name ppp-five")}}) {
        h.fake.adapters = adapters;
        page.Refresh();
        EXPECT_EQ(std::tuple(ComboEntries(h.Combo()).size(), page.Chosen()), std::tuple(adapters.size(), chosen));
    }
    // Two adapters with one index: whichever is chosen, the first is named.
    h.fake.adapters = {{.index = 7, .name = "first"}, {.index = 7, .name = "second"}, {.index = 4, .name = ""}, {.index = 6, .name = "n\xe9t"}};
    page.Refresh();
    for (int entry : {1, 0, 1}) {
        page.Pick(entry);
        EXPECT_EQ(std::get<2>(page.Chosen()), L"Selected adapter: 7 with name first");
    }
    wchar_t ansi[8]{};
    MultiByteToWideChar(CP_ACP, 0, "n\xe9t", 3, ansi, 8);
    page.Pick(2);
    EXPECT_EQ(std::tuple(ComboEntries(h.Combo())[3].first, std::get<2>(page.Chosen())), std::tuple(std::wstring(ansi), std::wstring(L"Selected adapter: 4 with name ")));
}

TEST(IpConfig, PageAndListCoverTheTabControlAboveItsStrip)
{
    Harness h;
    HWND tabs = h.Tabs(ID_VIEW_IPCONFIG), page = h.Page(), combo = h.Combo();
    EXPECT_EQ(GetParent(page), tabs);
    RECT strip{};
    ExpectLayout(h.View(ID_VIEW_IPCONFIG), [&](LONG cx, LONG cy) {
        SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&strip));
        const LONG height = cy - (strip.bottom - strip.top) - 2;
        return std::vector<std::pair<HWND, RECT>>{{h.List(ID_VIEW_IPCONFIG), {0, 0, cx, height}}, {page, {0, 0, cx, height}},
                                                  {ChildOfClass(page, L"Static"), {10, 10, cx - 10, 30}}, {h.TextBox(), {10, 60, cx - 10, height - 10}}};
    });
    RECT dropped{};  // the combo box's 70 pixels hold its dropped-down list
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(std::tuple(ChildRect(combo).left, ChildRect(combo).top, ChildRect(combo).right, ChildRect(combo).bottom - ChildRect(combo).top + dropped.bottom - dropped.top),
              std::tuple(10L, 30L, 310L, 70L));
    EXPECT_EQ(GetWindowLongPtrW(h.TextBox(), GWL_STYLE) & (ES_MULTILINE | ES_READONLY), ES_MULTILINE) << "the user may edit it";
    EXPECT_EQ(std::tuple(GetClassLongPtrW(page, GCL_STYLE), GetClassLongPtrW(page, GCLP_HBRBACKGROUND), GetClassLongPtrW(page, GCLP_HCURSOR), GetClassLongPtrW(page, GCLP_HICON)),
              std::tuple(ULONG_PTR{CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS}, ULONG_PTR{COLOR_WINDOW + 1}, reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)), ULONG_PTR{}));
}

TEST(TemplateViews, FollowTheScreenToTheirLandscapeTwinAndBack)
{
    Harness h;
    for (const app::ViewEntry& row : h.frame->ViewTable()) {
        if (row.templateId == IDD_SUMMARY || row.templateId == IDD_NETSTAT || row.templateId == IDD_IPCONFIG)
            continue;  // the data views lay themselves out
        HWND view = h.View(row.commandId);
        SCOPED_TRACE(row.templateId);
        for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            MoveWindow(child, 1, 1, 5, 5, FALSE);
        shell::TurnScreen();
        EXPECT_EQ(ClientSize(view).cx, 320);
        ExpectAtTemplate(view, app::Module().Resources(), row.templateId + 1);
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 500));  // the screen decides, not the size the message carries
        ExpectAtTemplate(view, app::Module().Resources(), row.templateId + 1);
        shell::TurnScreen();
        ExpectAtTemplate(view, app::Module().Resources(), row.templateId);
    }
}

TEST(TemplateViews, OkAndCancelEndAViewAndOtherCommandsDoNothing)
{
    Harness h;  // the resource library in place
    for (const auto& [commands, result] : {std::pair{std::vector<WPARAM>{IDC_START, MAKEWPARAM(IDC_PORT_MODE, CBN_SELCHANGE), 4242, IDOK}, IDOK}, {{IDCANCEL}, IDCANCEL}}) {
        std::size_t sent = 0;
        const auto modal = [&] { return views::ViewPortScan().RunModalFromTemplate(app::Module().Resources(), IDD_PORTSCAN, h.frame->m_hWnd); };
        EXPECT_EQ(WhileModal(modal, [&](HWND dialog) { return SendMessageW(dialog, WM_COMMAND, commands[sent], 0), ++sent < commands.size(); }), result);
        EXPECT_EQ(sent, commands.size()) << "the view ended early";
    }
}

// Visibility of the list, range and well-known controls, as 0 and 1.
std::string ModeControls(HWND view)
{
    std::string shown;
    for (int id : {IDC_PORT_LIST, IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO, IDC_WELL_KNOWN})
        shown += IsWindowVisible(GetDlgItem(view, id)) ? '1' : '0';
    return shown;
}

TEST(PortScan, EachModeShowsOnlyItsControls)
{
    Harness h;
    h.Command(ID_VIEW_PORTSCAN);
    HWND view = h.View(ID_VIEW_PORTSCAN), combo = GetDlgItem(view, IDC_PORT_MODE);
    const auto choose = [&](int selection, WORD notification = CBN_SELCHANGE) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        SendMessageW(view, WM_COMMAND, MAKEWPARAM(IDC_PORT_MODE, notification), reinterpret_cast<LPARAM>(combo));
    };
    EXPECT_EQ(ComboEntries(combo), (std::vector<std::pair<std::wstring, uintptr_t>>{{L"comma separated list", 0}, {L"range", 0}, {L"well known", 0}}));
    EXPECT_EQ(std::tuple(SendMessageW(combo, CB_GETCURSEL, 0, 0), ModeControls(view)), std::tuple(0, std::string("100000")));
    EXPECT_EQ(h.Text(ID_VIEW_PORTSCAN, IDC_HOST), L"Some host");
    for (const auto& [selection, shown] : {std::pair{1, "011110"}, {2, "000001"}, {0, "100000"}, {-1, "000001"}, {1, "011110"}}) {
        choose(selection);
        EXPECT_EQ(ModeControls(view), shown) << selection;
    }
    for (WORD notification : {WORD{CBN_DROPDOWN}, WORD{CBN_CLOSEUP}, WORD{CBN_SETFOCUS}, WORD{CBN_SELENDOK}})
        choose(0, notification);
    EXPECT_EQ(ModeControls(view), "011110") << "only a selection change switches";
    EXPECT_TRUE(IsWindowVisible(combo) && IsWindowVisible(GetDlgItem(view, IDC_HOST)));
    choose(1);
    shell::TurnScreen();
    EXPECT_EQ(std::tuple(SendMessageW(combo, CB_GETCURSEL, 0, 0), ModeControls(view)), std::tuple(1, std::string("011110")));
    shell::TurnScreen();
    EXPECT_EQ(ModeControls(view), "011110");
}

}  // namespace
