// The Summary view over a scripted IP helper: what its text shows after a
// refresh, what stays when the platform fails, where its controls sit and
// the headline's font.
#include "DataViewsSupport.h"
#include "FakeIpHelper.h"
#include "views/Summary/ViewSummary.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

using namespace netinfo;
using namespace views;

using namespace dataviews;
using testing_support::ChildRect;
using testing_support::WindowText;

namespace {

constexpr wchar_t kPda1Text[] = L"Host: pda1\r\nDomain: \r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n";

INT_PTR CALLBACK PassiveDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Control 1054 as the template itself fills it, with no view behind it.
std::wstring TemplateText()
{
    HWND frame = CreateFrameStandIn();
    HWND dialog = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_SUMMARY), frame, &PassiveDialog, 0);
    const std::wstring text = WindowText(GetDlgItem(dialog, IDC_TEXT));
    DestroyWindow(frame);
    return text;
}

class SummaryView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Resources(), nullptr);
        fake.hostName = "pda1";
        fake.domainName = "";
        fake.dnsServers = {"10.0.0.1", "10.0.0.2"};
    }

    static std::wstring Text(HWND view) { return WindowText(GetDlgItem(view, IDC_TEXT)); }

    FakeIpHelper fake;
};

TEST_F(SummaryView, ShowsTheComposedSettingsAfterInitialisation)
{
    HostedView<ViewSummary> host;
    ASSERT_NE(host.window, nullptr);
    EXPECT_EQ(Text(host.window), kPda1Text);
    EXPECT_EQ(fake.calls().getNetworkParams, 2) << "one probe and one fill";
}

TEST_F(SummaryView, RefreshShowsWhatThePlatformReportsNow)
{
    HostedView<ViewSummary> host;
    fake.hostName = "pda2";
    fake.domainName = "corp.example";
    fake.dnsServers = {""};
    EXPECT_EQ(host.view.Refresh(), 0);
    EXPECT_EQ(Text(host.window), L"Host: pda2\r\nDomain: corp.example\r\nDNS servers: \r\n");
}

TEST_F(SummaryView, FailedFirstQueryLeavesTheTemplateText)
{
    const std::wstring templateText = TemplateText();
    fake.networkParamsCall.fillAnswer = ERROR_INVALID_DATA;
    HostedView<ViewSummary> host;
    ASSERT_NE(host.window, nullptr);
    EXPECT_EQ(Text(host.window), templateText);
    EXPECT_GE(fake.calls().getNetworkParams, 1);
}

TEST_F(SummaryView, FailedLaterRefreshKeepsThePreviousSummary)
{
    HostedView<ViewSummary> host;
    ASSERT_EQ(Text(host.window), kPda1Text);

    fake.hostName = "changed";
    for (const auto& fail : {FakeSizedCall{.probeAnswer = ERROR_NOT_SUPPORTED},
                             FakeSizedCall{.probeSize = 0xFFFFFFF0u},
                             FakeSizedCall{.fillAnswer = ERROR_INVALID_DATA}}) {
        fake.networkParamsCall = fail;
        const int before = fake.calls().getNetworkParams;
        EXPECT_EQ(host.view.Refresh(), 0);
        EXPECT_GT(fake.calls().getNetworkParams, before) << "the refresh must ask the platform";
        EXPECT_EQ(Text(host.window), kPda1Text);
    }

    fake.networkParamsCall = {};
    host.view.Refresh();
    EXPECT_EQ(Text(host.window), L"Host: changed\r\nDomain: \r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n");
}

struct Placement {
    int id;
    RECT rect;
};

void ExpectPlacements(HWND view, std::initializer_list<Placement> expected)
{
    for (const Placement& p : expected) {
        SCOPED_TRACE(p.id);
        const RECT r = ChildRect(GetDlgItem(view, p.id));
        EXPECT_EQ(r.left, p.rect.left);
        EXPECT_EQ(r.top, p.rect.top);
        EXPECT_EQ(r.right, p.rect.right);
        EXPECT_EQ(r.bottom, p.rect.bottom);
    }
}

TEST_F(SummaryView, LaysOutItsControlsByFixedPixels)
{
    HostedView<ViewSummary> host;
    // As the full-screen sizing of the initialisation leaves them.
    const SIZE client = testing_support::ClientSizeOf(host.window);
    EXPECT_EQ(client.cx, 240);
    EXPECT_EQ(client.cy, 268);
    ExpectPlacements(host.window, {{IDC_LOGO, {10, 10, 80, 80}},
                                   {IDC_HEADLINE, {90, 30, 230, 90}},
                                   {IDC_TEXT, {10, 100, 230, 258}}});

    SendMessageW(host.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 188));
    ExpectPlacements(host.window, {{IDC_LOGO, {10, 10, 80, 80}},
                                   {IDC_HEADLINE, {90, 30, 310, 90}},
                                   {IDC_TEXT, {10, 100, 310, 178}}});

    SendMessageW(host.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 268));
    ExpectPlacements(host.window, {{IDC_LOGO, {10, 10, 80, 80}},
                                   {IDC_HEADLINE, {90, 30, 230, 90}},
                                   {IDC_TEXT, {10, 100, 230, 258}}});
}

TEST_F(SummaryView, EmptyOrNegativeSizeMovesNothing)
{
    HostedView<ViewSummary> host;
    SendMessageW(host.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    const RECT text = ChildRect(GetDlgItem(host.window, IDC_TEXT));
    const RECT headline = ChildRect(GetDlgItem(host.window, IDC_HEADLINE));
    const RECT logo = ChildRect(GetDlgItem(host.window, IDC_LOGO));

    // The sides are signed 16-bit: 0xFFF6 is -10.
    for (const LPARAM size : {MAKELPARAM(0, 0), MAKELPARAM(0, 268), MAKELPARAM(240, 0), MAKELPARAM(0xFFF6, 268),
                              MAKELPARAM(240, 0xFFF6), MAKELPARAM(0x8000, 0x8000)}) {
        SCOPED_TRACE(size);
        SendMessageW(host.window, WM_SIZE, SIZE_RESTORED, size);
        EXPECT_TRUE(SameRect(ChildRect(GetDlgItem(host.window, IDC_TEXT)), text));
        EXPECT_TRUE(SameRect(ChildRect(GetDlgItem(host.window, IDC_HEADLINE)), headline));
        EXPECT_TRUE(SameRect(ChildRect(GetDlgItem(host.window, IDC_LOGO)), logo));
    }
}

TEST_F(SummaryView, HeadlineHasBoldTahoma20ForTheViewsLife)
{
    auto host = std::make_unique<HostedView<ViewSummary>>();
    const auto font = reinterpret_cast<HFONT>(SendDlgItemMessageW(host->window, IDC_HEADLINE, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, 20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);

    // Still the view's after a refresh; gone with the view's window.
    host->view.Refresh();
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(host->window, IDC_HEADLINE, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    DestroyWindow(host->window);
    EXPECT_EQ(GetObjectType(font), 0u) << "the view deletes its font with its window";
    host.reset();
}

}  // namespace
