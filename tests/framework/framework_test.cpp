// The window framework: message maps, the window and dialog bases, data
// exchange and the UI-state list, on real windows.
#include "support/WineWindows.h"
#include "win/DataExchange.h"
#include "win/UiStateList.h"
#include "win/Window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// A window whose handlers log what they received.
class Probe : public win::CWindowImpl<Probe> {
public:
    using Map = win::MessageMap<Probe>;
    static std::span<const Map::Entry> GetMessageMap()
    {
        static constexpr Map::Entry map[] = {
            Map::Create<&Probe::OnCreate>(),
            Map::Size<&Probe::OnSize>(),
            Map::Command<&Probe::OnSpecific>(7, 3),
            Map::Command<&Probe::OnSeven>(7),
            Map::AnyCommand<&Probe::OnAnyCommand>(),
            Map::Notify<&Probe::OnNotify>(-551),
            Map::Plain<&Probe::OnThrow>(WM_APP),
            Map::Plain<&Probe::OnPassOn>(WM_APP + 1),
            Map::Plain<&Probe::OnSecond>(WM_APP + 1),
        };
        return map;
    }
    static win::WindowClassInfo GetWindowClassInfo() { return {}; }

    std::vector<std::string> log;
    int finalMessages = 0;

    void OnFinalMessage(HWND) override { ++finalMessages; }

private:
    LRESULT OnCreate(const CREATESTRUCTW& cs)
    {
        log.push_back("create " + std::to_string(cs.cx));
        return 0;
    }
    LRESULT OnSize(int cx, int cy)
    {
        log.push_back("size " + std::to_string(cx) + " " + std::to_string(cy));
        return 0;
    }
    LRESULT OnSpecific()
    {
        log.push_back("7/3");
        return 73;
    }
    LRESULT OnSeven()
    {
        log.push_back("7");
        return 70;
    }
    LRESULT OnAnyCommand(int id, int code, HWND)
    {
        log.push_back("any " + std::to_string(id) + "/" + std::to_string(code));
        msgHandled = id != 99;  // 99 goes on to the default
        return 1;
    }
    LRESULT OnNotify(const NMHDR& header)
    {
        log.push_back("notify " + std::to_string(header.idFrom));
        return 5;
    }
    LRESULT OnThrow() { throw std::runtime_error("handler failed"); }
    LRESULT OnPassOn()
    {
        log.push_back("first");
        msgHandled = false;
        return 1;
    }
    LRESULT OnSecond()
    {
        log.push_back("second");
        return 2;
    }
};

TEST(MessageMap, RoutesByMessageIdAndCodeWithTypedArguments)
{
    Probe probe;
    RECT where{0, 0, 123, 45};
    HWND hwnd = probe.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW, 0, &where);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(probe.m_hWnd, hwnd);
    ASSERT_FALSE(probe.log.empty());
    EXPECT_EQ(probe.log.front(), "create 123");

    probe.log.clear();
    // Sizes are signed 16-bit values.
    SendMessageW(hwnd, WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(-3), 268));
    EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 3), 0), 73);
    EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 0), 0), 70);
    EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(8, 2), 0), 1);
    NMHDR header{hwnd, 1053, static_cast<UINT>(-551)};
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1053, reinterpret_cast<LPARAM>(&header)), 5);
    header.code = static_cast<UINT>(-552);
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1053, reinterpret_cast<LPARAM>(&header)), 0);
    const std::vector<std::string> expected{"size -3 268", "7/3", "7", "any 8/2", "notify 1053"};
    EXPECT_EQ(probe.log, expected);
    DestroyWindow(hwnd);
}

TEST(MessageMap, AHandlerCanPassTheMessageOn)
{
    Probe probe;
    HWND hwnd = probe.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW);
    probe.log.clear();
    // The first handler declines, so the next entry for the message runs.
    EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 2);
    EXPECT_EQ(probe.log, (std::vector<std::string>{"first", "second"}));

    // Declined by the only entry: the default processing answers.
    LRESULT result = 0;
    EXPECT_FALSE(probe.ProcessWindowMessage(hwnd, WM_COMMAND, MAKEWPARAM(99, 0), 0, result));
    EXPECT_TRUE(probe.ProcessWindowMessage(hwnd, WM_COMMAND, MAKEWPARAM(98, 0), 0, result));
    EXPECT_FALSE(probe.ProcessWindowMessage(hwnd, WM_TIMER, 0, 0, result));
    DestroyWindow(hwnd);
}

TEST(MessageMap, NoExceptionLeavesTheWindowProcedure)
{
    Probe probe;
    HWND hwnd = probe.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW);
    // The failing handler's message gets the default answer instead.
    EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 0);
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
}

TEST(WindowBase, DetachesAndRunsTheFinalHookOnce)
{
    Probe probe;
    HWND hwnd = probe.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(probe.finalMessages, 1);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);

    // The class stays registered, so a second object gets a window too.
    Probe other;
    EXPECT_NE(other.Create(GetModuleHandleW(nullptr), nullptr, L"probe", WS_OVERLAPPEDWINDOW), nullptr);
    DestroyWindow(other.m_hWnd);
}

// An in-memory template: a dialog with one edit control, id 100.
struct EditTemplate {
    alignas(4) DLGTEMPLATE header{};
    WORD menu = 0, windowClass = 0, title = 0;
    alignas(4) DLGITEMTEMPLATE item{};
    WORD classOrdinal[2] = {0xFFFF, 0x0081};
    WORD itemTitle = 0;
    WORD creationData = 0;
};

EditTemplate MakeEditTemplate(DWORD style)
{
    EditTemplate t;
    t.header.style = style;
    t.header.cdit = 1;
    t.header.cx = 100;
    t.header.cy = 50;
    t.item.style = WS_CHILD | WS_VISIBLE | ES_LEFT;
    t.item.cx = 50;
    t.item.cy = 12;
    t.item.id = 100;
    return t;
}

class Dialog : public win::CDialogImpl<Dialog> {
public:
    using Map = win::MessageMap<Dialog>;
    static std::span<const Map::Entry> GetMessageMap()
    {
        static constexpr Map::Entry map[] = {
            Map::InitDialog<&Dialog::OnInitDialog>(),
            Map::Notify<&Dialog::OnNotify>(-551),
            Map::Command<&Dialog::OnOk>(IDOK),
            Map::Command<&Dialog::OnCancel>(IDCANCEL),
        };
        return map;
    }

    bool initialised = false;

    INT_PTR RunIndirect(const DLGTEMPLATE* tpl, HWND owner)
    {
        return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), tpl, owner, &DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    }

    HWND CreateIndirect(const DLGTEMPLATE* tpl)
    {
        return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tpl, nullptr, &DialogProc,
                                          reinterpret_cast<LPARAM>(this));
    }

private:
    LRESULT OnInitDialog(HWND, LPARAM)
    {
        initialised = true;
        PostMessageW(m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    LRESULT OnNotify(const NMHDR&) { return 42; }
    LRESULT OnOk()
    {
        EndDialog(m_hWnd, IDOK);
        return 0;
    }
    LRESULT OnCancel()
    {
        EndDialog(m_hWnd, IDCANCEL);
        return 0;
    }
};

TEST(DialogBase, AttachesAtInitAndReturnsResultsTheDialogWay)
{
    EditTemplate t = MakeEditTemplate(WS_POPUP | WS_CAPTION);
    Dialog modal;
    EXPECT_EQ(modal.RunIndirect(&t.header, nullptr), IDCANCEL);
    EXPECT_TRUE(modal.initialised);
    EXPECT_EQ(modal.m_hWnd, nullptr);

    // A notification's result reaches the sender through DWLP_MSGRESULT.
    Dialog modeless;
    HWND hwnd = modeless.CreateIndirect(&t.header);
    ASSERT_NE(hwnd, nullptr);
    NMHDR header{hwnd, 1, static_cast<UINT>(-551)};
    EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 42);
    DestroyWindow(hwnd);
    PumpMessages();

    // A missing template gives no window and -1 for a modal run.
    Dialog missing;
    EXPECT_EQ(missing.Create(GetModuleHandleW(nullptr), 4321, nullptr), nullptr);
    EXPECT_EQ(missing.RunModalFromTemplate(GetModuleHandleW(nullptr), 4321, nullptr), -1);
}

LRESULT CALLBACK RefuseText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_SETTEXT)
        return FALSE;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST(DataExchange, TextGoesIntoTheControlOrTheFocusGoesThere)
{
    EditTemplate t = MakeEditTemplate(WS_POPUP | WS_VISIBLE | WS_CAPTION);
    Dialog dialog;
    HWND hwnd = dialog.CreateIndirect(&t.header);
    ASSERT_NE(hwnd, nullptr);
    HWND edit = GetDlgItem(hwnd, 100);
    EXPECT_TRUE(win::ExchangeText(hwnd, 100, L"Some host"));
    EXPECT_EQ(WindowText(edit), L"Some host");

    // A control that refuses the text keeps its own, and gets the focus.
    SetWindowSubclass(edit, &RefuseText, 1, 0);
    SetFocus(hwnd);
    EXPECT_FALSE(win::ExchangeText(hwnd, 100, L"other"));
    EXPECT_EQ(WindowText(edit), L"Some host");
    EXPECT_EQ(GetFocus(), edit);
    // No such control at all: a clear failure, nothing else.
    EXPECT_FALSE(win::ExchangeText(hwnd, 555, L"x"));
    RemoveWindowSubclass(edit, &RefuseText, 1);
    DestroyWindow(hwnd);
    PumpMessages();
}

TEST(UiStateList, KeepsOnlyItsOwnIdsAndShowsThemOnTheMenu)
{
    win::UiStateList states{40011, 40009};
    states.SetCheck(40009, true);
    states.SetCheck(40012, true);  // not in the list: ignored
    EXPECT_TRUE(states.IsChecked(40009));
    EXPECT_FALSE(states.IsChecked(40011));
    EXPECT_FALSE(states.IsChecked(40012));
    EXPECT_EQ(states.Entries().size(), 2u);
    EXPECT_EQ(states.Entries()[0].id, 40011u);
    EXPECT_EQ(states.Entries()[1].state, win::UiStateList::kChecked);

    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING | MF_CHECKED | MF_GRAYED, 40011, L"Statistics");
    AppendMenuW(popup, MF_STRING, 40009, L"Summary");
    AppendMenuW(popup, MF_STRING | MF_CHECKED, 40012, L"Other");
    states.Apply(popup);
    // What the list holds is what the user sees, items outside it untouched.
    EXPECT_EQ(GetMenuState(popup, 40011, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
    EXPECT_EQ(GetMenuState(popup, 40009, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(popup, 40012, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    states.SetCheck(40009, false);
    states.Apply(popup);
    EXPECT_EQ(GetMenuState(popup, 40009, MF_BYCOMMAND) & MF_CHECKED, 0u);
    states.Apply(nullptr);  // nothing to apply to
    DestroyMenu(popup);
}

}  // namespace
