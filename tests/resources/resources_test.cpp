// localization.dll as the program meets it: every id it asks for resolves to a
// resource of the right kind, the dialogs hold the controls the views address,
// and each page fits the device's client area without clipping or overlap.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

constexpr SIZE kPortrait{240, 268};
constexpr SIZE kLandscape{320, 188};

struct DialogCase {
    int id;
    int twin;                 // landscape template, 0 when the view lays itself out
    bool toolView;            // a child of the frame, created hidden
    std::vector<int> controls;
};

const std::vector<int> kPlaceholderControls{IDC_HOST_LABEL, IDC_HOST, IDC_START, IDC_RESULTS_LABEL, IDC_RESULTS};

const std::vector<DialogCase>& Dialogs()
{
    static const std::vector<DialogCase> cases{
        {IDD_ABOUT, IDD_ABOUT_LANDSCAPE, false, {IDC_ABOUT_LOGO, IDC_ABOUT_TITLE, IDC_VERSION, IDC_TEXT, IDOK}},
        {IDD_PORTSCAN, IDD_PORTSCAN_LANDSCAPE, true,
         {IDC_PORT_MODE, IDC_HOST, IDC_RANGE_TO_LABEL, IDC_RANGE_FROM_LABEL, IDC_PORT_LIST, IDC_WELL_KNOWN,
          IDC_RANGE_TO, IDC_RANGE_FROM, IDC_START}},
        {IDD_PING, IDD_PING_LANDSCAPE, true, kPlaceholderControls},
        {IDD_FINGER, IDD_FINGER_LANDSCAPE, true, kPlaceholderControls},
        {IDD_NSLOOKUP, IDD_NSLOOKUP_LANDSCAPE, true, kPlaceholderControls},
        {IDD_TRACERT, IDD_TRACERT_LANDSCAPE, true, kPlaceholderControls},
        {IDD_WHOIS, IDD_WHOIS_LANDSCAPE, true, kPlaceholderControls},
        {IDD_SUMMARY, 0, true, {IDC_TEXT, IDC_LOGO, IDC_HEADLINE}},
        {IDD_NETSTAT, 0, true, {IDC_TABS}},
        {IDD_IPCONFIG, 0, true, {IDC_TABS}},
    };
    return cases;
}

// The port scan view shows one of these groups at a time, so they share one area.
int PortModeGroup(int id)
{
    switch (id) {
    case IDC_PORT_LIST: return 1;
    case IDC_RANGE_FROM_LABEL: case IDC_RANGE_FROM: case IDC_RANGE_TO_LABEL: case IDC_RANGE_TO: return 2;
    case IDC_WELL_KNOWN: return 3;
    default: return 0;
    }
}

INT_PTR CALLBACK TrivialProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool SameClass(HWND hwnd, const wchar_t* name)
{
    return lstrcmpiW(ClassOf(hwnd).c_str(), name) == 0;
}

DWORD StyleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

// Direct children only: a tab control's scroll buttons are not dialog controls.
std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT RectInParent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ResourceLibrary : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wchar_t path[MAX_PATH]{};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dll = path;
        dll.erase(dll.find_last_of(L"\\/") + 1);
        dll += L"localization.dll";
        library = LoadLibraryExW(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);

        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvaneResourceTestHost";
        RegisterClassW(&wc);
        host = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 400, 400, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(host);
        if (library)
            FreeLibrary(library);
    }

    void SetUp() override
    {
        ASSERT_NE(library, nullptr) << "localization.dll beside the test program did not load";
        ASSERT_NE(host, nullptr);
    }

    static const DLGTEMPLATE* Template(int id)
    {
        HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
        HGLOBAL loaded = found ? LoadResource(library, found) : nullptr;
        return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    }

    // A dialog window made from a template, destroyed with the guard.
    struct Dialog {
        HWND hwnd = nullptr;
        explicit Dialog(HWND h) : hwnd(h) {}
        Dialog(const Dialog&) = delete;
        Dialog& operator=(const Dialog&) = delete;
        ~Dialog() { if (hwnd) DestroyWindow(hwnd); }
    };

    static HWND Create(int id)
    {
        const DLGTEMPLATE* tpl = Template(id);
        return tpl ? CreateDialogIndirectParamW(library, tpl, host, TrivialProc, 0) : nullptr;
    }

    static HMODULE library;
    static HWND host;
};

HMODULE ResourceLibrary::library = nullptr;
HWND ResourceLibrary::host = nullptr;

// ------------------------------------------------------------ title, icon, keys, menu

TEST_F(ResourceLibrary, TitleIconAndAcceleratorsResolve)
{
    wchar_t title[32]{};
    EXPECT_EQ(LoadStringW(library, IDR_MAINFRAME_RES, title, 32), 6);
    EXPECT_STREQ(title, L"Orvane");

    HICON icon = static_cast<HICON>(LoadImageW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES), IMAGE_ICON, 32, 32,
                                               LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    HACCEL table = LoadAcceleratorsW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    const bool f5 = std::any_of(keys.begin(), keys.end(), [](const ACCEL& a) {
        return a.key == VK_F5 && (a.fVirt & ~FNOINVERT) == FVIRTKEY && a.cmd == ID_REFRESH;
    });
    EXPECT_TRUE(f5) << "F5 must send the refresh command";
    DestroyAcceleratorTable(table);
}

// Collects every command item of a menu and its submenus with its label.
void CollectItems(HMENU menu, std::map<UINT, std::wstring>& items, int& popups)
{
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t label[128]{};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = label;
        mii.cch = 128;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        if (mii.hSubMenu) {
            ++popups;
            CollectItems(mii.hSubMenu, items, popups);
        } else if (!(mii.fType & MFT_SEPARATOR)) {
            items[mii.wID] = label;
        }
    }
}

// Parses the key a menu label shows after its tab, e.g. "Ctrl+1", "F5", "Alt+Home".
bool ParseShortcut(const std::wstring& text, ACCEL& out)
{
    out = ACCEL{FVIRTKEY, 0, 0};
    std::wstring rest = text;
    for (;;) {
        if (rest.rfind(L"Ctrl+", 0) == 0) { out.fVirt |= FCONTROL; rest.erase(0, 5); }
        else if (rest.rfind(L"Alt+", 0) == 0) { out.fVirt |= FALT; rest.erase(0, 4); }
        else if (rest.rfind(L"Shift+", 0) == 0) { out.fVirt |= FSHIFT; rest.erase(0, 6); }
        else break;
    }
    if (rest.size() == 1 && std::iswalnum(rest[0])) { out.key = static_cast<WORD>(std::towupper(rest[0])); return true; }
    if (rest.size() >= 2 && rest[0] == L'F') {
        const int n = _wtoi(rest.c_str() + 1);
        if (n >= 1 && n <= 12) { out.key = static_cast<WORD>(VK_F1 + n - 1); return true; }
    }
    if (rest == L"Home") { out.key = VK_HOME; return true; }
    if (rest == L"End") { out.key = VK_END; return true; }
    if (rest == L"Del") { out.key = VK_DELETE; return true; }
    return false;
}

TEST_F(ResourceLibrary, MenuBarOffersEveryCommandWithTheKeysItShows)
{
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(IDR_MENUBAR));
    ASSERT_NE(menu, nullptr);
    std::map<UINT, std::wstring> items;
    int popups = 0;
    CollectItems(menu, items, popups);

    // Soft keys: every top-level item opens a popup.
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        EXPECT_NE(GetSubMenu(menu, i), nullptr) << "top-level item " << i << " is not a soft key with a popup";
    EXPECT_GE(GetMenuItemCount(menu), 1);

    for (UINT command : {ID_VIEW_PING, ID_VIEW_TRACERT, ID_VIEW_SUMMARY, ID_VIEW_UNBOUND, ID_VIEW_NETSTAT,
                         ID_VIEW_NSLOOKUP, ID_VIEW_PORTSCAN, ID_VIEW_WHOIS, ID_VIEW_FINGER, ID_ABOUT,
                         ID_VIEW_IPCONFIG, ID_REFRESH})
        EXPECT_TRUE(items.count(command)) << "no menu item sends " << command;

    // A key a label promises must be a key of the table, sending that item's command.
    HACCEL table = LoadAcceleratorsW(library, MAKEINTRESOURCEW(IDR_MAINFRAME_RES));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    DestroyAcceleratorTable(table);
    for (const auto& [command, label] : items) {
        const auto tab = label.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        ACCEL shown{};
        ASSERT_TRUE(ParseShortcut(label.substr(tab + 1), shown)) << "unreadable key in menu label";
        const bool bound = std::any_of(keys.begin(), keys.end(), [&](const ACCEL& a) {
            return a.key == shown.key && (a.fVirt & ~FNOINVERT) == shown.fVirt && a.cmd == command;
        });
        EXPECT_TRUE(bound) << "menu item " << command << " shows a key that does not send it";
    }
    // And every key of the table sends a command the menu offers.
    for (const ACCEL& a : keys)
        EXPECT_TRUE(items.count(a.cmd)) << "accelerator for " << a.cmd << " sends no menu command";
    DestroyMenu(menu);
}

// ------------------------------------------------------------ dialog templates

TEST_F(ResourceLibrary, EveryDialogIsAStandardTemplateOfItsKind)
{
    for (const DialogCase& c : Dialogs()) {
        for (int id : {c.id, c.twin}) {
            if (!id)
                continue;
            SCOPED_TRACE("dialog " + std::to_string(id));
            const DLGTEMPLATE* tpl = Template(id);
            ASSERT_NE(tpl, nullptr);
            const auto* words = reinterpret_cast<const WORD*>(tpl);
            EXPECT_NE(words[1], 0xFFFF) << "extended template form";
            EXPECT_TRUE(tpl->style & DS_SETFONT);
            if (c.toolView) {
                EXPECT_TRUE(tpl->style & WS_CHILD);
                EXPECT_FALSE(tpl->style & WS_VISIBLE) << "a view must be created hidden";
            } else {
                EXPECT_EQ(tpl->style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
                          static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
            }
        }
    }
}

TEST_F(ResourceLibrary, DialogsHoldTheirControlsEachUnderItsOwnId)
{
    for (const DialogCase& c : Dialogs()) {
        std::set<int> portraitIds;
        for (int id : {c.id, c.twin}) {
            if (!id)
                continue;
            SCOPED_TRACE("dialog " + std::to_string(id));
            Dialog dialog(Create(id));
            ASSERT_NE(dialog.hwnd, nullptr);
            EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
            for (int control : c.controls)
                EXPECT_NE(GetDlgItem(dialog.hwnd, control), nullptr) << "control " << control << " missing";

            std::multiset<int> ids;
            for (HWND child : Children(dialog.hwnd))
                ids.insert(GetDlgCtrlID(child));
            EXPECT_EQ(ids.count(0xFFFF), 0u) << "an unnamed control; the relayout matches by id";
            EXPECT_EQ(ids.count(0), 0u);
            const std::set<int> unique(ids.begin(), ids.end());
            EXPECT_EQ(unique.size(), ids.size()) << "two controls share an id";
            if (id == c.id)
                portraitIds = unique;
            else
                EXPECT_EQ(unique, portraitIds) << "the landscape twin differs from its portrait template";
        }
    }
}

TEST_F(ResourceLibrary, ControlsAreOfTheKindTheViewsUse)
{
    for (int id : {IDD_NETSTAT, IDD_IPCONFIG}) {
        Dialog dialog(Create(id));
        HWND tabs = GetDlgItem(dialog.hwnd, IDC_TABS);
        ASSERT_NE(tabs, nullptr);
        EXPECT_TRUE(SameClass(tabs, WC_TABCONTROLW));
        EXPECT_TRUE(StyleOf(tabs) & TCS_BOTTOM) << "the views leave room for the tabs at the bottom";
        EXPECT_FALSE(StyleOf(tabs) & TCS_VERTICAL);
    }
    for (int id : {IDD_PORTSCAN, IDD_PORTSCAN_LANDSCAPE}) {
        Dialog dialog(Create(id));
        HWND mode = GetDlgItem(dialog.hwnd, IDC_PORT_MODE);
        ASSERT_NE(mode, nullptr);
        EXPECT_TRUE(SameClass(mode, WC_COMBOBOXW));
        EXPECT_EQ(StyleOf(mode) & 3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
        EXPECT_TRUE(SameClass(GetDlgItem(dialog.hwnd, IDC_HOST), WC_EDITW));
        // The view adds the modes; each must read in full in the closed box.
        for (const wchar_t* item : {L"comma separated list", L"range", L"well known"})
            SendMessageW(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        HDC dc = GetDC(mode);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(mode, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc, L"comma separated list", 20, &text);
        SelectObject(dc, old);
        ReleaseDC(mode, dc);
        RECT box{};
        GetClientRect(mode, &box);
        EXPECT_LE(text.cx + GetSystemMetrics(SM_CXVSCROLL) + 6, box.right) << "dialog " << id;
    }
    for (int id : {IDD_ABOUT, IDD_ABOUT_LANDSCAPE, IDD_SUMMARY}) {
        Dialog dialog(Create(id));
        HWND text = GetDlgItem(dialog.hwnd, IDC_TEXT);
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(SameClass(text, WC_EDITW));
        EXPECT_EQ(StyleOf(text) & (ES_MULTILINE | ES_READONLY), static_cast<DWORD>(ES_MULTILINE | ES_READONLY));
    }
    {
        Dialog summary(Create(IDD_SUMMARY));
        EXPECT_FALSE(TextOf(GetDlgItem(summary.hwnd, IDC_TEXT)).empty()) << "shown when reading the network fails";
        HWND logo = GetDlgItem(summary.hwnd, IDC_LOGO);
        EXPECT_EQ(StyleOf(logo) & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
        EXPECT_NE(SendMessageW(logo, STM_GETIMAGE, IMAGE_ICON, 0), 0) << "the image static shows no icon";
    }
    {
        Dialog about(Create(IDD_ABOUT));
        EXPECT_NE(SendDlgItemMessageW(about.hwnd, IDC_ABOUT_LOGO, STM_GETIMAGE, IMAGE_ICON, 0), 0);
        EXPECT_FALSE(TextOf(GetDlgItem(about.hwnd, IDC_VERSION)).empty());
        wchar_t caption[32]{};
        GetWindowTextW(about.hwnd, caption, 32);
        EXPECT_STREQ(caption, L"About Orvane");
    }
}

// ------------------------------------------------------------ layout

// The width and height a control's text needs, in its own font.
SIZE TextNeed(HWND control, const std::wstring& text, UINT format, int width)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right, r.bottom};
}

void ExpectFits(HWND dialog, SIZE area, int id)
{
    SCOPED_TRACE("dialog " + std::to_string(id));
    RECT client{};
    GetClientRect(dialog, &client);
    // The template fills the area to within one dialog unit, without spilling over.
    EXPECT_LE(client.right, area.cx);
    EXPECT_LE(client.bottom, area.cy);
    EXPECT_GE(client.right, area.cx - 4);
    EXPECT_GE(client.bottom, area.cy - 4);

    const std::vector<HWND> children = Children(dialog);
    for (size_t i = 0; i < children.size(); ++i) {
        HWND child = children[i];
        const int childId = GetDlgCtrlID(child);
        const RECT r = RectInParent(child);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= area.cx && r.bottom <= area.cy)
            << "control " << childId << " leaves the area";
        for (size_t j = i + 1; j < children.size(); ++j) {
            const int otherId = GetDlgCtrlID(children[j]);
            const int g1 = PortModeGroup(childId), g2 = PortModeGroup(otherId);
            if (g1 && g2 && g1 != g2)
                continue;  // never shown together
            RECT other = RectInParent(children[j]), common{};
            EXPECT_FALSE(IntersectRect(&common, &r, &other)) << "controls " << childId << " and " << otherId
                                                             << " overlap";
        }

        // Text that does not fit is clipped on the screen.
        const std::wstring text = TextOf(child);
        if (text.empty())
            continue;
        RECT box{};
        GetClientRect(child, &box);
        const DWORD style = StyleOf(child);
        if (SameClass(child, WC_STATICW) && (style & SS_TYPEMASK) <= SS_RIGHT) {
            const SIZE need = TextNeed(child, text, DT_WORDBREAK, box.right);
            EXPECT_LE(need.cy, box.bottom) << "label " << childId << " is cut off";
            EXPECT_LE(need.cx, box.right) << "label " << childId << " is cut off";
        } else if (SameClass(child, WC_BUTTONW)) {
            const SIZE need = TextNeed(child, text, DT_SINGLELINE, 0);
            const DWORD type = style & BS_TYPEMASK;
            const bool box_ = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                              type == BS_AUTORADIOBUTTON;
            const int extra = box_ ? 13 + 6 : 8;  // check mark and gap, or the button's edges
            EXPECT_LE(need.cx + extra, box.right) << "button " << childId << " is cut off";
            EXPECT_LE(need.cy, box.bottom) << "button " << childId << " is cut off";
        }
    }
}

TEST_F(ResourceLibrary, PagesFitTheScreenInBothOrientations)
{
    for (const DialogCase& c : Dialogs()) {
        Dialog portrait(Create(c.id));
        ASSERT_NE(portrait.hwnd, nullptr);
        ExpectFits(portrait.hwnd, kPortrait, c.id);
        if (c.twin) {
            Dialog landscape(Create(c.twin));
            ASSERT_NE(landscape.hwnd, nullptr);
            ExpectFits(landscape.hwnd, kLandscape, c.twin);
        }
    }
}

TEST_F(ResourceLibrary, SummaryHeadlineFitsInTheViewsBoldFont)
{
    Dialog summary(Create(IDD_SUMMARY));
    HWND headline = GetDlgItem(summary.hwnd, IDC_HEADLINE);
    ASSERT_NE(headline, nullptr);
    LOGFONTW lf{};
    lf.lfHeight = 20;
    lf.lfWeight = FW_BOLD;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    HFONT bold = CreateFontIndirectW(&lf);
    SendMessageW(headline, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
    // The view gives the headline 140 x 60 pixels in portrait.
    const SIZE need = TextNeed(headline, TextOf(headline), DT_WORDBREAK, 140);
    EXPECT_LE(need.cx, 140);
    EXPECT_LE(need.cy, 60);
    SendMessageW(headline, WM_SETFONT, 0, FALSE);
    DeleteObject(bold);
}

// The Statistics view fills the tab control with five tabs; all must show in
// one row along the bottom of a 240-pixel screen.
TEST_F(ResourceLibrary, StatisticsTabsShowInOneRowOnThePortraitScreen)
{
    Dialog view(Create(IDD_NETSTAT));
    HWND tabs = GetDlgItem(view.hwnd, IDC_TABS);
    ASSERT_NE(tabs, nullptr);
    MoveWindow(view.hwnd, 0, 0, kPortrait.cx, kPortrait.cy, FALSE);
    MoveWindow(tabs, 0, 0, kPortrait.cx, kPortrait.cy, FALSE);
    SendMessageW(tabs, CCM_SETVERSION, 0x20C, 0);
    const wchar_t* names[] = {L"TCP", L"IP", L"UDP", L"ICMP in", L"ICMP out"};
    for (int i = 0; i < 5; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(names[i]);
        ASSERT_EQ(SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)), i);
    }
    // A second row would lie under the list, which covers all but one row.
    EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), 1);

    RECT first{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_GT(first.top, kPortrait.cy / 2) << "the strip must run along the bottom";

    // Some comctl32 builds give every tab a fixed minimum width, which no font
    // can undercut; the labels themselves must still fit once it is lifted.
    RECT ip{};
    SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&ip));
    const bool platformMinimumTooWide = 5 * (ip.right - ip.left) + 4 > kPortrait.cx;
    if (platformMinimumTooWide)
        SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, 0);

    HWND scroller = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
    if (platformMinimumTooWide)
        EXPECT_TRUE(!scroller || !IsWindowVisible(scroller)) << "tabs scroll instead of showing";
    else
        EXPECT_EQ(scroller, nullptr) << "tabs scroll instead of showing";
    RECT last{};
    SendMessageW(tabs, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.right, kPortrait.cx);
    if (platformMinimumTooWide)
        RecordProperty("platform_minimum_tab_width", static_cast<int>(ip.right - ip.left));
}

}  // namespace
