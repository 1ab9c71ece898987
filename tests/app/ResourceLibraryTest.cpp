// localization.dll as the program meets it, and the frame over broken copies
// of it: each resource it asks for missing in turn.
#include "app/AboutDlg.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commctrl.h>
#include <set>

using namespace test;

namespace {

TEST(ResourceLibrary, AnIconAndAMenuWhoseLabelledKeysAreTheAccelerators)
{
    const HMODULE library = LoadLocalization();
    ICONINFO icon{};
    BITMAP bm{};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(LoadImageW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES), IMAGE_ICON, 32, 32, 0)), &icon));
    EXPECT_EQ(GetObjectW(icon.hbmColor, sizeof bm, &bm) ? bm.bmWidth : 0, 32);

    HACCEL table = LoadAcceleratorsW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
    std::vector<ACCEL> keys(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    std::set<int> commands{ID_VIEW_UNBOUND, ID_ABOUT, ID_REFRESH};
    for (const auto& row : app::MainFrame::Views())
        commands.insert(row.commandId);
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(IDR_MENUBAR));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        HMENU popup = GetSubMenu(menu, i);
        ASSERT_NE(popup, nullptr) << "top-level item " << i << " is not a soft key with a popup";
        for (int j = 0; j < GetMenuItemCount(popup); ++j) {
            wchar_t label[64]{};
            GetMenuStringW(popup, static_cast<UINT>(j), label, 64, MF_BYPOSITION);
            const wchar_t* tab = wcschr(label, L'\t');
            const int command = static_cast<int>(GetMenuItemID(popup, j));
            if (!tab)
                continue;
            std::wstring shown = tab + 1;  // "Ctrl+1", "F5", "Alt+Home"
            ACCEL key{FVIRTKEY, 0, 0};
            for (const auto& [prefix, flag] : {std::pair{L"Ctrl+", BYTE{FCONTROL}}, {L"Alt+", BYTE{FALT}}})
                if (shown.starts_with(prefix))
                    key.fVirt |= flag, shown.erase(0, wcslen(prefix));
            key.key = shown == L"Home" ? VK_HOME : shown.size() > 1 ? static_cast<WORD>(VK_F1 + _wtoi(&shown[1]) - 1) : shown[0];
            EXPECT_EQ(std::erase_if(keys, [&](const ACCEL& a) { return a.key == key.key && (a.fVirt & ~FNOINVERT) == key.fVirt && a.cmd == command; }), 1u)
                << "item " << command << " shows a key that does not send it";
            commands.erase(command);
        }
    }
    EXPECT_TRUE(commands.empty()) << "a command of the frame without its labelled item, e.g. " << *commands.begin();
    EXPECT_TRUE(keys.empty()) << "a key sends " << keys[0].cmd << ", which no item shows";
    DestroyMenu(menu);
    DestroyAcceleratorTable(table);
}

// The port scan view shows one mode's controls at a time: they share one area.
int ModeGroup(int id)
{
    return id == IDC_PORT_LIST ? 1 : id == IDC_WELL_KNOWN ? 3 : id == IDC_RANGE_FROM_LABEL || id == IDC_RANGE_FROM || id == IDC_RANGE_TO_LABEL || id == IDC_RANGE_TO ? 2 : 0;
}

TEST(ResourceLibrary, EveryPageHoldsItsControlsOnTheScreenOfItsOrientation)
{
    // Each page's controls the program addresses, with their kind where it matters.
    const std::vector<int> tool{IDC_HOST_LABEL, IDC_HOST, IDC_START, IDC_RESULTS_LABEL, IDC_RESULTS};
    std::vector<std::pair<int, std::vector<int>>> pages{{IDD_ABOUT, {IDC_ABOUT_LOGO, IDC_VERSION, IDC_TEXT, IDOK}}, {IDD_ABOUT_LANDSCAPE, {IDC_ABOUT_LOGO, IDC_VERSION, IDC_TEXT, IDOK}}};
    for (const auto& row : app::MainFrame::Views()) {
        auto controls = row.templateId == IDD_SUMMARY ? std::vector<int>{IDC_TEXT, IDC_LOGO, IDC_HEADLINE} : row.refreshes ? std::vector<int>{IDC_TABS} : tool;
        if (row.templateId == IDD_PORTSCAN)
            controls.insert(controls.end(), {IDC_PORT_MODE, IDC_PORT_LIST, IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO, IDC_WELL_KNOWN});
        pages.emplace_back(row.templateId, controls);
        if (!row.refreshes)  // the data views lay themselves out and have no twin
            pages.emplace_back(row.templateId + 1, controls);
    }
    const std::tuple<int, const wchar_t*, LONG_PTR, LONG_PTR> kinds[] = {
        {IDC_TABS, WC_TABCONTROLW, TCS_BOTTOM | TCS_VERTICAL | TCS_MULTILINE, TCS_BOTTOM}, {IDC_PORT_MODE, WC_COMBOBOXW, 3, CBS_DROPDOWNLIST}, {IDC_HOST, WC_EDITW, 0, 0},
        {IDC_TEXT, WC_EDITW, ES_MULTILINE | ES_READONLY, ES_MULTILINE | ES_READONLY},      {IDC_LOGO, WC_STATICW, SS_TYPEMASK, SS_ICON}};
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
    std::map<int, std::set<int>> idsOfPair;
    for (const auto& [id, controls] : pages) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        const bool about = id == IDD_ABOUT || id == IDD_ABOUT_LANDSCAPE, portrait = id == IDD_ABOUT || id == IDD_SUMMARY || id >= IDD_NETSTAT || id % 2;
        const auto bytes = ResourceBytes(LoadLocalization(), RT_DIALOG, id);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_NE(bytes[2] | bytes[3] << 8, 0xFFFF) << "the extended form, which the relayout does not read";
        EXPECT_EQ(*reinterpret_cast<const DWORD*>(bytes.data()) & (WS_CHILD | WS_VISIBLE | WS_POPUP | DS_SETFONT), (about ? WS_POPUP : WS_CHILD) | DS_SETFONT)
            << "views are made hidden";
        HWND dialog = CreateDialogParamW(LoadLocalization(), MAKEINTRESOURCEW(id), host, [](HWND, UINT m, WPARAM, LPARAM) -> INT_PTR { return m == WM_INITDIALOG; }, 0);
        const SIZE area = portrait ? SIZE{240, 268} : SIZE{320, 188}, client = ClientSize(dialog);
        EXPECT_TRUE(client.cx <= area.cx && client.cy <= area.cy && client.cx >= area.cx - 4 && client.cy >= area.cy - 4) << client.cx << " x " << client.cy;
        EXPECT_EQ(WindowText(dialog), about ? L"About Orvane" : L"");
        for (int control : controls)
            EXPECT_NE(GetDlgItem(dialog, control), nullptr) << "control " << control;
        std::set<int> ids;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const int cid = GetDlgCtrlID(c);
            const RECT r = ChildRect(c);
            EXPECT_TRUE(cid != 0xFFFF && cid != 0 && ids.insert(cid).second) << "every control under an id of its own: " << cid;
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= area.cx && r.bottom <= area.cy) << cid << " leaves the screen";
            for (HWND d = GetWindow(c, GW_HWNDNEXT); d; d = GetWindow(d, GW_HWNDNEXT)) {
                RECT common{}, q = ChildRect(d);
                const int other = GetDlgCtrlID(d);
                EXPECT_TRUE((ModeGroup(cid) && ModeGroup(other) && ModeGroup(cid) != ModeGroup(other)) || !IntersectRect(&common, &r, &q)) << cid << " and " << other << " overlap";
            }
            // Labels and buttons show all their text; a button needs its edges, a check box its box and gap.
            const LONG_PTR bits = GetWindowLongPtrW(c, GWL_STYLE), type = bits & BS_TYPEMASK;
            const bool label = ClassOf(c) == L"Static" && (bits & SS_TYPEMASK) <= SS_RIGHT, button = ClassOf(c) == L"Button";
            if (RECT need{0, 0, r.right - r.left, 0}; (label || button) && !WindowText(c).empty()) {
                HDC dc = GetDC(c);
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
                DrawTextW(dc, WindowText(c).c_str(), -1, &need, DT_CALCRECT | (label ? DT_WORDBREAK : DT_SINGLELINE));
                ReleaseDC(c, dc);
                const LONG edges = label ? 0 : type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ? 19 : 8;
                EXPECT_TRUE(need.right + edges <= r.right - r.left && need.bottom <= r.bottom - r.top) << cid << " cuts its text";
            }
            for (const auto& [kind, windowClass, mask, style] : kinds)
                if (kind == cid || (about && kind == IDC_LOGO && cid == IDC_ABOUT_LOGO)) {
                    EXPECT_EQ(std::tuple(ClassOf(c), GetWindowLongPtrW(c, GWL_STYLE) & mask), std::tuple(std::wstring(windowClass), style)) << cid;
                }
        }
        auto& pair = idsOfPair[about ? IDD_ABOUT : portrait ? id : id - 1];
        EXPECT_TRUE(pair.empty() || pair == ids) << "the landscape twin holds other ids";
        pair = ids;
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
}

// The frame over a library without one resource comes up with what there is.
// Damaged templates are the relayout's tests.
using Expect = std::function<void(const Harness&)>;

std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> Variants()
{
    std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> all = {
        {"without the title string", {{RT_STRING, IDR_MAINFRAME_RES / 16 + 1, {}}},
         [](const Harness& h) { EXPECT_EQ(std::tuple(WindowText(h.frame->m_hWnd), h.frame->MenuBar() != nullptr), std::tuple(std::wstring(), true)); }},
        {"without the icon", {{RT_GROUP_ICON, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) { EXPECT_EQ(SendDlgItemMessageW(h.View(ID_VIEW_SUMMARY), IDC_LOGO, STM_GETICON, 0, 0), 0); }},
        {"without accelerators", {{RT_ACCELERATOR, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) {
             MSG key{h.frame->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
             EXPECT_FALSE(h.frame->PreTranslateMessage(key));
             h.Command(ID_VIEW_NETSTAT);
             EXPECT_TRUE(IsWindowVisible(h.View(ID_VIEW_NETSTAT))) << "commands still work";
         }},
        {"without the menu", {{RT_MENU, IDR_MENUBAR, {}}},
         [](const Harness& h) {
             const SIZE portrait = ClientSize(h.frame->m_hWnd);
             SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
             const SIZE landscape = ClientSize(h.frame->m_hWnd);
             SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
             EXPECT_EQ(std::tuple(h.frame->MenuBar(), portrait.cx, portrait.cy, landscape.cx, landscape.cy), std::tuple(HWND{}, 240L, 294L, 320L, 214L))
                 << "the screen below the taskbar, in both orientations";
         }},
        {"without the about dialog", {{RT_DIALOG, IDD_ABOUT, {}}}, [](const Harness& h) { EXPECT_EQ(app::CAboutDlg().RunModal(h.frame->m_hWnd), -1); }},
    };
    for (const auto& row : app::MainFrame::Views()) {
        // The view whose template is missing has no window; the switching rules hold around it.
        const int other = row.commandId == ID_VIEW_NETSTAT ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT;
        all.emplace_back("without template " + std::to_string(row.templateId), std::vector<ResourceEdit>{{RT_DIALOG, row.templateId, {}}},
                         [row, other](const Harness& h) {
                             const auto& views = h.frame->ViewTable();
                             EXPECT_EQ(std::count_if(views.begin(), views.end(), [](const auto& e) { return e.viewWindow != nullptr; }), 8);
                             EXPECT_EQ(std::tuple(h.View(row.commandId), IsWindowVisible(h.View(ID_VIEW_SUMMARY))), std::tuple(HWND{}, row.commandId != ID_VIEW_SUMMARY));
                             h.Command(other);
                             h.Command(row.commandId);
                             EXPECT_TRUE(std::none_of(views.begin(), views.end(), [](const auto& e) { return e.viewWindow && IsWindowVisible(e.viewWindow); }));
                             h.Command(other);
                             EXPECT_TRUE(IsWindowVisible(h.View(other)));
                         });
    }
    return all;
}

TEST(LibraryVariants, TheFrameComesUpWithWhatThereIs)
{
    const HMODULE real = app::Module().Resources();
    for (const auto& [what, edits, expect] : Variants()) {
        SCOPED_TRACE(what);
        const std::wstring folder = TempFolder();
        ASSERT_TRUE(WriteLibraryVariant(folder, edits));
        HMODULE variant = LoadLocalization(folder + L"localization.dll");
        app::Module().SetResources(variant);
        expect(Harness());
        app::Module().SetResources(real);
        FreeLibrary(variant);
        RemoveFolder(folder);
    }
}

}  // namespace
