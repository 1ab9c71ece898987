// The frame and the about dialog as a user meets them; localization.dll, and the frame over copies each missing one resource.
#include "app/AboutDlg.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commctrl.h>
#include <set>

using namespace test;

namespace {

// Each command, its view and template in the order of creation, and what refresh reads there.
const struct {
    int command, viewIndex, templateId;
    int FakeCalls::*refreshReads;
} kViews[] = {
    {ID_VIEW_SUMMARY, 1, IDD_SUMMARY, &FakeCalls::networkParams}, {ID_VIEW_IPCONFIG, 2, IDD_IPCONFIG, &FakeCalls::adaptersInfo},
    {ID_VIEW_FINGER, 8, IDD_FINGER},   {ID_VIEW_PING, 3, IDD_PING},       {ID_VIEW_PORTSCAN, 9, IDD_PORTSCAN},
    {ID_VIEW_NETSTAT, 7, IDD_NETSTAT, &FakeCalls::tcp},                  {ID_VIEW_NSLOOKUP, 5, IDD_NSLOOKUP},
    {ID_VIEW_TRACERT, 4, IDD_TRACERT}, {ID_VIEW_WHOIS, 6, IDD_WHOIS},
};

std::vector<UINT> ItemIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

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
    const std::tuple<std::vector<int>, int, std::pair<bool, bool>> cases[] = {  // commands; the view shown; Summary and Statistics checked
        {{}, 1, {true, false}},
        {{ID_VIEW_NETSTAT}, 7, {false, true}},
        {{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY}, 1, {true, false}},
        {{ID_VIEW_UNBOUND}, 1, {false, false}},  // from the Summary: it stays, unchecked
        {{ID_VIEW_NETSTAT, ID_VIEW_UNBOUND}, 1, {false, false}},
        {{ID_VIEW_NETSTAT, ID_VIEW_NETSTAT}, 7, {false, true}},  // its own command: nothing moves, still checked
        {{ID_VIEW_PING, ID_VIEW_SUMMARY, ID_VIEW_PING}, 3, {false, false}},
    };
    for (const auto& [commands, shown, checked] : cases) {
        Harness h;
        for (int command : commands)
            h.Command(command);
        EXPECT_EQ(std::tuple(Shown(h), Checked(h)), std::tuple(shown, checked)) << commands.size() << " commands";
    }
    Harness h;
    EXPECT_EQ(WindowText(h.frame->m_hWnd), L"Orvane");
    ASSERT_EQ(h.frame->ViewTable().size(), std::size(kViews));
    for (std::size_t i = 0; i < std::size(kViews); ++i) {
        const auto& row = kViews[i];
        const app::ViewEntry& e = h.frame->ViewTable()[i];
        EXPECT_EQ(std::tuple(e.viewIndex, e.commandId, e.templateId),
                  std::tuple(row.viewIndex, row.command, row.templateId));
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

TEST(Frame, FillsTheScreenAboveItsMenuBarAndTakesItsKeysAndSoftKeys)
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
    EXPECT_NE(GetMenuState(GetSystemMenu(frame, FALSE), shell::SC_TURNSCREEN, MF_BYCOMMAND), UINT(-1)) << "the turn on the system menu";
    // A soft key per popup, with its label, opening it for the frame, which checks the current view there.
    HMENU menu = LoadMenuW(app::Module().Resources(), MAKEINTRESOURCEW(IDR_MENUBAR));
    int key = 0;
    for (HWND button = GetWindow(h.frame->MenuBar(), GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT), ++key) {
        wchar_t label[64]{};
        GetMenuStringW(menu, static_cast<UINT>(key), label, 64, MF_BYPOSITION);
        std::tuple<std::wstring, std::vector<UINT>, UINT> opened{WindowText(button), {}, 0};
        WhileModal([&] { return SendMessageW(button, BM_CLICK, 0, 0); }, [&](HWND popup) {
            const auto items = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            return std::get<1>(opened) = ItemIds(items), std::get<2>(opened) = GetMenuState(items, ID_VIEW_SUMMARY, MF_BYCOMMAND), EndMenu(), false;
        });
        EXPECT_EQ(opened, std::tuple(std::wstring(label), ItemIds(GetSubMenu(menu, key)), key ? UINT(-1) : UINT{MF_CHECKED})) << "soft key " << key;
    }
    EXPECT_EQ(key, GetMenuItemCount(menu));
    DestroyMenu(menu);
}

TEST(AboutDialog, ShowsTheTextAndTheProductVersionAfterEveryTurnAndCloses)
{
    for (const auto& [error, hr] : {std::pair{DWORD{ERROR_ACCESS_DENIED}, HRESULT(0x80070005)}, {0x12345, HRESULT(0x80072345)}, {0, E_FAIL}}) {
        SetLastError(error);
        EXPECT_EQ(app::LastErrorAsHresult(), hr) << error;
    }
    Harness h;
    std::vector<std::wstring> versions;
    const auto run = [&] { return app::CAboutDlg().RunModal(h.frame->m_hWnd); };
    EXPECT_EQ(WhileModal(run, [&](HWND about) {
        if (GetForegroundWindow() != about)  // another program's window came forward: the focus is ours again once it is back
            return SetForegroundWindow(about), true;
        EXPECT_EQ(std::tuple(WindowText(about), WindowText(GetDlgItem(about, IDC_TEXT))), std::tuple(std::wstring(L"About Orvane"), std::wstring(app::CAboutDlg::kAboutText)));
        EXPECT_EQ(GetFocus(), GetDlgItem(about, IDOK)) << "the text would show selected";
        EXPECT_EQ(std::tuple(ClientSize(about).cx, ClientSize(about).cy), std::tuple(240L, 268L));
        for (const int turned : {IDD_ABOUT_LANDSCAPE, IDD_ABOUT}) {
            versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
            SetDlgItemTextW(about, IDC_VERSION, L"stale");
            shell::TurnScreen();
            ExpectAtTemplate(about, app::Module().Resources(), turned);
        }
        versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
        return SendMessageW(about, WM_COMMAND, IDOK, 0), false;
    }), IDOK);
    EXPECT_EQ(versions, std::vector<std::wstring>(3, L"1.65535.32.0")) << "the product version, not the file's";
    for (const auto& [message, wParam, expected] : {std::tuple{WM_COMMAND, IDCANCEL, IDCANCEL}, {WM_SYSCOMMAND, SC_CLOSE, IDOK}})
        EXPECT_EQ(WhileModal(run, [=](HWND about) { return SendMessageW(about, message, wParam, 0), false; }), expected)
            << "Cancel, and the Done button of the title bar";
}

// A key as a menu label shows it: "Ctrl+1", "F5", "Alt+Home".
std::wstring KeyText(const ACCEL& a)
{
    const std::wstring key = a.key == VK_HOME ? L"Home" : a.key >= VK_F1 && a.key <= VK_F24 ? L"F" + std::to_wstring(a.key - VK_F1 + 1) : std::wstring(1, wchar_t(a.key));
    return std::wstring(a.fVirt & FCONTROL ? L"Ctrl+" : L"") + (a.fVirt & FALT ? L"Alt+" : L"") + key;
}

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
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(IDR_MENUBAR));
    std::set<int> commands{ID_VIEW_UNBOUND, ID_ABOUT, ID_REFRESH}, labelled;
    const app::MainFrame frame;
    for (const auto& row : frame.ViewTable())
        commands.insert(row.commandId);
    for (int i = 0; i < GetMenuItemCount(menu); ++i)  // every item of every soft key's popup that shows a key
        for (int j = 0; j < GetMenuItemCount(GetSubMenu(menu, i)); ++j)
            if (wchar_t label[64]{}; GetMenuStringW(GetSubMenu(menu, i), static_cast<UINT>(j), label, 64, MF_BYPOSITION) && wcschr(label, L'\t'))
                labelled.insert(static_cast<int>(GetMenuItemID(GetSubMenu(menu, i), j)));
    for (const ACCEL& key : keys) {
        wchar_t label[64]{};
        GetMenuStringW(menu, key.cmd, label, 64, MF_BYCOMMAND);
        EXPECT_TRUE(std::wstring(label).ends_with(L"\t" + KeyText(key)) && labelled.erase(key.cmd)) << key.cmd << " is sent by a key its item does not show";
    }
    EXPECT_TRUE(labelled.empty()) << "an item shows a key that sends nothing, e.g. " << *labelled.begin();
    for (int command : commands)
        EXPECT_GT(GetMenuStringW(menu, static_cast<UINT>(command), nullptr, 0, MF_BYCOMMAND), 0) << "no item sends " << command;
    DestroyMenu(menu);
    DestroyAcceleratorTable(table);
}

// The port scan view shows one mode's controls at a time: they share one area.
int ModeGroup(int id) { return id == IDC_PORT_LIST ? 1 : id == IDC_WELL_KNOWN ? 3 : id == IDC_RANGE_FROM_LABEL || id == IDC_RANGE_FROM || id == IDC_RANGE_TO_LABEL || id == IDC_RANGE_TO ? 2 : 0; }

TEST(ResourceLibrary, EveryPageHoldsItsControlsOnTheScreenOfItsOrientation)
{
    // Each page's controls the program addresses, with their kind where it matters.
    const std::vector<int> tool{IDC_HOST_LABEL, IDC_HOST, IDC_START, IDC_RESULTS_LABEL, IDC_RESULTS};
    std::vector<std::pair<int, std::vector<int>>> pages{{IDD_ABOUT, {IDC_ABOUT_LOGO, IDC_VERSION, IDC_TEXT, IDOK}}, {IDD_ABOUT_LANDSCAPE, {IDC_ABOUT_LOGO, IDC_VERSION, IDC_TEXT, IDOK}}};
    const app::MainFrame frame;
    for (const auto& row : frame.ViewTable()) {
        const bool tabbed = row.templateId == IDD_NETSTAT || row.templateId == IDD_IPCONFIG;
        auto controls = row.templateId == IDD_SUMMARY ? std::vector<int>{IDC_TEXT, IDC_LOGO, IDC_HEADLINE}
                        : tabbed                      ? std::vector<int>{IDC_TABS}
                                                      : tool;
        if (row.templateId == IDD_PORTSCAN)
            controls.insert(controls.end(), {IDC_PORT_MODE, IDC_PORT_LIST, IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO, IDC_WELL_KNOWN});
        pages.emplace_back(row.templateId, controls);
        if (!tabbed && row.templateId != IDD_SUMMARY)  // the data views lay themselves out and have no twin
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
             EXPECT_EQ(Shown(h), 7) << "commands still work";
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
    const app::MainFrame frame;
    for (const auto& row : frame.ViewTable()) {  // that view has no window; the switching rules hold around it
        const int other = row.commandId == ID_VIEW_NETSTAT ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT;
        all.emplace_back("without template " + std::to_string(row.templateId), std::vector<ResourceEdit>{{RT_DIALOG, row.templateId, {}}}, [row, other](const Harness& h) {
            const auto& views = h.frame->ViewTable();
            const auto made = std::count_if(views.begin(), views.end(), [](const auto& e) { return e.viewWindow != nullptr; });
            EXPECT_EQ(std::tuple(made, h.View(row.commandId), Shown(h)), std::tuple(8, HWND{}, row.commandId == ID_VIEW_SUMMARY ? -1 : 1));
            h.Command(other), h.Command(row.commandId);
            EXPECT_EQ(Shown(h), -1) << "none shown";
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
