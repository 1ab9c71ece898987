// Every view in the real frame, in both orientations; what a failed read leaves is the fault matrix's.
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <numeric>
#include <set>

using namespace test;

namespace {

// The values a list shows, top to bottom.
std::vector<std::wstring> ListValues(HWND list)
{
    std::vector<std::wstring> values;
    for (const auto& row : ListRows(list))
        values.push_back(row.value);
    return values;
}

// Counters numbered from `first`, at these offsets: a list filled at the top shows the last one read on top.
std::vector<std::wstring> Numbers(DWORD first, const std::vector<DWORD>& offsets)
{
    std::vector<std::wstring> values;
    for (DWORD offset : offsets)
        values.push_back(std::to_wstring(first + offset));
    return values;
}
std::vector<std::wstring> Countdown(DWORD first, DWORD count)
{
    std::vector<DWORD> offsets(count);
    return std::iota(offsets.rbegin(), offsets.rend(), 0u), Numbers(first, offsets);
}

// The status rows, built outgoing before incoming from the admin status to the output queue length, shown
// bottom-up, as offsets into MIB_IFROW's order of the fourteen counters.
const std::vector<DWORD> kStatusOrder{13, 7, 6, 5, 12, 11, 4, 10, 3, 9, 2, 8, 0, 1};

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
        return std::vector<std::pair<HWND, RECT>>{{GetDlgItem(view, IDC_LOGO), {10, 10, 80, 80}},
                                                  {headline, {90, 30, cx - 10, 90}},
                                                  {text, {10, 100, cx - 10, cy - 10}}};
    });
    // The headline's bold Tahoma 20 lives as long as the view's window.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(headline, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(std::tuple(lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfCharSet, std::wstring(lf.lfFaceName)),
              std::tuple(20L, 700L, BYTE{0}, BYTE{ANSI_CHARSET}, std::wstring(L"Tahoma")));
    DestroyWindow(h->frame->m_hWnd);
    EXPECT_EQ(GetObjectType(font), 0u) << "the view deletes its font with its window";
    h.reset();
    Harness failing([](FakeIpHelper& f) { f.networkParamsCall.fillAnswer = ERROR_INVALID_DATA; });
    HWND bare = CreateDialogParamW(app::Module().Resources(), MAKEINTRESOURCEW(IDD_SUMMARY), failing.frame->m_hWnd,
                                   [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    EXPECT_EQ(failing.Text(ID_VIEW_SUMMARY, IDC_TEXT), WindowText(GetDlgItem(bare, IDC_TEXT))) << "a failed first read";
}

TEST(Statistics, EachTabShowsItsProtocolsRowsBottomUpAboveTheStrip)
{
    // Each tab, and its counters as the harness numbers them: TCP from 100, IP 200, UDP 300, ICMP in 400, out 413.
    const std::tuple<const wchar_t*, DWORD, DWORD> tabs[] = {
        {L"TCP", 100, 15}, {L"IP", 200, 23}, {L"UDP", 300, 5}, {L"ICMP in", 400, 13}, {L"ICMP out", 413, 13}};
    {
        MessageBoxWatcher watcher;  // a failed first read: its message, and an empty list
        const Harness failing([](FakeIpHelper& f) { f.tcpAnswer = ERROR_NOT_SUPPORTED; });
        EXPECT_EQ(watcher.boxes.size(), 1u);
        EXPECT_EQ(ListRows(failing.List(ID_VIEW_NETSTAT)).size(), 0u);
    }
    Harness h;
    HWND view = h.View(ID_VIEW_NETSTAT), strip = h.Tabs(ID_VIEW_NETSTAT), list = h.List(ID_VIEW_NETSTAT);
    ASSERT_NE(list, nullptr) << "the list view is a child of the tab control";
    EXPECT_EQ(TabTexts(strip), (std::vector<std::wstring>{L"TCP", L"IP", L"UDP", L"ICMP in", L"ICMP out"}));
    EXPECT_EQ(h.fake.calls.tcp, 1) << "read once at the start";
    const auto rows = ListRows(list);  // names as numbers are: the last read on top
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows.front().name + L", " + rows.back().name, L"cumulative connections, Timeout algorithm");
    EXPECT_EQ(std::pair(ListView_GetColumnWidth(list, 0), ListView_GetColumnWidth(list, 1)), std::pair(100, 100));
    for (int tab : {0, 1, 2, 3, 4, 0, 4, 3, 2, 1}) {
        PickTab(strip, tab);
        const auto [name, first, count] = tabs[tab];
        EXPECT_EQ(ListValues(list), Countdown(first, count)) << name;
    }
    h.fake.ip = Numbered<MIB_IPSTATS>(4294967000u);  // refresh reads again and replaces the rows; unsigned
    h.Command(ID_VIEW_NETSTAT);
    h.Command(ID_REFRESH);
    EXPECT_EQ(ListValues(list), Countdown(4294967000u, 23));
    auto& statistics = dynamic_cast<views::ViewNetstat&>(h.ViewObject(ID_VIEW_NETSTAT));
    for (int tab : {-1, 5, 1000}) {  // any index but 0 to 3 reads ICMP out
        statistics.ShowStatistics(0);
        statistics.ShowStatistics(tab);
        EXPECT_EQ(ListValues(list), Countdown(413, 13)) << tab;
    }
    // The list leaves the strip of five tabs, and two pixels above it, uncovered.
    RECT last{};
    ExpectLayout(view, [&](LONG cx, LONG cy) {
        SendMessageW(strip, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&last));
        EXPECT_TRUE(last.right <= cx && last.top >= ChildRect(list).bottom) << "the five tabs fit, below the list";
        EXPECT_EQ(ChildOfClass(strip, UPDOWN_CLASSW), nullptr) << "without scroll arrows";
        const LONG above = cy - (last.bottom - last.top) - 2;
        return std::vector<std::pair<HWND, RECT>>{{strip, {0, 0, cx, cy}}, {list, {0, 0, cx, above}}};
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
    // The entry selected, the index remembered and the text: one choice.
    std::tuple<int, uint32_t, std::wstring> Chosen() const
    {
        const auto entry = static_cast<int>(SendMessageW(h.Combo(), CB_GETCURSEL, 0, 0));
        return {entry, h.frame->AdapterPage().SelectedIndex(), WindowText(h.TextBox())};
    }
    std::vector<std::wstring> Rows() const { return ListValues(h.List(ID_VIEW_IPCONFIG)); }
    void Tab(int tab) const { PickTab(h.Tabs(ID_VIEW_IPCONFIG), tab); }
    void Refresh() const { h.Command(ID_VIEW_IPCONFIG), h.Command(ID_REFRESH); }
    bool ListShown() const  // the one or the other, by the tab
    {
        const bool list = GetWindowLongPtrW(h.List(ID_VIEW_IPCONFIG), GWL_STYLE) & WS_VISIBLE;
        EXPECT_NE(list, (GetWindowLongPtrW(h.Page(), GWL_STYLE) & WS_VISIBLE) != 0) << "the list or the page";
        return list;
    }
};

using Chosen = std::tuple<int, uint32_t, std::wstring>;

TEST(IpConfig, TheChosenAdaptersNameAndTheRowsOfItsInterfaceThroughRefills)
{
    {
        const Harness failing([](FakeIpHelper& f) { f.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA; });
        EXPECT_EQ(ComboEntries(failing.Combo()).size() + WindowText(failing.TextBox()).size(), 0u) << "a failed start";
        EXPECT_FALSE(AdapterPage{failing}.ListShown()) << "the page shown";
    }
    Harness h;
    const AdapterPage page{h};
    using Entries = std::vector<std::pair<std::wstring, uintptr_t>>;
    EXPECT_EQ(TabTexts(h.Tabs(ID_VIEW_IPCONFIG)), (std::vector<std::wstring>{L"General", L"Status"}));
    EXPECT_EQ(ComboEntries(h.Combo()), (Entries{{L"eth-two", 2}, {L"wlan-three", 3}, {L"ppp-five", 5}}));
    EXPECT_EQ(page.Chosen(), Chosen(0, 2, L"Selected adapter: 2 with name eth-two"));
    EXPECT_EQ(WindowText(ChildOfClass(h.Page(), L"Static")), L"Select adapter:");
    EXPECT_FALSE(page.ListShown());
    EXPECT_EQ(h.fake.calls.ifEntry, 0) << "no status read before the Status tab";
    page.Pick(2);
    EXPECT_EQ(page.Chosen(), Chosen(2, 5, L"Selected adapter: 5 with name ppp-five"));
    page.Tab(1);
    EXPECT_EQ(std::pair(page.ListShown(), page.Rows()), std::pair(true, Numbers(500, kStatusOrder))) << "interface 5";
    page.Tab(0);
    EXPECT_EQ(std::pair(page.ListShown(), page.Rows()), std::pair(false, Numbers(500, kStatusOrder))) << "rows kept";
    EXPECT_EQ(std::get<0>(page.Chosen()), 2) << "the refill keeps the choice";
    page.Tab(1);
    h.fake.interfaces[2].row.dwOutQLen = 4242;
    page.Refresh();
    auto changed = Numbers(500, kStatusOrder);
    changed[0] = L"4242";
    EXPECT_EQ(page.Rows(), changed) << "read again, replaced";
    h.fake.interfaces.pop_back();  // the chosen adapter's interface gone: the rows stay, the list shows
    page.Refresh();
    EXPECT_EQ(std::pair(page.ListShown(), page.Rows()), std::pair(true, changed));
    for (int other : {-1, 2}) {  // any other tab: the page, and nothing read
        page.Tab(1);
        const int calls = h.fake.calls.Total();
        dynamic_cast<views::ViewIpConfig&>(h.ViewObject(ID_VIEW_IPCONFIG)).ShowTab(other);
        EXPECT_FALSE(page.ListShown()) << other;
        EXPECT_EQ(h.fake.calls.Total(), calls) << other;
    }
    page.Tab(0);  // a failed refill keeps the adapter chosen last for the Status tab
    page.Pick(1);
    h.fake.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA;
    page.Refresh();
    page.Tab(1);
    EXPECT_EQ(page.Rows(), Numbers(300, kStatusOrder));
    h.fake.adaptersInfoCall = {};  // a refill keeps the chosen adapter where it moved; gone, the first entry
    page.Tab(0);
    const std::vector<FakeAdapter> before = h.fake.adapters;
    const std::wstring third = L"Selected adapter: 3 with name wlan-three";
    const std::pair<std::vector<FakeAdapter>, Chosen> refills[] = {
        {before, Chosen(1, 3, third)}, {{{.index = 9, .name = "new-nine"}, before[0], before[1]}, Chosen(2, 3, third)},
        {{before[2], before[0]}, Chosen(0, 5, L"Selected adapter: 5 with name ppp-five")}};
    for (const auto& [adapters, chosen] : refills) {
        h.fake.adapters = adapters;
        page.Refresh();
        EXPECT_EQ(std::pair(ComboEntries(h.Combo()).size(), page.Chosen()), std::pair(adapters.size(), chosen));
    }
    // Two adapters with one index: whichever is chosen, the first is named.
    h.fake.adapters = {{.index = 7, .name = "first"}, {.index = 7, .name = "second"}, {.index = 4}};
    h.fake.adapters.push_back({.index = 6, .name = "n\xe9t"});
    page.Refresh();
    for (int entry : {1, 0, 1}) {
        page.Pick(entry);
        EXPECT_EQ(std::get<2>(page.Chosen()), L"Selected adapter: 7 with name first");
    }
    wchar_t ansi[8]{};
    MultiByteToWideChar(CP_ACP, 0, "n\xe9t", 3, ansi, 8);
    page.Pick(2);
    EXPECT_EQ(ComboEntries(h.Combo())[3].first, ansi) << "in the ANSI code page";
    EXPECT_EQ(std::get<2>(page.Chosen()), L"Selected adapter: 4 with name ");
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
        return std::vector<std::pair<HWND, RECT>>{
            {h.List(ID_VIEW_IPCONFIG), {0, 0, cx, height}}, {page, {0, 0, cx, height}},
            {ChildOfClass(page, L"Static"), {10, 10, cx - 10, 30}}, {h.TextBox(), {10, 60, cx - 10, height - 10}}};
    });
    RECT dropped{}, r = ChildRect(combo);  // the combo box's 70 pixels hold its dropped-down list
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ((RECT{r.left, r.top, r.right, r.bottom + dropped.bottom - dropped.top}), (RECT{10, 30, 310, 100}));
    EXPECT_EQ(GetWindowLongPtrW(h.TextBox(), GWL_STYLE) & (ES_MULTILINE | ES_READONLY), ES_MULTILINE) << "editable";
    EXPECT_EQ(std::tuple(GetClassLongPtrW(page, GCL_STYLE), GetClassLongPtrW(page, GCLP_HBRBACKGROUND),
                         GetClassLongPtrW(page, GCLP_HCURSOR), GetClassLongPtrW(page, GCLP_HICON)),
              std::tuple(ULONG_PTR{CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS}, ULONG_PTR{COLOR_WINDOW + 1},
                         reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)), ULONG_PTR{})) << "its class";
}

// The port scan view shows one mode's controls at a time: they share one area.
int ModeGroup(int id)
{
    const std::set<int> range{IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO};
    return id == IDC_PORT_LIST ? 1 : range.count(id) ? 2 : id == IDC_WELL_KNOWN ? 3 : 0;
}

// A view as a template lays it out: its controls those of the template, where it puts them, on the screen and
// none over another.
void ExpectLaidOut(HWND view, int templateId)
{
    ExpectAtTemplate(view, app::Module().Resources(), templateId);
    const auto placed = TemplateRects(view, app::Module().Resources(), templateId);
    const SIZE area = ClientSize(view);
    for (HWND c = GetWindow(view, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        const RECT r = ChildRect(c);
        EXPECT_EQ(placed.count(id), 1u) << "control " << id << " is not the template's";
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= area.cx && r.bottom <= area.cy) << id << " off the screen";
        for (HWND d = GetWindow(c, GW_HWNDNEXT); d; d = GetWindow(d, GW_HWNDNEXT)) {
            RECT common{}, q = ChildRect(d);
            const int other = GetDlgCtrlID(d);
            const bool modes = ModeGroup(id) && ModeGroup(other) && ModeGroup(id) != ModeGroup(other);
            EXPECT_TRUE(modes || !IntersectRect(&common, &r, &q)) << id << " and " << other << " overlap";
        }
    }
}

template <class View>
INT_PTR RunView(int templateId, HWND owner)
{
    return View().RunModalFromTemplate(app::Module().Resources(), templateId, owner);
}

// Every tool view: its command, its templates (the data views lay themselves out: no twin) and how it runs alone.
// All but the Summary end on OK and on Cancel.
const std::tuple<int, int, int, INT_PTR (*)(int, HWND)> kToolViews[] = {
    {ID_VIEW_PING, IDD_PING, IDD_PING_LANDSCAPE, RunView<views::ViewPing>},
    {ID_VIEW_TRACERT, IDD_TRACERT, IDD_TRACERT_LANDSCAPE, RunView<views::ViewTracert>},
    {ID_VIEW_NSLOOKUP, IDD_NSLOOKUP, IDD_NSLOOKUP_LANDSCAPE, RunView<views::ViewNsLookup>},
    {ID_VIEW_WHOIS, IDD_WHOIS, IDD_WHOIS_LANDSCAPE, RunView<views::ViewWhois>},
    {ID_VIEW_FINGER, IDD_FINGER, IDD_FINGER_LANDSCAPE, RunView<views::ViewFinger>},
    {ID_VIEW_PORTSCAN, IDD_PORTSCAN, IDD_PORTSCAN_LANDSCAPE, RunView<views::ViewPortScan>},
    {ID_VIEW_SUMMARY, IDD_SUMMARY, 0, RunView<views::ViewSummary>},
    {ID_VIEW_IPCONFIG, IDD_IPCONFIG, 0, RunView<views::ViewIpConfig>},
    {ID_VIEW_NETSTAT, IDD_NETSTAT, 0, RunView<views::ViewNetstat>},
};

TEST(ToolViews, FollowTheScreenToTheirLandscapeTwinAndEndOnOkOrCancelAlone)
{
    Harness h;
    for (const auto& [command, portrait, landscape, run] : kToolViews) {
        SCOPED_TRACE(testing::Message() << "template " << portrait);
        if (HWND view = h.View(command); landscape) {
            for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                MoveWindow(child, 1, 1, 5, 5, FALSE);
            shell::TurnScreen();
            EXPECT_EQ(ClientSize(view).cx, 320);
            ExpectLaidOut(view, landscape);
            SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 500));  // the screen decides, not the message
            ExpectAtTemplate(view, app::Module().Resources(), landscape);
            shell::TurnScreen();
            ExpectLaidOut(view, portrait);
        }
        for (const WPARAM end : {IDOK, IDCANCEL}) {  // other commands first: they end nothing
            const WPARAM commands[] = {IDC_START, MAKEWPARAM(IDC_PORT_MODE, CBN_SELCHANGE), 4242, end};
            std::size_t sent = 0;
            const auto modal = [&] { return run(portrait, h.frame->m_hWnd); };
            const INT_PTR ended = WhileModal(modal, [&](HWND dialog) -> const char* {
                if (sent == std::size(commands))
                    return EndDialog(dialog, 99), nullptr;  // the Summary handles no command
                SendMessageW(dialog, WM_COMMAND, commands[sent++], 0);
                return "the view to take its next command";
            });
            EXPECT_EQ(ended, command == ID_VIEW_SUMMARY ? 99 : INT_PTR(end)) << "after command " << end;
            EXPECT_EQ(sent, std::size(commands)) << "the view ended early";
        }
    }
}

// Visibility of the list, range and well-known controls, as 0 and 1.
std::string ModeControls(HWND view)
{
    std::string shown;
    for (int id : {IDC_PORT_LIST, IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO,
                   IDC_WELL_KNOWN})
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
    const auto mode = [&] { return std::pair(SendMessageW(combo, CB_GETCURSEL, 0, 0), ModeControls(view)); };
    using Entries = std::vector<std::pair<std::wstring, uintptr_t>>;
    EXPECT_EQ(ComboEntries(combo), (Entries{{L"comma separated list", 0}, {L"range", 0}, {L"well known", 0}}));
    EXPECT_EQ(mode(), std::pair(LRESULT{0}, std::string("100000")));
    EXPECT_EQ(h.Text(ID_VIEW_PORTSCAN, IDC_HOST), L"Some host");
    for (const auto& [selection, shown] : {std::pair{1, "011110"}, {2, "000001"}, {0, "100000"}, {-1, "000001"}}) {
        choose(selection);
        EXPECT_EQ(ModeControls(view), shown) << selection;
    }
    choose(1);
    for (WORD notification : {WORD{CBN_DROPDOWN}, WORD{CBN_CLOSEUP}, WORD{CBN_SETFOCUS}, WORD{CBN_SELENDOK}})
        choose(0, notification);
    EXPECT_EQ(ModeControls(view), "011110") << "only a selection change switches";
    EXPECT_TRUE(IsWindowVisible(combo) && IsWindowVisible(GetDlgItem(view, IDC_HOST)));
    choose(1);
    shell::TurnScreen();
    EXPECT_EQ(mode(), std::pair(LRESULT{1}, std::string("011110"))) << "after a turn";
    shell::TurnScreen();
    EXPECT_EQ(ModeControls(view), "011110");
}

}  // namespace
