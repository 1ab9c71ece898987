// The views laid out from their templates: the five input-only pages and the
// port scan page, in the real frame, in both orientations of the screen.
#include "support/Harness.h"

#include <gtest/gtest.h>

using namespace test;

namespace {

void ExpectLaidOutFrom(HWND view, int templateId)
{
    const auto rects = TemplateRects(view, app::Module().Resources(), templateId);
    ASSERT_FALSE(rects.empty()) << templateId;
    for (const auto& [id, r] : rects) {
        HWND control = GetDlgItem(view, id);
        ASSERT_NE(control, nullptr) << templateId << " control " << id;
        RECT actual = ChildRect(control);
        if (ClassOf(control) == L"ComboBox")
            actual.bottom = r.bottom;  // a combo box keeps its closed height
        EXPECT_EQ(actual, r) << templateId << " control " << id;
    }
}

TEST(TemplateViews, FollowTheScreenToTheirLandscapeTwinAndBack)
{
    Harness h;
    for (const app::MainFrame::ViewRow& row : app::MainFrame::Views()) {
        if (row.refreshes)
            continue;  // the data views lay themselves out
        HWND view = h.View(row.commandId);
        SCOPED_TRACE(row.templateId);
        for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            MoveWindow(child, 1, 1, 5, 5, FALSE);
        shell::TurnScreen();
        EXPECT_EQ(ClientSize(view).cx, 320);
        ExpectLaidOutFrom(view, row.templateId + 1);
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 500));  // the screen decides, not the size the message carries
        ExpectLaidOutFrom(view, row.templateId + 1);
        shell::TurnScreen();
        ExpectLaidOutFrom(view, row.templateId);
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
