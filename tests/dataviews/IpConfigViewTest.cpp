// The IP configuration view over a scripted IP helper: the adapter chooser
// of the "General" page, the status rows of the "Status" tab, what a failed
// query leaves, and the placement of the page and the list above the tabs.
#include "DataViewsSupport.h"
#include "FakeIpHelper.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "netinfo/InterfaceStatus.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace netinfo;
using namespace views;

using namespace dataviews;
using testing_support::ChildRect;
using testing_support::WindowText;

namespace {

FakeInterface Interface(ULONG index, DWORD first)
{
    FakeInterface i;
    i.index = index;
    i.name = L"if" + std::to_wstring(index);
    i.row.dwIndex = index;
    i.row.dwAdminStatus = first;
    i.row.dwSpeed = first + 1;
    i.row.dwInOctets = first + 2;
    i.row.dwOutOctets = first + 3;
    i.row.dwOutQLen = first + 13;
    return i;
}

// The status rows of the interface that the platform now reports for the
// index, in the order the status layer builds them.
NameValueList StatusRows(ULONG index)
{
    InterfaceRecord record;
    EXPECT_EQ(NetworkInfo{}.FindInterface(index, record), S_OK);
    NameValueList rows;
    AppendInterfaceStatusRows(record, rows);
    return rows;
}

class IpConfigView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Resources(), nullptr);
        fake.adapters = {{.index = 2, .name = "eth-two"}, {.index = 3, .name = "wlan-three"},
                         {.index = 5, .name = "ppp-five"}};
        fake.interfaces = {Interface(2, 200), Interface(3, 300), Interface(5, 500)};
    }

    void Create()
    {
        host = std::make_unique<HostedView<ViewIpConfig>>();
        ASSERT_NE(host->window, nullptr);
        tabs = GetDlgItem(host->window, IDC_TABS);
        list = ChildOfClass(tabs, WC_LISTVIEWW);
        ASSERT_NE(list, nullptr) << "the list view is a child of the tab control";
        page = host->view.Page().m_hWnd;
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(GetParent(page), tabs);
        combo = ChildOfClass(page, L"ComboBox");
        label = ChildOfClass(page, L"Static");
        textBox = ChildOfClass(page, L"Edit");
        ASSERT_TRUE(combo && label && textBox);
    }

    void TearDown() override { host.reset(); }

    // As a user picks an entry: the combo box tells its parent.
    void PickAdapter(int entry)
    {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

    int Selection() const { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
    bool PageShown() const { return IsWindowVisible(page) && !IsWindowVisible(list); }
    bool ListShown() const { return IsWindowVisible(list) && !IsWindowVisible(page); }

    FakeIpHelper fake;
    std::unique_ptr<HostedView<ViewIpConfig>> host;
    HWND tabs = nullptr;
    HWND list = nullptr;
    HWND page = nullptr;
    HWND combo = nullptr;
    HWND label = nullptr;
    HWND textBox = nullptr;
};

TEST_F(IpConfigView, StartsOnTheGeneralPageWithTheFirstAdapterChosen)
{
    Create();
    EXPECT_EQ(TabTexts(tabs), (std::vector<std::wstring>{L"General", L"Status"}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ComboEntries(combo),
              (std::vector<ComboEntry>{{L"eth-two", 2}, {L"wlan-three", 3}, {L"ppp-five", 5}}));
    EXPECT_EQ(Selection(), 0);
    EXPECT_EQ(host->view.Page().SelectedIndex(), 2u);
    EXPECT_EQ(WindowText(label), L"Select adapter:");
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 2 with name eth-two");
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(ListRows(list).size(), 0u);
    EXPECT_EQ(fake.calls().getIfEntry, 0) << "no status is read before the Status tab";
}

TEST_F(IpConfigView, StatusShowsTheChosenAdaptersRowsBottomUp)
{
    Create();
    PickAdapter(2);
    EXPECT_EQ(host->view.Page().SelectedIndex(), 5u);
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 5 with name ppp-five");

    PickTab(tabs, 1);
    EXPECT_TRUE(ListShown());
    const NameValueList rows = ListRows(list);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows.front(), (NameValueRow{L"output queue length", L"513"}));
    EXPECT_EQ(rows.back(), (NameValueRow{L"admin status", L"500"}));
    EXPECT_EQ(rows, Reversed(StatusRows(5)));

    // Back on General: the page again, the rows kept for later.
    PickTab(tabs, 0);
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(ListRows(list), rows);
    EXPECT_EQ(Selection(), 2) << "the refill keeps the chosen adapter";
}

TEST_F(IpConfigView, RefreshOnStatusReadsTheSameAdapterAgain)
{
    Create();
    PickAdapter(1);
    PickTab(tabs, 1);
    fake.interfaces[1].row.dwOutQLen = 4242;
    const int calls = fake.calls().getIfEntry;
    host->view.Refresh();
    EXPECT_GT(fake.calls().getIfEntry, calls);
    const NameValueList rows = ListRows(list);
    ASSERT_EQ(rows.size(), 14u) << "replaced, not added to";
    EXPECT_EQ(rows.front(), (NameValueRow{L"output queue length", L"4242"}));
    EXPECT_EQ(rows.back(), (NameValueRow{L"admin status", L"300"}));
}

TEST_F(IpConfigView, VanishedInterfaceKeepsThePreviousRowsAndShowsTheList)
{
    Create();
    PickAdapter(2);
    PickTab(tabs, 1);
    const NameValueList rows = ListRows(list);
    ASSERT_EQ(rows.size(), 14u);

    fake.interfaces.pop_back();
    host->view.Refresh();
    EXPECT_TRUE(ListShown());
    EXPECT_EQ(ListRows(list), rows);

    // The tab changes even when its query fails.
    PickTab(tabs, 0);
    fake.interfaceInfoCall.fillAnswer = ERROR_INVALID_DATA;
    PickTab(tabs, 1);
    EXPECT_TRUE(ListShown());
    EXPECT_EQ(ListRows(list), rows);
}

TEST_F(IpConfigView, StatusNeverReadLeavesAnEmptyListWhenTheQueryFails)
{
    fake.interfaces.clear();
    Create();
    PickTab(tabs, 1);
    EXPECT_TRUE(ListShown());
    EXPECT_TRUE(ListRows(list).empty());
}

TEST_F(IpConfigView, NoAdaptersLeaveChooserAndTextEmpty)
{
    fake.adapters.clear();
    fake.interfaces.clear();
    Create();
    EXPECT_TRUE(ComboEntries(combo).empty());
    EXPECT_EQ(Selection(), CB_ERR);
    EXPECT_EQ(WindowText(textBox), L"");
    EXPECT_EQ(host->view.Page().SelectedIndex(), 0u);
    EXPECT_TRUE(PageShown());

    PickTab(tabs, 1);
    EXPECT_TRUE(ListShown());
    EXPECT_TRUE(ListRows(list).empty());
}

TEST_F(IpConfigView, StatusOfIndexZeroWhenNoAdapterButSuchAnInterface)
{
    fake.adapters.clear();
    fake.interfaces = {Interface(0, 900)};
    Create();
    PickTab(tabs, 1);
    EXPECT_EQ(ListRows(list), Reversed(StatusRows(0)));
}

TEST_F(IpConfigView, FailedAdapterQueryEmptiesTheChooserAndKeepsTheRest)
{
    Create();
    PickAdapter(1);
    const std::wstring text = WindowText(textBox);
    ASSERT_EQ(text, L"Selected adapter: 3 with name wlan-three");

    for (const auto& fail : {FakeSizedCall{.probeAnswer = ERROR_NO_DATA}, FakeSizedCall{.probeSize = 0xFFFFFFF0u},
                             FakeSizedCall{.fillAnswer = ERROR_INVALID_DATA}}) {
        fake.adaptersInfoCall = fail;
        host->view.Refresh();
        EXPECT_TRUE(ComboEntries(combo).empty());
        EXPECT_EQ(WindowText(textBox), text);
        EXPECT_EQ(host->view.Page().SelectedIndex(), 3u);
        EXPECT_TRUE(PageShown());
    }

    // Status still asks for the adapter chosen last.
    PickTab(tabs, 1);
    EXPECT_EQ(ListRows(list), Reversed(StatusRows(3)));
}

TEST_F(IpConfigView, AdaptersSharingAnIndexAreNamedByTheFirst)
{
    fake.adapters = {{.index = 7, .name = "first"}, {.index = 7, .name = "second"}};
    Create();
    for (const int entry : {1, 0, 1}) {
        SCOPED_TRACE(entry);
        PickAdapter(entry);
        EXPECT_EQ(host->view.Page().SelectedIndex(), 7u);
        EXPECT_EQ(WindowText(textBox), L"Selected adapter: 7 with name first");
    }
}

TEST_F(IpConfigView, EmptyAndNonAsciiNames)
{
    fake.adapters = {{.index = 4, .name = ""}, {.index = 6, .name = "n\xe9t\x80"}};
    Create();
    const std::string bytes = "n\xe9t\x80";
    wchar_t wide[16]{};
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide, 16);
    EXPECT_EQ(ComboEntries(combo), (std::vector<ComboEntry>{{L"", 4}, {wide, 6}}));
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 4 with name ");
    PickAdapter(1);
    EXPECT_EQ(WindowText(textBox), std::wstring(L"Selected adapter: 6 with name ") + wide);
}

TEST_F(IpConfigView, RefillKeepsTheChosenAdapterWhileItIsThere)
{
    Create();
    PickAdapter(2);

    // Same list again.
    host->view.Refresh();
    EXPECT_EQ(ComboEntries(combo).size(), 3u) << "refilled, not added to";
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 5 with name ppp-five");

    // The chosen adapter moved to another place in the list.
    fake.adapters = {{.index = 9, .name = "new-nine"}, {.index = 5, .name = "ppp-five"},
                     {.index = 2, .name = "eth-two"}};
    host->view.Refresh();
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(host->view.Page().SelectedIndex(), 5u);
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 5 with name ppp-five");

    // It vanished: the first entry, and Status follows it.
    fake.adapters = {{.index = 3, .name = "wlan-three"}, {.index = 2, .name = "eth-two"}};
    host->view.Refresh();
    EXPECT_EQ(Selection(), 0);
    EXPECT_EQ(host->view.Page().SelectedIndex(), 3u);
    EXPECT_EQ(WindowText(textBox), L"Selected adapter: 3 with name wlan-three");
    PickTab(tabs, 1);
    EXPECT_EQ(ListRows(list), Reversed(StatusRows(3)));
}

TEST_F(IpConfigView, PageAndListCoverTheTabControlAboveItsStrip)
{
    Create();
    // Placed once both exist, with no further size message.
    const SIZE client = testing_support::ClientSizeOf(host->window);
    ASSERT_EQ(client.cx, 240);
    ASSERT_EQ(client.cy, 268);
    const int h = TabStripHeight(tabs);
    ASSERT_GT(h, 0);
    const RECT above{0, 0, 240, 268 - h - 2};
    EXPECT_TRUE(SameRect(ChildRect(tabs), RECT{0, 0, 240, 268}));
    EXPECT_TRUE(SameRect(ChildRect(list), above));
    EXPECT_TRUE(SameRect(ChildRect(page), above));

    // Inside the page: label, chooser and text box with 10-pixel margins.
    const int pageHeight = 268 - h - 2;
    EXPECT_TRUE(SameRect(ChildRect(label), RECT{10, 10, 230, 30}));
    const RECT comboRect = ChildRect(combo);
    EXPECT_EQ(comboRect.left, 10);
    EXPECT_EQ(comboRect.top, 30);
    EXPECT_EQ(comboRect.right, 230);
    EXPECT_TRUE(SameRect(ChildRect(textBox), RECT{10, 60, 230, pageHeight - 10}));
}

TEST_F(IpConfigView, TabsOf22PixelsLeaveA240By244Page)
{
    Create();
    SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(60, 22));
    ASSERT_EQ(TabStripHeight(tabs), 22);
    SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 268));
    EXPECT_TRUE(SameRect(ChildRect(list), RECT{0, 0, 240, 244}));
    EXPECT_TRUE(SameRect(ChildRect(page), RECT{0, 0, 240, 244}));
    EXPECT_TRUE(SameRect(ChildRect(label), RECT{10, 10, 230, 30}));
    EXPECT_TRUE(SameRect(ChildRect(textBox), RECT{10, 60, 230, 234}));
    const RECT comboRect = ChildRect(combo);
    EXPECT_EQ(comboRect.left, 10);
    EXPECT_EQ(comboRect.top, 30);
    EXPECT_EQ(comboRect.right - comboRect.left, 220);
    // The 70 pixels include the dropped-down list: the combo box keeps the
    // height of its selection field and the list it drops takes the rest.
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ((comboRect.bottom - comboRect.top) + (dropped.bottom - dropped.top), 70);
}

TEST_F(IpConfigView, PageArithmeticForAGivenPageSize)
{
    Create();
    SendMessageW(page, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 244));
    EXPECT_TRUE(SameRect(ChildRect(label), RECT{10, 10, 230, 30}));
    EXPECT_TRUE(SameRect(ChildRect(textBox), RECT{10, 60, 230, 234}));
    SendMessageW(page, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 164));
    EXPECT_TRUE(SameRect(ChildRect(label), RECT{10, 10, 310, 30}));
    EXPECT_TRUE(SameRect(ChildRect(textBox), RECT{10, 60, 310, 154}));
    EXPECT_EQ(ChildRect(combo).right, 310);
}

TEST_F(IpConfigView, EmptyOrNegativeSizeMovesNothingInViewOrPage)
{
    Create();
    const RECT rects[] = {ChildRect(tabs), ChildRect(list), ChildRect(page),
                          ChildRect(label), ChildRect(combo), ChildRect(textBox)};
    for (const LPARAM size : {MAKELPARAM(0, 0), MAKELPARAM(0, 268), MAKELPARAM(240, 0), MAKELPARAM(0xFFF6, 268)}) {
        SCOPED_TRACE(size);
        SendMessageW(host->window, WM_SIZE, SIZE_RESTORED, size);
        SendMessageW(page, WM_SIZE, SIZE_RESTORED, size);
        const RECT now[] = {ChildRect(tabs), ChildRect(list), ChildRect(page),
                            ChildRect(label), ChildRect(combo), ChildRect(textBox)};
        for (size_t i = 0; i < std::size(rects); ++i)
            EXPECT_TRUE(SameRect(now[i], rects[i])) << "window " << i;
    }
}

TEST_F(IpConfigView, PageIsAWindowOfItsOwnClass)
{
    Create();
    wchar_t name[64]{};
    GetClassNameW(page, name, 64);
    EXPECT_STRNE(name, L"#32770");
    EXPECT_EQ(GetClassLongPtrW(page, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(GetClassLongPtrW(page, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    EXPECT_EQ(GetClassLongPtrW(page, GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)));
    EXPECT_EQ(GetClassLongPtrW(page, GCLP_HICON), 0u);
    const auto comboStyle = static_cast<DWORD>(GetWindowLongPtrW(combo, GWL_STYLE));
    EXPECT_EQ(comboStyle & (CBS_DROPDOWNLIST | CBS_SORT), static_cast<DWORD>(CBS_DROPDOWNLIST));
    const auto editStyle = static_cast<DWORD>(GetWindowLongPtrW(textBox, GWL_STYLE));
    EXPECT_TRUE(editStyle & ES_MULTILINE);
    EXPECT_FALSE(editStyle & ES_READONLY) << "the user may edit the text";
}

}  // namespace
