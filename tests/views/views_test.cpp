// The template-laid views: the five placeholder pages and the port scan
// page, in both orientations of the screen.
#include "layout/DialogTemplate.h"
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/ResourceVariants.h"
#include "support/WineWindows.h"
#include "views/Placeholders/ViewFinger.h"
#include "views/Placeholders/ViewNsLookup.h"
#include "views/Placeholders/ViewPing.h"
#include "views/PortScan/ViewPortScan.h"
#include "views/Placeholders/ViewTracert.h"
#include "views/Placeholders/ViewWhois.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>
#include <map>
#include <memory>
#include <string>

using namespace views;

using namespace testing_support;

namespace {

// Where each control of a template lands on a live dialog, in pixels.
std::map<int, RECT> ExpectedRects(HMODULE resources, HWND dialog, int templateId)
{
    std::map<int, RECT> rects;
    layout::ParsedTemplate parsed;
    const auto bytes = ResourceBytes(resources, RT_DIALOG, templateId);
    EXPECT_EQ(layout::ParseTemplate(bytes, parsed), layout::TemplateStatus::Ok) << templateId;
    for (const auto& item : parsed.items) {
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        rects[item.id] = r;
    }
    return rects;
}

std::wstring TemplateTitle(HMODULE resources, int templateId, int controlId)
{
    layout::ParsedTemplate parsed;
    layout::ParseTemplate(ResourceBytes(resources, RT_DIALOG, templateId), parsed);
    for (const auto& item : parsed.items)
        if (item.id == controlId)
            return std::wstring(item.title.text.begin(), item.title.text.end());
    ADD_FAILURE() << "template " << templateId << " has no control " << controlId;
    return {};
}

void ExpectControlsAt(HWND dialog, const std::map<int, RECT>& expected, int templateId)
{
    ASSERT_FALSE(expected.empty());
    for (const auto& [id, r] : expected) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << "template " << templateId << " control " << id;
        const RECT actual = ChildRect(control);
        EXPECT_EQ(actual.left, r.left) << "template " << templateId << " control " << id;
        EXPECT_EQ(actual.top, r.top) << "template " << templateId << " control " << id;
        EXPECT_EQ(actual.right, r.right) << "template " << templateId << " control " << id;
        // A drop-down combo box keeps its closed height; the template's includes the list.
        wchar_t name[32]{};
        GetClassNameW(control, name, 32);
        if (lstrcmpiW(name, L"ComboBox") != 0) {
            EXPECT_EQ(actual.bottom, r.bottom) << "template " << templateId << " control " << id;
        }
    }
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(shell::ScreenHeight(), 320);
        resources = LoadLocalization();
        ASSERT_NE(resources, nullptr);
        parent = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400, 400,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
    }

    void TearDown() override
    {
        if (shell::ScreenHeight() != 320)
            shell::TurnScreen();
        DestroyWindow(parent);
        PumpMessages();
        FreeLibrary(resources);
    }

    HMODULE resources = nullptr;
    HWND parent = nullptr;
};

// Each template-laid view, made as the frame makes it.
struct TemplateViewCase {
    const char* name;
    int portrait;
    std::function<HWND(HMODULE, HWND)> create;
};

template <class V, int Template>
TemplateViewCase Case(const char* name)
{
    return {name, Template, [](HMODULE r, HWND p) {
                static std::unique_ptr<V> view;
                view = std::make_unique<V>();
                return view->CreateView(r, Template, p);
            }};
}

const TemplateViewCase kTemplateViews[] = {
    Case<ViewPing, IDD_PING>("ping"),       Case<ViewTracert, IDD_TRACERT>("trace route"),
    Case<ViewNsLookup, IDD_NSLOOKUP>("name lookup"), Case<ViewWhois, IDD_WHOIS>("whois"),
    Case<ViewFinger, IDD_FINGER>("finger"),       Case<ViewPortScan, IDD_PORTSCAN>("port scan"),
};

TEST_F(ViewTest, EveryTemplateViewFollowsTheScreenToItsTwinAndBack)
{
    for (const TemplateViewCase& c : kTemplateViews) {
        SCOPED_TRACE(c.name);
        HWND view = c.create(resources, parent);
        ASSERT_NE(view, nullptr);
        EXPECT_FALSE(IsWindowVisible(view));  // only the frame shows a view
        EXPECT_EQ(ClientSizeOf(view).cx, 240);
        EXPECT_EQ(ClientSizeOf(view).cy, 268);

        // Scatter the controls first, so that only a relayout brings them back.
        for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            MoveWindow(child, 1, 1, 5, 5, FALSE);
        shell::TurnScreen();
        EXPECT_EQ(ClientSizeOf(view).cx, 320);
        ExpectControlsAt(view, ExpectedRects(resources, view, c.portrait + 1), c.portrait + 1);
        shell::TurnScreen();
        ExpectControlsAt(view, ExpectedRects(resources, view, c.portrait), c.portrait);
        DestroyWindow(view);
    }
}

TEST_F(ViewTest, ARelayoutPutsTheTemplatesStaticTextBack)
{
    ViewPing ping;
    HWND view = ping.CreateView(resources, IDD_PING, parent);
    ASSERT_NE(view, nullptr);
    SetDlgItemTextW(view, IDC_HOST_LABEL, L"changed");
    SetDlgItemTextW(view, IDC_HOST, L"typed host");
    shell::TurnScreen();
    EXPECT_EQ(WindowText(GetDlgItem(view, IDC_HOST_LABEL)), TemplateTitle(resources, IDD_PING_LANDSCAPE, IDC_HOST_LABEL));
    SetDlgItemTextW(view, IDC_HOST_LABEL, L"changed");
    shell::TurnScreen();
    EXPECT_EQ(WindowText(GetDlgItem(view, IDC_HOST_LABEL)), TemplateTitle(resources, IDD_PING, IDC_HOST_LABEL));
    // Edits keep what the user typed.
    EXPECT_EQ(WindowText(GetDlgItem(view, IDC_HOST)), L"typed host");
    DestroyWindow(view);
}

TEST_F(ViewTest, TemplateIsChosenByTheScreenNotByTheViewsSize)
{
    EXPECT_EQ(TemplateForScreen(IDD_PING), IDD_PING);
    shell::TurnScreen();
    EXPECT_EQ(TemplateForScreen(IDD_PING), IDD_PING_LANDSCAPE);
    EXPECT_EQ(TemplateForScreen(IDD_WHOIS), IDD_WHOIS_LANDSCAPE);

    // A size message that does not match the screen still lays out for the screen.
    ViewPing ping;
    HWND view = ping.CreateView(resources, IDD_PING, parent);
    SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 500));
    ExpectControlsAt(view, ExpectedRects(resources, view, IDD_PING_LANDSCAPE), IDD_PING_LANDSCAPE);
    DestroyWindow(view);
}

// Runs a view modally and sends it the commands one by one once it is up.
struct ModalDriver {
    static inline HWND dialog = nullptr;
    static inline std::vector<WPARAM> commands;

    static LRESULT CALLBACK Created(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && !dialog)
            dialog = reinterpret_cast<HWND>(wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK Next(HWND, UINT, UINT_PTR id, DWORD)
    {
        if (!dialog || !IsWindow(dialog) || commands.empty()) {
            KillTimer(nullptr, id);
            return;
        }
        const WPARAM command = commands.front();
        commands.erase(commands.begin());
        SendMessageW(dialog, WM_COMMAND, command, 0);
    }

    template <class V, int Template>
    static INT_PTR Run(HMODULE resources, HWND owner, std::vector<WPARAM> sequence)
    {
        dialog = nullptr;
        commands = std::move(sequence);
        HHOOK hook = SetWindowsHookExW(WH_CBT, &Created, nullptr, GetCurrentThreadId());
        SetTimer(nullptr, 0, 20, &Next);
        V view;
        const INT_PTR result = view.RunModalFromTemplate(resources, Template, owner);
        UnhookWindowsHookEx(hook);
        return result;
    }
};

TEST_F(ViewTest, OkAndCancelEndAViewAndOtherCommandsDoNothing)
{
    EXPECT_EQ((ModalDriver::Run<ViewWhois, IDD_WHOIS>)(resources, parent, {IDOK}), IDOK);
    EXPECT_EQ((ModalDriver::Run<ViewWhois, IDD_WHOIS>)(resources, parent, {IDCANCEL}), IDCANCEL);
    EXPECT_EQ((ModalDriver::Run<ViewPortScan, IDD_PORTSCAN>)(resources, parent, {IDOK}), IDOK);
    // The start button, an unknown id and a mode change leave it running.
    EXPECT_EQ((ModalDriver::Run<ViewPing, IDD_PING>)(resources, parent, {IDC_START, 4242, IDCANCEL}), IDCANCEL);
    EXPECT_EQ((ModalDriver::Run<ViewPortScan, IDD_PORTSCAN>)(resources, parent,
                                             {IDC_START, MAKEWPARAM(IDC_PORT_MODE, CBN_SELCHANGE), IDCANCEL}),
              IDCANCEL);
}

class PortScanTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        view = scan.CreateView(resources, IDD_PORTSCAN, parent);
        ASSERT_NE(view, nullptr);
        ShowWindow(view, SW_SHOW);
    }

    void Choose(int selection, WORD notification = CBN_SELCHANGE)
    {
        HWND combo = GetDlgItem(view, IDC_PORT_MODE);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        SendMessageW(view, WM_COMMAND, MAKEWPARAM(IDC_PORT_MODE, notification), reinterpret_cast<LPARAM>(combo));
    }

    // Visibility of 1011, 1010, 1019, 1008, 1018, 1014 as a string of 0 and 1.
    std::string ModeControls() const
    {
        std::string shown;
        for (int id : {IDC_PORT_LIST, IDC_RANGE_FROM_LABEL, IDC_RANGE_FROM, IDC_RANGE_TO_LABEL, IDC_RANGE_TO,
                       IDC_WELL_KNOWN})
            shown += IsWindowVisible(GetDlgItem(view, id)) ? '1' : '0';
        return shown;
    }

    ViewPortScan scan;
    HWND view = nullptr;
};

TEST_F(PortScanTest, StartsWithTheListModeAndTheHost)
{
    HWND combo = GetDlgItem(view, IDC_PORT_MODE);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    const wchar_t* modes[] = {L"comma separated list", L"range", L"well known"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, modes[i]);
    }
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ModeControls(), "100000");
    EXPECT_EQ(WindowText(GetDlgItem(view, IDC_HOST)), L"Some host");
    EXPECT_EQ(scan.Host(), L"Some host");
}

TEST_F(PortScanTest, EachModeShowsOnlyItsControls)
{
    Choose(1);
    EXPECT_EQ(ModeControls(), "011110");
    Choose(2);
    EXPECT_EQ(ModeControls(), "000001");
    Choose(0);
    EXPECT_EQ(ModeControls(), "100000");
    // No selection at all counts as "well known".
    Choose(-1);
    EXPECT_EQ(ModeControls(), "000001");
    // The mode combo and the host are never hidden.
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(view, IDC_PORT_MODE)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(view, IDC_HOST)));
}

TEST_F(PortScanTest, OtherComboNotificationsChangeNothing)
{
    for (WORD notification : {WORD{CBN_DROPDOWN}, WORD{CBN_CLOSEUP}, WORD{CBN_SETFOCUS}, WORD{CBN_SELENDOK}}) {
        Choose(1, notification);
        EXPECT_EQ(ModeControls(), "100000") << notification;
    }
    LRESULT result = 0;
    EXPECT_TRUE(scan.ProcessWindowMessage(view, WM_COMMAND, MAKEWPARAM(IDC_PORT_MODE, CBN_DROPDOWN), 0, result));
}

TEST_F(PortScanTest, ModeAndTypedTextSurviveATurn)
{
    Choose(1);
    SetDlgItemTextW(view, IDC_HOST, L"example.invalid");
    shell::TurnScreen();
    EXPECT_EQ(SendDlgItemMessageW(view, IDC_PORT_MODE, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(ModeControls(), "011110");
    EXPECT_EQ(WindowText(GetDlgItem(view, IDC_HOST)), L"example.invalid");
    EXPECT_EQ(scan.Host(), L"Some host");
    shell::TurnScreen();
    EXPECT_EQ(ModeControls(), "011110");
}

// A library whose template lacks the host field: the page still comes up.
TEST_F(ViewTest, PortScanWithoutAHostFieldStillStarts)
{
    // Swap the host edit for a template without control 1006: the transfer fails.
    auto bytes = ResourceBytes(resources, RT_DIALOG, IDD_PORTSCAN);
    layout::ParsedTemplate parsed;
    ASSERT_EQ(layout::ParseTemplate(bytes, parsed), layout::TemplateStatus::Ok);
    bool renamed = false;
    for (const auto& item : parsed.items) {
        if (item.id == IDC_HOST) {
            bytes[item.offset + 16] = 0x77;  // id 1006 becomes another id
            bytes[item.offset + 17] = 0x07;
            renamed = true;
        }
    }
    ASSERT_TRUE(renamed);
    const std::wstring folder = MakeTempFolder(L"orvane-views-");
    ASSERT_TRUE(WriteLocalizationVariant(folder, {{RT_DIALOG, IDD_PORTSCAN, bytes}}));
    HMODULE variant = LoadLocalization(folder + L"localization.dll");
    ASSERT_NE(variant, nullptr);
    ViewPortScan scan;
    HWND view = scan.CreateView(variant, IDD_PORTSCAN, parent);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(scan.Host(), L"Some host");
    EXPECT_EQ(SendDlgItemMessageW(view, IDC_PORT_MODE, CB_GETCOUNT, 0, 0), 3);
    DestroyWindow(view);
    FreeLibrary(variant);
    RemoveFolder(folder);
}

}  // namespace
