// The frame and the about dialog as a user meets them; localization.dll, and the frame over copies each missing
// one resource.
#include "app/AboutDlg.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commctrl.h>
#include <map>
#include <set>

using namespace test;

namespace {

// Each command, its view and template in the order of creation, and what refresh reads there.
const struct {
    int command, viewIndex, templateId;
    int FakeCalls::*refreshReads;
} kViews[] = {
    {ID_VIEW_SUMMARY, 1, IDD_SUMMARY, &FakeCalls::networkParams},
    {ID_VIEW_IPCONFIG, 2, IDD_IPCONFIG, &FakeCalls::adaptersInfo},
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
int ShownView(const Harness& h)
{
    const auto& views = h.frame->ViewTable();
    const auto shown = [](const app::ViewEntry& e) { return e.viewWindow && IsWindowVisible(e.viewWindow); };
    const auto first = std::find_if(views.begin(), views.end(), shown);
    const bool one = std::count_if(views.begin(), views.end(), shown) == 1;
    return one && first->viewIndex == h.frame->CurrentView() ? first->viewIndex : -1;
}

// The check marks of Summary and Statistics as a user sees them when their popup opens.
std::pair<bool, bool> Checked(const Harness& h)
{
    HMENU bar = LoadMenuW(app::Module().Resources(), MAKEINTRESOURCEW(IDR_MENUBAR)), popup = GetSubMenu(bar, 0);
    SendMessageW(h.frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const bool summary = GetMenuState(popup, ID_VIEW_SUMMARY, MF_BYCOMMAND) & MF_CHECKED;
    const bool statistics = GetMenuState(popup, ID_VIEW_NETSTAT, MF_BYCOMMAND) & MF_CHECKED;
    DestroyMenu(bar);
    return {summary, statistics};
}

TEST(Frame, ViewCommandsShowOneViewMadeFromItsTemplateAndMoveTheCheckMark)
{
    // Commands; the view shown; Summary and Statistics checked.
    const std::tuple<std::vector<int>, int, std::pair<bool, bool>> cases[] = {
        {{}, 1, {true, false}},
        {{ID_VIEW_NETSTAT}, 7, {false, true}},
        {{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY}, 1, {true, false}},
        {{ID_VIEW_UNBOUND}, 1, {false, false}},  // from the Summary: it stays, unchecked
        {{ID_VIEW_NETSTAT, ID_VIEW_UNBOUND}, 1, {false, false}},
        {{ID_VIEW_NETSTAT, ID_VIEW_NETSTAT}, 7, {false, true}},  // its own command: nothing moves, still checked
        {{ID_VIEW_PING, ID_VIEW_SUMMARY, ID_VIEW_PING}, 3, {false, false}},
    };
    for (const auto& [commands, shown, checked] : cases) {
        SCOPED_TRACE(testing::Message() << commands.size() << " commands, to view " << shown);
        Harness h;
        for (int command : commands)
            h.Command(command);
        EXPECT_EQ(ShownView(h), shown);
        EXPECT_EQ(Checked(h), checked) << "Summary and Statistics checked";
    }
    Harness h;
    EXPECT_EQ(WindowText(h.frame->m_hWnd), L"Orvane");
    ASSERT_EQ(h.frame->ViewTable().size(), std::size(kViews));
    for (std::size_t i = 0; i < std::size(kViews); ++i) {
        const auto& row = kViews[i];
        SCOPED_TRACE(row.command);
        const app::ViewEntry& e = h.frame->ViewTable()[i];
        EXPECT_EQ(std::tuple(e.viewIndex, e.commandId, e.templateId),
                  std::tuple(row.viewIndex, row.command, row.templateId)) << "the view, its command and template";
        h.fake.ResetCounts();
        h.Command(row.command);
        EXPECT_EQ(ShownView(h), row.viewIndex);
        EXPECT_EQ(h.fake.calls.Total(), 0) << "switching reads nothing";
        h.Command(ID_REFRESH);
        EXPECT_EQ(h.fake.calls.Total() > 0, row.refreshReads != nullptr) << "refresh reads on the data views only";
        EXPECT_TRUE(!row.refreshReads || h.fake.calls.*row.refreshReads > 0) << "refresh reads the view's own data";
    }
    LRESULT result = 0;
    for (WPARAM other : {40012, 1, 40019})
        EXPECT_FALSE(h.frame->ProcessWindowMessage(h.frame->m_hWnd, WM_COMMAND, other, 0, result)) << "not consumed";
    HMENU popup = CreatePopupMenu();
    EXPECT_FALSE(h.frame->ProcessWindowMessage(h.frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0,
                                               result)) << "applied, then handed on";
    DestroyMenu(popup);
}

// Hides the frame's menu bar as it is shown, before the frame fits itself to the bar.
LRESULT CALLBACK HideTheFramesBar(int code, WPARAM wParam, LPARAM lParam)
{
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    const bool shown = call.message == WM_WINDOWPOSCHANGED &&
                       reinterpret_cast<const WINDOWPOS*>(call.lParam)->flags & SWP_SHOWWINDOW;
    if (code == HC_ACTION && shown && ClassOf(GetWindow(call.hwnd, GW_OWNER)) == app::MainFrame::kClassName)
        ShowWindow(call.hwnd, SW_HIDE);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Frame, FillsTheScreenAboveItsMenuBarAndTakesItsKeysAndSoftKeys)
{
    {
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, HideTheFramesBar, nullptr, GetCurrentThreadId());
        const Harness hidden;
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(IsWindowVisible(hidden.frame->MenuBar()));
        EXPECT_EQ(ClientSize(hidden.frame->m_hWnd).cy, 294) << "a hidden bar leaves it the screen below the taskbar";
    }
    Harness h;
    HWND frame = h.frame->m_hWnd;
    for (const auto& [turns, area] : {std::pair{0, SIZE{240, 268}}, {1, SIZE{320, 188}}, {1, SIZE{240, 268}}}) {
        SCOPED_TRACE(testing::Message() << "screen " << area.cx << " wide");
        if (turns)
            SendMessageW(frame, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
        RECT f{}, bar{};
        GetWindowRect(frame, &f);
        GetWindowRect(h.frame->MenuBar(), &bar);
        EXPECT_EQ(ClientSize(frame), area) << "the frame ends where the menu bar begins";
        EXPECT_EQ(bar, (RECT{f.left, f.bottom, f.right, f.bottom + shell::kMenuBarHeight})) << "the bar below";
        for (const app::ViewEntry& e : h.frame->ViewTable())
            EXPECT_EQ(ChildRect(e.viewWindow), (RECT{0, 0, area.cx, area.cy})) << e.viewIndex;
    }
    MSG f5{frame, WM_KEYDOWN, VK_F5, 0, 0, {}}, q{frame, WM_KEYDOWN, 'Q', 0, 0, {}};
    EXPECT_TRUE(h.frame->PreTranslateMessage(f5)) << "F5 is one of the frame's keys";
    EXPECT_FALSE(h.frame->PreTranslateMessage(q)) << "Q is not";
    EXPECT_NE(GetMenuState(GetSystemMenu(frame, FALSE), shell::SC_TURNSCREEN, MF_BYCOMMAND), UINT(-1))
        << "the turn on the system menu";
    // A soft key per popup, with its label, opening it for the frame, which checks the current view there.
    HMENU menu = LoadMenuW(app::Module().Resources(), MAKEINTRESOURCEW(IDR_MENUBAR));
    int key = 0;
    for (HWND button = GetWindow(h.frame->MenuBar(), GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
        SCOPED_TRACE(testing::Message() << "soft key " << key);
        wchar_t label[64]{};
        GetMenuStringW(menu, static_cast<UINT>(key), label, 64, MF_BYPOSITION);
        EXPECT_EQ(WindowText(button), label);
        std::vector<UINT> items;
        UINT summary = 0;
        WhileModal([&] { return SendMessageW(button, BM_CLICK, 0, 0); }, [&](HWND popup) -> const char* {
            const auto opened = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            items = ItemIds(opened), summary = GetMenuState(opened, ID_VIEW_SUMMARY, MF_BYCOMMAND);
            return EndMenu(), nullptr;
        });
        EXPECT_EQ(items, ItemIds(GetSubMenu(menu, key))) << "the key opens its popup";
        EXPECT_EQ(summary, key ? UINT(-1) : UINT{MF_CHECKED}) << "the current view is checked";
        ++key;
    }
    EXPECT_EQ(key, GetMenuItemCount(menu));
    DestroyMenu(menu);
}

TEST(AboutDialog, OpensFromTheFrameWithTheProductVersionAfterEveryTurnAndCloses)
{
    for (const auto& [error, hr] : {std::pair{DWORD{ERROR_ACCESS_DENIED}, HRESULT(0x80070005)},
                                    {0x12345, HRESULT(0x80072345)}, {0, E_FAIL}}) {
        SetLastError(error);
        EXPECT_EQ(app::LastErrorAsHresult(), hr) << error;
    }
    Harness h;
    std::vector<std::wstring> versions;
    WhileModal([&] { return SendMessageW(h.frame->m_hWnd, WM_COMMAND, ID_ABOUT, 0); }, [&](HWND about) -> const char* {
        if (GetForegroundWindow() != about)
            return "the about box to come to the front";
        EXPECT_EQ(WindowText(about), L"About Orvane");
        EXPECT_EQ(WindowText(GetDlgItem(about, IDC_TEXT)), app::CAboutDlg::kAboutText);
        EXPECT_EQ(GetFocus(), GetDlgItem(about, IDOK)) << "the text would show selected";
        EXPECT_EQ(ClientSize(about), (SIZE{240, 268}));
        for (const int turned : {IDD_ABOUT_LANDSCAPE, IDD_ABOUT}) {
            versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
            SetDlgItemTextW(about, IDC_VERSION, L"stale");
            shell::TurnScreen();
            ExpectAtTemplate(about, app::Module().Resources(), turned);
        }
        versions.push_back(WindowText(GetDlgItem(about, IDC_VERSION)));
        return SendMessageW(about, WM_COMMAND, IDOK, 0), nullptr;
    });
    EXPECT_EQ(versions, std::vector<std::wstring>(3, L"1.65535.32.0")) << "the product version, not the file's";
    const auto run = [&] { return app::CAboutDlg().RunModal(h.frame->m_hWnd); };
    for (const auto& [message, wParam, expected] : {std::tuple{WM_COMMAND, IDOK, IDOK},
                                                    {WM_COMMAND, IDCANCEL, IDCANCEL},
                                                    {WM_SYSCOMMAND, SC_CLOSE, IDOK}}) {  // the Done button
        const auto send = [=](HWND about) -> const char* { return SendMessageW(about, message, wParam, 0), nullptr; };
        EXPECT_EQ(WhileModal(run, send), expected) << message << " " << wParam;
    }
}

// A key as a menu label shows it: "Ctrl+1", "F5", "Alt+Home".
std::wstring KeyText(const ACCEL& a)
{
    const bool function = a.key >= VK_F1 && a.key <= VK_F24;
    const std::wstring key = a.key == VK_HOME ? L"Home" : function ? L"F" + std::to_wstring(a.key - VK_F1 + 1)
                                                                   : std::wstring(1, wchar_t(a.key));
    return std::wstring(a.fVirt & FCONTROL ? L"Ctrl+" : L"") + (a.fVirt & FALT ? L"Alt+" : L"") + key;
}

TEST(ResourceLibrary, AMenuOfEveryCommandWhoseLabelledKeysAreTheAccelerators)
{
    const HMODULE library = LoadLocalization();
    HACCEL table = LoadAcceleratorsW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
    std::vector<ACCEL> keys(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    DestroyAcceleratorTable(table);
    std::map<std::wstring, UINT> sends;  // by the key as a label shows it
    for (const ACCEL& key : keys)
        sends[KeyText(key)] = key.cmd;
    std::set<UINT> items;
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(IDR_MENUBAR));
    for (int i = 0; i < GetMenuItemCount(menu); ++i)  // every item of every soft key's popup
        for (int j = 0; j < GetMenuItemCount(GetSubMenu(menu, i)); ++j) {
            const UINT id = GetMenuItemID(GetSubMenu(menu, i), j);
            wchar_t label[64]{};
            GetMenuStringW(menu, id, label, 64, MF_BYCOMMAND);
            if (const wchar_t* key = wcschr(label, L'\t'); key && id) {
                const auto sent = sends.find(key + 1);
                EXPECT_TRUE(sent != sends.end() && sent->second == id) << key + 1 << " does not send " << id;
                sends.erase(key + 1);
            }
            items.insert(id);
        }
    DestroyMenu(menu);
    for (const auto& [key, id] : sends)
        ADD_FAILURE() << "no label shows the key that sends " << id;
    std::vector<UINT> commands{ID_VIEW_UNBOUND, ID_ABOUT, ID_REFRESH};
    for (const auto& row : kViews)
        commands.push_back(row.command);
    for (UINT command : commands)
        EXPECT_EQ(items.count(command), 1u) << "an item for " << command;
}

using Expect = std::function<void(const Harness&)>;

std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> Variants()
{
    std::vector<std::tuple<std::string, std::vector<ResourceEdit>, Expect>> all = {
        {"without the title string", {{RT_STRING, IDR_MAINFRAME_RES / 16 + 1, {}}},
         [](const Harness& h) { EXPECT_EQ(WindowText(h.frame->m_hWnd), L""); }},
        {"without the icon", {{RT_GROUP_ICON, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) { EXPECT_EQ(SendMessageW(h.Item(ID_VIEW_SUMMARY, IDC_LOGO), STM_GETICON, 0, 0), 0); }},
        {"without accelerators", {{RT_ACCELERATOR, IDR_MAINFRAME_RES, {}}},
         [](const Harness& h) {
             MSG key{h.frame->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
             EXPECT_FALSE(h.frame->PreTranslateMessage(key));
             h.Command(ID_VIEW_NETSTAT);
             EXPECT_EQ(ShownView(h), 7) << "commands still work";
         }},
        {"without the menu", {{RT_MENU, IDR_MENUBAR, {}}},
         [](const Harness& h) {  // the frame keeps the screen below the taskbar, in both orientations
             EXPECT_EQ(h.frame->MenuBar(), nullptr);
             for (const SIZE screen : {SIZE{240, 294}, SIZE{320, 214}}) {  // turned, then turned back
                 EXPECT_EQ(ClientSize(h.frame->m_hWnd), screen);
                 SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
             }
         }},
        {"without the about dialog", {{RT_DIALOG, IDD_ABOUT, {}}},
         [](const Harness& h) { EXPECT_EQ(app::CAboutDlg().RunModal(h.frame->m_hWnd), -1); }},
    };
    for (const auto& row : kViews) {  // that view has no window; the switching rules hold around it
        const int other = row.command == ID_VIEW_NETSTAT ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT;
        const std::vector<ResourceEdit> edits{{RT_DIALOG, row.templateId, {}}};
        all.emplace_back("without template " + std::to_string(row.templateId), edits, [&row, other](const Harness& h) {
            int made = 0;
            for (HWND view = GetWindow(h.frame->m_hWnd, GW_CHILD); view; view = GetWindow(view, GW_HWNDNEXT))
                ++made;
            EXPECT_EQ(made, 8) << "the other views are made";
            EXPECT_EQ(h.View(row.command), nullptr);
            EXPECT_EQ(ShownView(h), row.command == ID_VIEW_SUMMARY ? -1 : 1) << "at the start";
            h.Command(other), h.Command(row.command);
            EXPECT_EQ(ShownView(h), -1) << "none shown";
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
