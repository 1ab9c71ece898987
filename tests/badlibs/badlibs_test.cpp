// orvane.exe started on broken copies of its resource library: each resource
// it asks for missing in turn, and templates that are cut short, in the
// extended form, 2,000 items long or naming an icon the library lacks. Every
// start is watched from outside (windows by class and process, child
// rectangles, a screen turn) and must end with 1 after WM_CLOSE.
#include "support/ChildProcess.h"
#include "support/ResourceVariants.h"
#include "support/WineWindows.h"

#include "layout/DialogTemplate.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr DWORD kPatience = 20000;  // ms for a start, a close or a sent message
constexpr UINT kTurnScreen = 0x0110;
constexpr int kMissingIcon = 999;

// ------------------------------------------------------------- the process

using Process = ChildProcess;

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

DWORD ProcessOf(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

// A control's text through the message, which the platform carries across processes.
std::wstring RemoteText(HWND control)
{
    wchar_t text[128]{};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kPatience, &result))
        return L"<no answer>";
    return text;
}

// A control's place inside its dialog, in pixels.
struct ControlPlace {
    LONG_PTR id;
    RECT rect;
    bool operator==(const ControlPlace& o) const { return id == o.id && EqualRect(&rect, &o.rect); }
};
using Places = std::vector<ControlPlace>;

// The same controls within a pixel: the platform sizes a control it creates
// from its template by origin and size, the relayout by mapping its corners,
// and the two may round apart (a round trip of turns leaves the results list
// of the tool views one pixel taller than at the start).
bool Near(const Places& a, const Places& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const RECT& r = a[i].rect;
        const RECT& q = b[i].rect;
        if (a[i].id != b[i].id || std::abs(r.left - q.left) > 1 || std::abs(r.top - q.top) > 1 ||
            std::abs(r.right - q.right) > 1 || std::abs(r.bottom - q.bottom) > 1)
            return false;
    }
    return true;
}

Places PlacesIn(HWND dialog)
{
    Places places;
    RECT origin{};
    GetWindowRect(dialog, &origin);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        OffsetRect(&r, -origin.left, -origin.top);
        places.push_back({GetWindowLongPtrW(child, GWLP_ID), r});
    }
    return places;
}

// Names a tool view by what its template put in it.
std::wstring ViewName(HWND view)
{
    if (GetDlgItem(view, IDC_LOGO))
        return L"Summary";
    if (HWND tabs = GetDlgItem(view, IDC_TABS))
        return SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 5 ? L"Statistics" : L"IP configuration";
    if (HWND start = GetDlgItem(view, IDC_START)) {
        static const std::map<std::wstring, std::wstring> byButton = {
            {L"Ping", L"Ping"},        {L"Finger", L"Finger"}, {L"Look up", L"Name lookup"},
            {L"Trace", L"Trace route"}, {L"Query", L"Whois"},   {L"Scan", L"Port scan"}};
        const auto found = byButton.find(RemoteText(start));
        if (found != byButton.end())
            return found->second;
    }
    return L"?";
}

// orvane.exe and a resource library in a folder of their own, started there.
class Orvane {
public:
    explicit Orvane(const std::vector<ResourceEdit>& edits)
    {
        folder_ = MakeTempFolder(L"orvane-badlib-");
        ready_ = !folder_.empty() &&
                 CopyFileW((ProgramFolder() + L"orvane.exe").c_str(), (folder_ + L"orvane.exe").c_str(), FALSE) &&
                 WriteLocalizationVariant(folder_, edits);
        if (!ready_)
            return;
        const std::wstring exe = folder_ + L"orvane.exe";
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ready_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder_.c_str(), &si, &process_.info) != FALSE;
        if (ready_)
            frame_ = WaitForFrame();
    }

    ~Orvane()
    {
        // A test that stopped early still ends the instance, so the next one can start.
        if (process_.info.hProcess && !process_.Wait(0)) {
            CloseAbout();
            PostMessageW(frame_, WM_CLOSE, 0, 0);
            process_.Wait(kPatience);
        }
        if (process_.info.hProcess) {
            TerminateProcess(process_.info.hProcess, 99);
            WaitForSingleObject(process_.info.hProcess, kPatience);
        }
        RemoveFolder(folder_);
    }

    Orvane(const Orvane&) = delete;
    Orvane& operator=(const Orvane&) = delete;

    bool Started() const { return ready_; }
    HWND Frame() const { return frame_; }

    // The frame's dialog children: the views that have a window.
    std::vector<HWND> Views() const
    {
        std::vector<HWND> views;
        for (HWND child = GetWindow(frame_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == L"#32770")
                views.push_back(child);
        return views;
    }

    HWND View(const std::wstring& name) const
    {
        for (HWND view : Views())
            if (ViewName(view) == name)
                return view;
        return nullptr;
    }

    std::vector<std::wstring> VisibleViews() const
    {
        std::vector<std::wstring> names;
        for (HWND view : Views())
            if (IsWindowVisible(view))
                names.push_back(ViewName(view));
        return names;
    }

    // The soft-key bar the shell layer keeps below the frame.
    HWND MenuBar() const
    {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"OrvaneMenuBar", nullptr); w;
             w = FindWindowExW(nullptr, w, L"OrvaneMenuBar", nullptr))
            if (GetWindow(w, GW_OWNER) == frame_)
                return w;
        return nullptr;
    }

    // The about dialog: a dialog of the process owned by the frame.
    HWND About() const
    {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr))
            if (ProcessOf(w) == process_.info.dwProcessId && GetWindow(w, GW_OWNER) == frame_ && IsWindowVisible(w))
                return w;
        return nullptr;
    }

    HWND WaitForAbout() const
    {
        for (DWORD waited = 0; waited < kPatience; waited += 50) {
            if (HWND about = About())
                return about;
            if (process_.Wait(50))
                return nullptr;
        }
        return nullptr;
    }

    void CloseAbout() const
    {
        if (HWND about = About()) {
            PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            for (DWORD waited = 0; IsWindow(about) && waited < kPatience; waited += 50)
                Sleep(50);
        }
    }

    // A message the frame handles before answering; false when it does not answer.
    bool Send(UINT message, WPARAM wParam, LPARAM lParam = 0) const
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(frame_, message, wParam, lParam, SMTO_NORMAL, kPatience, &result) != 0;
    }

    bool Command(int id) const { return Send(WM_COMMAND, MAKEWPARAM(id, 0)); }
    bool Turn() const { return Send(WM_SYSCOMMAND, kTurnScreen); }

    // WM_CLOSE, then the exit code; nothing when it does not end in time.
    std::optional<DWORD> Close()
    {
        CloseAbout();
        PostMessageW(frame_, WM_CLOSE, 0, 0);
        return process_.Wait(kPatience);
    }

    std::optional<DWORD> ExitedEarly() const { return process_.Wait(0); }

private:
    // Found by class and process, not by title: a broken library may leave it untitled.
    HWND WaitForFrame() const
    {
        for (DWORD waited = 0; waited < kPatience; waited += 50) {
            for (HWND w = FindWindowExW(nullptr, nullptr, L"OrvaneClass", nullptr); w;
                 w = FindWindowExW(nullptr, w, L"OrvaneClass", nullptr)) {
                if (ProcessOf(w) != process_.info.dwProcessId)
                    continue;
                // Answers once creation is over and the loop runs.
                DWORD_PTR result = 0;
                if (SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &result))
                    return w;
            }
            if (process_.Wait(50))
                return nullptr;
        }
        return nullptr;
    }

    std::wstring folder_;
    Process process_;
    HWND frame_ = nullptr;
    bool ready_ = false;
};

const std::vector<std::wstring> kAllViews = {L"Summary", L"IP configuration", L"Finger", L"Ping", L"Port scan",
                                              L"Statistics", L"Name lookup", L"Trace route", L"Whois"};

std::vector<std::wstring> Sorted(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::wstring> NamesOf(const Orvane& o)
{
    std::vector<std::wstring> names;
    for (HWND view : o.Views())
        names.push_back(ViewName(view));
    return Sorted(names);
}

std::vector<std::wstring> AllBut(const std::wstring& missing)
{
    std::vector<std::wstring> names;
    for (const std::wstring& n : kAllViews)
        if (n != missing)
            names.push_back(n);
    return Sorted(names);
}

// ------------------------------------------------------- templates to break

HMODULE RealLibrary()
{
    static const HMODULE library = LoadLocalization();
    return library;
}

// The same resources built with every DIALOG read as DIALOGEX.
HMODULE ExtendedLibrary()
{
    static const HMODULE library = LoadLocalization(ProgramFolder() + L"extended\\localization.dll");
    return library;
}

std::vector<unsigned char> Template(int id)
{
    return ResourceBytes(RealLibrary(), RT_DIALOG, id);
}

std::vector<unsigned char> Truncated(int id)
{
    std::vector<unsigned char> bytes = Template(id);
    bytes.resize(bytes.size() / 2 & ~size_t{1});
    return bytes;
}

std::vector<unsigned char> Extended(int id)
{
    return ResourceBytes(ExtendedLibrary(), RT_DIALOG, id);
}

void Put16(std::vector<unsigned char>& b, uint16_t v)
{
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& b, uint32_t v)
{
    Put16(b, static_cast<uint16_t>(v & 0xFFFF));
    Put16(b, static_cast<uint16_t>(v >> 16));
}

// The real template and then plain statics up to `total` items, with ids of
// their own (4000 and up) that no control of the view has.
std::vector<unsigned char> Padded(int id, uint16_t total)
{
    std::vector<unsigned char> bytes = Template(id);
    const uint16_t count = static_cast<uint16_t>(bytes[8] | bytes[9] << 8);
    bytes[8] = static_cast<unsigned char>(total & 0xFF);
    bytes[9] = static_cast<unsigned char>(total >> 8);
    for (uint16_t i = count; i < total; ++i) {
        bytes.resize((bytes.size() + 3) & ~size_t{3});
        Put32(bytes, WS_CHILD | WS_VISIBLE | SS_LEFT);
        Put32(bytes, 0);
        Put16(bytes, 0);  // x, y, cx, cy
        Put16(bytes, 0);
        Put16(bytes, 4);
        Put16(bytes, 4);
        Put16(bytes, static_cast<uint16_t>(4000 + i));
        Put16(bytes, 0xFFFF);  // class: static
        Put16(bytes, 0x0082);
        Put16(bytes, 0);  // no title
        Put16(bytes, 0);  // no creation data
    }
    return bytes;
}

// The template with its image static `id` naming an icon the library does
// not hold. The item is written anew with the predefined static class (an
// ordinal): windres writes a CONTROL's class by name ("STATIC"), and only
// items of a predefined class get their content refreshed by the relayout.
std::vector<unsigned char> WithMissingIcon(int templateId, uint16_t id)
{
    const std::vector<unsigned char> bytes = Template(templateId);
    const std::span<const std::uint8_t> view{bytes.data(), bytes.size()};
    layout::TemplateHeader header;
    std::vector<layout::TemplateItem> items;
    if (layout::ForEachItem(view, header, [&](const layout::TemplateItem& item) { items.push_back(item); }) !=
            layout::TemplateStatus::Ok ||
        items.empty())
        return {};
    std::vector<unsigned char> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(items[0].offset));
    int rewritten = 0;
    for (const layout::TemplateItem& item : items) {
        out.resize((out.size() + 3) & ~size_t{3});
        if (item.id != id) {
            out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(item.offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(item.end));
            continue;
        }
        ++rewritten;
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(item.offset),
                   bytes.begin() + static_cast<std::ptrdiff_t>(item.offset) + 18);  // style to id
        Put16(out, 0xFFFF);  // class: static
        Put16(out, 0x0082);
        Put16(out, 0xFFFF);  // title: the missing icon
        Put16(out, kMissingIcon);
        Put16(out, 0);  // no creation data
    }
    return rewritten == 1 ? out : std::vector<unsigned char>{};
}

bool IsExtended(const std::vector<unsigned char>& bytes)
{
    return bytes.size() > 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
}

class BadLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A running instance holds the single-instance mutex; another start would end at once.
        HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, L"Orvane_Mtx_StartApp");
        if (running)
            CloseHandle(running);
        ASSERT_EQ(running, nullptr) << "an Orvane is already running";
        ASSERT_NE(RealLibrary(), nullptr);
    }

    // Every start ends the same way: 1 after WM_CLOSE, in time.
    static void ExpectCleanEnd(Orvane& o)
    {
        EXPECT_FALSE(o.ExitedEarly().has_value()) << "ended before it was closed";
        EXPECT_EQ(o.Close(), std::optional<DWORD>(1));
    }
};

struct TurnResult {
    Places before, landscape, back;
};

// The view's control places in portrait, after a turn to landscape and after
// turning back.
std::optional<TurnResult> TurnAndWatch(const Orvane& o, const std::wstring& view)
{
    HWND dialog = o.View(view);
    if (!dialog)
        return std::nullopt;
    TurnResult r;
    r.before = PlacesIn(dialog);
    if (!o.Turn())
        return std::nullopt;
    r.landscape = PlacesIn(dialog);
    if (!o.Turn())
        return std::nullopt;
    r.back = PlacesIn(dialog);
    return r;
}

// The places of a view in both orientations with the real library, for
// comparison; taken once.
const std::map<std::wstring, TurnResult>& Reference()
{
    static const std::map<std::wstring, TurnResult> reference = [] {
        std::map<std::wstring, TurnResult> places;
        Orvane o({});
        if (!o.Started() || !o.Frame())
            return places;
        for (const wchar_t* view : {L"Ping", L"Finger", L"Name lookup", L"Trace route", L"Whois", L"Port scan"}) {
            if (auto r = TurnAndWatch(o, view))
                places[view] = *r;
        }
        o.Close();
        return places;
    }();
    return reference;
}

// ---------------------------------------------------------------- the cases

TEST_F(BadLibrary, TheRealLibraryGivesTheWholeProgram)
{
    Orvane o({});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    EXPECT_EQ(WindowText(o.Frame()), L"Orvane");
    EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
    EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{L"Summary"});
    EXPECT_NE(o.MenuBar(), nullptr);

    // The accelerators work: F1 opens the about dialog.
    PostMessageW(o.Frame(), WM_KEYDOWN, VK_F1, 0);
    EXPECT_NE(o.WaitForAbout(), nullptr) << "F1 opened nothing";
    o.CloseAbout();

    // A turn moves the controls of every view laid out from its templates.
    for (const wchar_t* view : {L"Ping", L"Finger", L"Name lookup", L"Trace route", L"Whois", L"Port scan"}) {
        SCOPED_TRACE(testing::Message() << view);
        const auto r = TurnAndWatch(o, view);
        ASSERT_TRUE(r.has_value());
        EXPECT_FALSE(Near(r->before, r->landscape));
        EXPECT_TRUE(Near(r->before, r->back));
    }
    ExpectCleanEnd(o);
}

TEST_F(BadLibrary, WithoutTheTitleStringTheWindowIsUntitled)
{
    // String 101 lives in string block 7 (ids 96 to 111).
    Orvane o({{RT_STRING, IDR_MAINFRAME_RES / 16 + 1, {}}});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    EXPECT_EQ(WindowText(o.Frame()), L"");
    EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
    EXPECT_NE(o.MenuBar(), nullptr);
    ExpectCleanEnd(o);
}

TEST_F(BadLibrary, WithoutTheIconTheProgramRunsAndItsImageStaticsStayEmpty)
{
    Orvane o({{RT_GROUP_ICON, IDR_MAINFRAME_RES, {}}});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    EXPECT_EQ(WindowText(o.Frame()), L"Orvane");
    EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
    EXPECT_NE(o.MenuBar(), nullptr);
    // The Summary's logo and the about dialog's name the same icon.
    HWND summary = o.View(L"Summary");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(summary, IDC_LOGO), STM_GETICON, 0, 0), 0);
    PostMessageW(o.Frame(), WM_COMMAND, ID_ABOUT, 0);
    HWND about = o.WaitForAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(about, IDC_ABOUT_LOGO), STM_GETICON, 0, 0), 0);
    o.CloseAbout();
    ExpectCleanEnd(o);
}

TEST_F(BadLibrary, WithoutAcceleratorsKeysDoNothingButCommandsStillWork)
{
    Orvane o({{RT_ACCELERATOR, IDR_MAINFRAME_RES, {}}});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    // Posted messages come in order: once the view has changed, F1 has been handled.
    PostMessageW(o.Frame(), WM_KEYDOWN, VK_F1, 0);
    PostMessageW(o.Frame(), WM_COMMAND, ID_VIEW_NETSTAT, 0);
    for (DWORD waited = 0; o.VisibleViews() != std::vector<std::wstring>{L"Statistics"} && waited < kPatience;
         waited += 50)
        Sleep(50);
    EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{L"Statistics"});
    EXPECT_EQ(o.About(), nullptr) << "F1 opened the about dialog without an accelerator table";
    PostMessageW(o.Frame(), WM_COMMAND, ID_ABOUT, 0);
    EXPECT_NE(o.WaitForAbout(), nullptr);
    o.CloseAbout();
    ExpectCleanEnd(o);
}

TEST_F(BadLibrary, WithoutTheMenuThereIsNoMenuBar)
{
    Orvane o({{RT_MENU, IDR_MENUBAR, {}}});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    EXPECT_EQ(o.MenuBar(), nullptr);
    EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
    EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{L"Summary"});
    // Commands still reach the frame (on the device: through the accelerators).
    ASSERT_TRUE(o.Command(ID_VIEW_NETSTAT));
    EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{L"Statistics"});
    ExpectCleanEnd(o);
}

// Without a menu bar the frame still stands for the screen below the
// taskbar, at its full height since there is no bar to end at, and the
// screen still turns.
TEST_F(BadLibrary, WithoutTheMenuTheFrameStillStandsForTheScreen)
{
    Orvane o({{RT_MENU, IDR_MENUBAR, {}}});
    ASSERT_TRUE(o.Started());
    ASSERT_NE(o.Frame(), nullptr);
    const SIZE client = ClientSizeOf(o.Frame());
    EXPECT_EQ(client.cx, 240);
    EXPECT_EQ(client.cy, 320 - 26);
    HWND summary = o.View(L"Summary");
    ASSERT_NE(summary, nullptr);
    ASSERT_TRUE(o.Turn());
    const RECT turned = WindowRectOf(summary);
    EXPECT_EQ(turned.right - turned.left, 320);
    EXPECT_EQ(turned.bottom - turned.top, 188);
    EXPECT_EQ(ClientSizeOf(o.Frame()).cx, 320);
    ASSERT_TRUE(o.Turn());
    ExpectCleanEnd(o);
}

struct ViewTemplate {
    int id;
    int command;
    const wchar_t* view;
};

constexpr ViewTemplate kViewTemplates[] = {
    {IDD_SUMMARY, ID_VIEW_SUMMARY, L"Summary"},       {IDD_IPCONFIG, ID_VIEW_IPCONFIG, L"IP configuration"},
    {IDD_FINGER, ID_VIEW_FINGER, L"Finger"},          {IDD_PING, ID_VIEW_PING, L"Ping"},
    {IDD_PORTSCAN, ID_VIEW_PORTSCAN, L"Port scan"},   {IDD_NETSTAT, ID_VIEW_NETSTAT, L"Statistics"},
    {IDD_NSLOOKUP, ID_VIEW_NSLOOKUP, L"Name lookup"}, {IDD_TRACERT, ID_VIEW_TRACERT, L"Trace route"},
    {IDD_WHOIS, ID_VIEW_WHOIS, L"Whois"},
};

TEST_F(BadLibrary, AMissingViewTemplateLeavesThatViewWithoutAWindow)
{
    for (const ViewTemplate& t : kViewTemplates) {
        SCOPED_TRACE(testing::Message() << "template " << t.id);
        Orvane o({{RT_DIALOG, t.id, {}}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        EXPECT_EQ(NamesOf(o), AllBut(t.view)) << "8 views, without the one whose template is missing";
        // At the start the Summary shows, unless it is the one missing.
        EXPECT_EQ(o.VisibleViews(), t.id == IDD_SUMMARY ? std::vector<std::wstring>{}
                                                         : std::vector<std::wstring>{L"Summary"});
        // Its command hides the current view and shows nothing; the others still work.
        ASSERT_TRUE(o.Command(ID_VIEW_WHOIS == t.command ? ID_VIEW_PING : ID_VIEW_WHOIS));
        ASSERT_TRUE(o.Command(t.command));
        EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{});
        ASSERT_TRUE(o.Command(ID_VIEW_NETSTAT == t.command ? ID_VIEW_IPCONFIG : ID_VIEW_NETSTAT));
        EXPECT_EQ(o.VisibleViews().size(), 1u);
        ASSERT_TRUE(o.Turn());
        ASSERT_TRUE(o.Turn());
        ExpectCleanEnd(o);
    }
}

struct LandscapeTemplate {
    int id;
    const wchar_t* view;
    const wchar_t* witness;  // another view, which must move
};

constexpr LandscapeTemplate kLandscapeTemplates[] = {
    {IDD_PORTSCAN_LANDSCAPE, L"Port scan", L"Ping"}, {IDD_PING_LANDSCAPE, L"Ping", L"Whois"},
    {IDD_FINGER_LANDSCAPE, L"Finger", L"Ping"},      {IDD_NSLOOKUP_LANDSCAPE, L"Name lookup", L"Ping"},
    {IDD_TRACERT_LANDSCAPE, L"Trace route", L"Ping"}, {IDD_WHOIS_LANDSCAPE, L"Whois", L"Ping"},
};

// The view stays put on a turn to landscape while the witness view moves, so
// the turn did happen; turning back changes nothing either.
void ExpectStaysPutOnATurn(const Orvane& o, const std::wstring& view, const std::wstring& witness)
{
    HWND dialog = o.View(view);
    HWND other = o.View(witness);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(other, nullptr);
    const Places before = PlacesIn(dialog);
    const Places otherBefore = PlacesIn(other);
    ASSERT_TRUE(o.Turn());
    EXPECT_EQ(PlacesIn(dialog), before) << "the view's controls moved";
    EXPECT_NE(PlacesIn(other), otherBefore) << "the witness did not move: no turn";
    ASSERT_TRUE(o.Turn());
    EXPECT_TRUE(Near(PlacesIn(dialog), before));
    EXPECT_TRUE(Near(PlacesIn(other), otherBefore));
}

TEST_F(BadLibrary, AMissingLandscapeTemplateMeansNoMovementOnATurn)
{
    for (const LandscapeTemplate& t : kLandscapeTemplates) {
        SCOPED_TRACE(testing::Message() << "template " << t.id);
        Orvane o({{RT_DIALOG, t.id, {}}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
        ExpectStaysPutOnATurn(o, t.view, t.witness);
        ExpectCleanEnd(o);
    }
}

TEST_F(BadLibrary, AboutDialogWithoutOneOfItsTemplates)
{
    {
        SCOPED_TRACE("portrait 102 missing: the about dialog does not open");
        Orvane o({{RT_DIALOG, IDD_ABOUT, {}}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        // Sent, so it returns only once the command is over.
        ASSERT_TRUE(o.Command(ID_ABOUT));
        EXPECT_EQ(o.About(), nullptr);
        EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
        ExpectCleanEnd(o);
    }
    {
        SCOPED_TRACE("landscape 104 missing: the about dialog opens and stays put on a turn");
        Orvane o({{RT_DIALOG, IDD_ABOUT_LANDSCAPE, {}}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        PostMessageW(o.Frame(), WM_COMMAND, ID_ABOUT, 0);
        HWND about = o.WaitForAbout();
        ASSERT_NE(about, nullptr);
        const Places before = PlacesIn(about);
        ASSERT_TRUE(o.Turn());
        EXPECT_EQ(PlacesIn(about), before);
        ASSERT_TRUE(o.Turn());
        EXPECT_TRUE(Near(PlacesIn(about), before));
        o.CloseAbout();
        ExpectCleanEnd(o);
    }
}

TEST_F(BadLibrary, TruncatedTemplates)
{
    {
        SCOPED_TRACE("landscape Ping template cut in half: no movement on a turn");
        Orvane o({{RT_DIALOG, IDD_PING_LANDSCAPE, Truncated(IDD_PING_LANDSCAPE)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        ExpectStaysPutOnATurn(o, L"Ping", L"Whois");
        ExpectCleanEnd(o);
    }
    {
        SCOPED_TRACE("Ping's own template cut in half");
        Orvane o({{RT_DIALOG, IDD_PING, Truncated(IDD_PING)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        const std::vector<std::wstring> names = NamesOf(o);
        // The platform reads what follows the cut as further items; the view
        // it makes, if any, holds the controls before the cut where they were.
        if (HWND ping = o.View(L"Ping")) {
            const Places before = PlacesIn(ping);
            ASSERT_TRUE(o.Turn());
            ASSERT_TRUE(o.Turn());
            EXPECT_TRUE(Near(PlacesIn(ping), before));
        } else {
            EXPECT_EQ(names.size(), 8u);
            ASSERT_TRUE(o.Turn());
            ASSERT_TRUE(o.Turn());
        }
        std::printf("  Ping's template cut in half: %s\n",
                    o.View(L"Ping") ? "the platform made the view" : "no view (the platform refused the template)");
        ExpectCleanEnd(o);
    }
}

TEST_F(BadLibrary, ExtendedFormTemplates)
{
    ASSERT_NE(ExtendedLibrary(), nullptr);
    ASSERT_TRUE(IsExtended(Extended(IDD_PING_LANDSCAPE)));
    {
        SCOPED_TRACE("extended landscape Ping template: no movement on a turn");
        Orvane o({{RT_DIALOG, IDD_PING_LANDSCAPE, Extended(IDD_PING_LANDSCAPE)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        ExpectStaysPutOnATurn(o, L"Ping", L"Whois");
        ExpectCleanEnd(o);
    }
    {
        // The platform makes dialogs from either form; only the relayout
        // reads the standard form alone.
        SCOPED_TRACE("extended portrait Ping template: the view exists, turns to landscape and stays there");
        const auto& reference = Reference();
        ASSERT_EQ(reference.count(L"Ping"), 1u);
        Orvane o({{RT_DIALOG, IDD_PING, Extended(IDD_PING)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
        const auto r = TurnAndWatch(o, L"Ping");
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->landscape, reference.at(L"Ping").landscape);
        EXPECT_EQ(r->back, r->landscape) << "the extended portrait template moved something";
        ExpectCleanEnd(o);
    }
    {
        SCOPED_TRACE("every template extended");
        std::vector<ResourceEdit> edits;
        for (int id : {IDD_ABOUT, IDD_ABOUT_LANDSCAPE}) edits.push_back({RT_DIALOG, id, Extended(id)});
        for (int id = IDD_PORTSCAN; id <= IDD_IPCONFIG; ++id) edits.push_back({RT_DIALOG, id, Extended(id)});
        Orvane o(edits);
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        EXPECT_EQ(NamesOf(o), Sorted(kAllViews));
        for (const wchar_t* view : {L"Ping", L"Port scan"}) {
            const auto r = TurnAndWatch(o, view);
            ASSERT_TRUE(r.has_value());
            EXPECT_EQ(r->landscape, r->before) << view;
            EXPECT_EQ(r->back, r->before) << view;
        }
        ExpectCleanEnd(o);
    }
}

TEST_F(BadLibrary, TemplatesOfTwoThousandItems)
{
    const auto& reference = Reference();
    ASSERT_EQ(reference.count(L"Ping"), 1u);
    {
        // Well-formed: the 11 real items move as ever, the 1,989 others
        // name no control and are skipped.
        SCOPED_TRACE("landscape Ping template of 2,000 items");
        Orvane o({{RT_DIALOG, IDD_PING_LANDSCAPE, Padded(IDD_PING_LANDSCAPE, 2000)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        const auto r = TurnAndWatch(o, L"Ping");
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->landscape, reference.at(L"Ping").landscape);
        EXPECT_TRUE(Near(r->back, r->before));
        ExpectCleanEnd(o);
    }
    {
        SCOPED_TRACE("Ping's own template of 2,000 items");
        Orvane o({{RT_DIALOG, IDD_PING, Padded(IDD_PING, 2000)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        HWND ping = o.View(L"Ping");
        ASSERT_NE(ping, nullptr);
        const auto r = TurnAndWatch(o, L"Ping");
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->before.size(), 2000u);
        // The 11 real controls go to the landscape places; the others stay.
        Places real;
        for (const ControlPlace& p : r->landscape)
            if (p.id < 4000)
                real.push_back(p);
        EXPECT_EQ(real, reference.at(L"Ping").landscape);
        EXPECT_TRUE(Near(r->back, r->before));
        ExpectCleanEnd(o);
    }
}

TEST_F(BadLibrary, AnImageStaticNamingAMissingIcon)
{
    ASSERT_FALSE(WithMissingIcon(IDD_SUMMARY, IDC_LOGO).empty());
    ASSERT_FALSE(WithMissingIcon(IDD_ABOUT_LANDSCAPE, IDC_ABOUT_LOGO).empty());
    {
        SCOPED_TRACE("the Summary's logo names a missing icon");
        Orvane o({{RT_DIALOG, IDD_SUMMARY, WithMissingIcon(IDD_SUMMARY, IDC_LOGO)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        HWND summary = o.View(L"Summary");
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(SendMessageW(GetDlgItem(summary, IDC_LOGO), STM_GETICON, 0, 0), 0);
        EXPECT_EQ(o.VisibleViews(), std::vector<std::wstring>{L"Summary"});
        ExpectCleanEnd(o);
    }
    {
        // The relayout loads the image the template names: none, so the logo
        // goes blank in landscape. The portrait template names its class by
        // text, so turning back refreshes no content and the logo stays blank.
        SCOPED_TRACE("the about dialog's landscape logo names a missing icon");
        Orvane o({{RT_DIALOG, IDD_ABOUT_LANDSCAPE, WithMissingIcon(IDD_ABOUT_LANDSCAPE, IDC_ABOUT_LOGO)}});
        ASSERT_TRUE(o.Started());
        ASSERT_NE(o.Frame(), nullptr);
        PostMessageW(o.Frame(), WM_COMMAND, ID_ABOUT, 0);
        HWND about = o.WaitForAbout();
        ASSERT_NE(about, nullptr);
        HWND logo = GetDlgItem(about, IDC_ABOUT_LOGO);
        EXPECT_NE(SendMessageW(logo, STM_GETICON, 0, 0), 0);
        const Places before = PlacesIn(about);
        ASSERT_TRUE(o.Turn());
        EXPECT_NE(PlacesIn(about), before) << "the landscape template was not applied";
        EXPECT_EQ(SendMessageW(logo, STM_GETICON, 0, 0), 0);
        ASSERT_TRUE(o.Turn());
        EXPECT_TRUE(Near(PlacesIn(about), before));
        EXPECT_EQ(SendMessageW(logo, STM_GETICON, 0, 0), 0);
        o.CloseAbout();
        ExpectCleanEnd(o);
    }
}

}  // namespace
