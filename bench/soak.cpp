// orvane-soak [--rounds N] [--bound-kib K] [--about-every M] [--long-summary] [--check]
//
// Thousands of rounds of what a user does, in one process, with the real
// frame and views over the scripted IP helper (three adapters whose counters
// change every round, so every read fills the lists anew): a view command,
// the refresh command, a tab change on the IP configuration and on the
// statistics views, an adapter chosen on the General page and a screen turn;
// with --about-every M, the about dialog opens and closes every M rounds.
// With --long-summary a third DNS server makes the Summary's last line wrap in
// portrait and not in landscape, so every turn wraps it anew.
//
// It prints the thread's windows, the GDI and USER objects and the private
// bytes at checkpoints. With --check it exits 1 when windows or objects are
// more at the end than after the first hundred rounds, when private bytes
// rose more than the bound (default 1024 KiB) above their level after them,
// or when the scripted local heap holds anything at the end.
#include "FakeIpHelper.h"
#include "app/AppModule.h"
#include "app/MainFrame.h"
#include "resource_ids.h"
#include "shell/Shell.h"
#include "support/WineWindows.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

using namespace netinfo;
using namespace app;

using testing_support::ProgramFolder;
using testing_support::ThreadWindows;

namespace {

constexpr int kWarmUpRounds = 100;

// The process's GDI objects, read from the handle table the platform maps into
// every process (PEB GdiSharedHandleTable, 64-bit layout: 24-byte entries with
// the owner at 8 and the type at 14), for platforms whose GetGuiResources
// answers nothing. The table is trusted only after it shows a fresh brush.
class GdiTable {
public:
    GdiTable()
    {
        PROCESS_BASIC_INFORMATION basic{};
        if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
            return;
        const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
        table_ = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
        if (!table_)
            return;
        HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
        const unsigned char* entry = Entry(probe);
        if (entry && Type(entry) != 0) {
            owner_ = Owner(entry);
            const long with = Count();
            DeleteObject(probe);
            usable_ = Count() == with - 1;
        } else {
            DeleteObject(probe);
        }
    }

    bool Usable() const { return usable_; }

    long Count() const
    {
        long count = 0;
        for (size_t i = 0; i < kEntries; ++i) {
            const unsigned char* entry = table_ + i * kEntrySize;
            if (Type(entry) != 0 && Owner(entry) == owner_)
                ++count;
        }
        return count;
    }

private:
    static constexpr size_t kEntries = 0x10000;
    static constexpr size_t kEntrySize = 24;

    const unsigned char* Entry(HGDIOBJ object) const
    {
        return table_ + (reinterpret_cast<ULONG_PTR>(object) & 0xFFFF) * kEntrySize;
    }
    static unsigned short Owner(const unsigned char* entry) { return *reinterpret_cast<const unsigned short*>(entry + 8); }
    static unsigned char Type(const unsigned char* entry) { return entry[14]; }

    const unsigned char* table_ = nullptr;
    unsigned short owner_ = 0;
    bool usable_ = false;
};

// Committed private memory, region by region: what private bytes are, for
// platforms whose process counters leave PrivateUsage at 0.
SIZE_T CommittedPrivate()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        if (region.RegionSize == 0)
            break;
    }
    return total;
}

struct Figures {
    int round = 0;
    long windows = 0;
    long gdiTable = -1;  // -1: not readable here
    long gdi = 0;        // GetGuiResources
    long user = 0;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
    double seconds = 0;
};

// The about dialog closes as soon as it is up.
HHOOK g_aboutCloser = nullptr;
int g_aboutsClosed = 0;

LRESULT CALLBACK CloseDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        auto* window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16]{};
        GetClassNameW(window, name, 16);
        if (lstrcmpW(name, L"#32770") == 0 && !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ++g_aboutsClosed;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

template <typename Stats>
void Number(Stats& stats, DWORD first)
{
    auto* field = reinterpret_cast<DWORD*>(&stats);
    for (size_t i = 0; i < sizeof(Stats) / sizeof(DWORD); ++i)
        field[i] = first + static_cast<DWORD>(i);
}

FakeInterface Interface(ULONG index)
{
    FakeInterface i;
    i.index = index;
    i.name = L"if" + std::to_wstring(index);
    i.row.dwAdminStatus = 1;
    return i;
}

class Soak {
public:
    explicit Soak(bool longSummary)
    {
        fake.hostName = "pocket";
        fake.domainName = "example.net";
        fake.dnsServers = {"10.0.0.1", "10.0.0.2"};
        if (longSummary)
            fake.dnsServers.push_back("10.0.0.3");
        fake.adapters = {{.index = 2, .name = "eth-two", .ipAddresses = {"10.0.0.5"}, .dnsServers = {"10.0.0.1"}},
                         {.index = 3, .name = "wlan-three", .ipAddresses = {"10.0.1.5", "10.0.1.6"}},
                         {.index = 5, .name = "ppp-five", .ipAddresses = {"10.0.2.5"}}};
        fake.interfaces = {Interface(2), Interface(3), Interface(5)};
        Script(0);
    }

    bool Start()
    {
        Module().AddMessageLoop(&loop);
        frame = std::make_unique<MainFrame>();
        if (!frame->CreateFrame())
            return false;
        ShowWindow(frame->m_hWnd, SW_SHOW);
        testing_support::PumpMessages();
        HWND ipConfig = View(2);
        HWND netstat = View(7);
        ipTabs = GetDlgItem(ipConfig, IDC_TABS);
        statTabs = GetDlgItem(netstat, IDC_TABS);
        page = frame->AdapterPage().m_hWnd;
        combo = FindWindowExW(page, nullptr, L"ComboBox", nullptr);
        return ipTabs && statTabs && page && combo;
    }

    void Stop()
    {
        if (frame && frame->m_hWnd)
            DestroyWindow(frame->m_hWnd);
        testing_support::PumpMessages();
        frame.reset();
        Module().RemoveMessageLoop();
    }

    void Round(int r)
    {
        static constexpr int kViews[] = {ID_VIEW_SUMMARY, ID_VIEW_IPCONFIG, ID_VIEW_NETSTAT, ID_VIEW_PING,
                                         ID_VIEW_TRACERT, ID_VIEW_NSLOOKUP, ID_VIEW_WHOIS,   ID_VIEW_FINGER,
                                         ID_VIEW_PORTSCAN, ID_VIEW_UNBOUND};
        // The fake logs every call and allocation until told to forget; that
        // log is not the program's memory.
        fake.ResetCounts();
        Script(r);
        Command(kViews[r % 10]);
        Command(ID_REFRESH);
        PickTab(ipTabs, r % 2);
        PickTab(statTabs, r % 5);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(r % 3), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        SendMessageW(frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
        if (aboutEvery > 0 && r % aboutEvery == aboutEvery - 1)
            Command(ID_ABOUT);
        testing_support::PumpMessages();
    }

    FakeIpHelper fake;
    int aboutEvery = 0;

private:
    // New counters every round, so that every read shows new rows.
    void Script(int r)
    {
        const auto base = static_cast<DWORD>(r) * 1000u;
        Number(fake.tcp, base + 100);
        Number(fake.ip, base + 200);
        Number(fake.udp, base + 300);
        Number(fake.icmp.stats.icmpInStats, base + 400);
        Number(fake.icmp.stats.icmpOutStats, base + 500);
        for (FakeInterface& i : fake.interfaces) {
            i.row.dwInOctets = base + i.index;
            i.row.dwOutOctets = base + 2 * i.index;
        }
        fake.hostName = "pocket-" + std::to_string(r % 7);
    }

    HWND View(int viewIndex) const
    {
        for (const ViewEntry& e : frame->ViewTable())
            if (e.viewIndex == viewIndex)
                return e.viewWindow;
        return nullptr;
    }

    void Command(int id) const { SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    static void PickTab(HWND tabs, int tab) { SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0); }

    MessageLoop loop;
    std::unique_ptr<MainFrame> frame;
    HWND ipTabs = nullptr, statTabs = nullptr, page = nullptr, combo = nullptr;
};

Figures Measure(int round, const GdiTable& table, std::chrono::steady_clock::time_point start)
{
    Figures f;
    f.round = round;
    f.windows = ThreadWindows();
    f.gdiTable = table.Usable() ? table.Count() : -1;
    f.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    f.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        f.privateBytes = memory.PrivateUsage;
        f.workingSet = memory.WorkingSetSize;
    }
    if (f.privateBytes == 0)
        f.privateBytes = CommittedPrivate();
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return f;
}

void Print(const Figures& f)
{
    std::printf("%8d %8ld %10s %8ld %8ld %14zu %14zu %10.1f\n", f.round, f.windows,
                f.gdiTable < 0 ? "n/a" : std::to_string(f.gdiTable).c_str(), f.gdi, f.user, f.privateBytes,
                f.workingSet, f.seconds);
    std::fflush(stdout);
}

int Usage()
{
    std::fprintf(stderr, "usage: orvane-soak [--rounds N] [--bound-kib K] [--about-every M] [--long-summary] [--check]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int rounds = 10000;
    long boundKib = 1024;
    int aboutEvery = 0;
    bool longSummary = false;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--rounds") == 0 && i + 1 < argc)
            rounds = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        else if (std::wcscmp(argv[i], L"--bound-kib") == 0 && i + 1 < argc)
            boundKib = std::wcstol(argv[++i], nullptr, 10);
        else if (std::wcscmp(argv[i], L"--about-every") == 0 && i + 1 < argc)
            aboutEvery = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        else if (std::wcscmp(argv[i], L"--long-summary") == 0)
            longSummary = true;
        else if (std::wcscmp(argv[i], L"--check") == 0)
            check = true;
        else
            return Usage();
    }
    if (rounds <= kWarmUpRounds || boundKib < 0 || aboutEvery < 0)
        return Usage();

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    Module().Init(GetModuleHandleW(nullptr));
    const std::wstring library = ProgramFolder() + L"localization.dll";
    HMODULE resources =
        LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!resources) {
        std::fprintf(stderr, "orvane-soak: no localization.dll beside the program\n");
        return 2;
    }
    Module().SetResources(resources);
    g_aboutCloser = SetWindowsHookExW(WH_CBT, &CloseDialogs, nullptr, GetCurrentThreadId());

    const GdiTable table;
    const auto start = std::chrono::steady_clock::now();
    Soak soak(longSummary);
    soak.aboutEvery = aboutEvery;
    const long windowsBefore = ThreadWindows();
    if (!soak.Start()) {
        std::fprintf(stderr, "orvane-soak: the frame could not be created\n");
        return 2;
    }

    std::printf("orvane-soak: %d rounds over the scripted IP helper (3 adapters)%s%s\n", rounds,
                aboutEvery > 0 ? (", the about dialog every " + std::to_string(aboutEvery)).c_str() : "",
                longSummary ? ", a Summary line that wraps in portrait" : "");
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    std::printf("private bytes: %s\n", counters.PrivateUsage ? "PrivateUsage of GetProcessMemoryInfo"
                                                             : "committed private regions (VirtualQuery): the "
                                                               "platform reports PrivateUsage 0");
    std::printf("%8s %8s %10s %8s %8s %14s %14s %10s\n", "round", "windows", "GDI table", "GDI", "USER",
                "private bytes", "working set", "seconds");
    std::vector<Figures> figures{Measure(0, table, start)};
    Print(figures.back());
    const int every = rounds >= 1000 ? rounds / 10 : kWarmUpRounds;
    Figures warm;
    for (int r = 1; r <= rounds; ++r) {
        soak.Round(r - 1);
        if (r == kWarmUpRounds || r % every == 0 || r == rounds) {
            figures.push_back(Measure(r, table, start));
            Print(figures.back());
            if (r == kWarmUpRounds)
                warm = figures.back();
        }
    }
    const Figures end = figures.back();
    const size_t liveAllocations = soak.fake.liveAllocations();
    soak.Stop();
    const long windowsAfter = ThreadWindows();
    UnhookWindowsHookEx(g_aboutCloser);

    const long long growth = static_cast<long long>(end.privateBytes) - static_cast<long long>(warm.privateBytes);
    const long long peakGrowth = [&] {
        long long peak = 0;
        for (const Figures& f : figures)
            if (f.round >= kWarmUpRounds)
                peak = std::max(peak, static_cast<long long>(f.privateBytes) - static_cast<long long>(warm.privateBytes));
        return peak;
    }();
    const bool windowsSteady = end.windows == warm.windows && end.windows == figures.front().windows;
    const bool objectsSteady = end.gdiTable <= warm.gdiTable && end.gdi <= warm.gdi && end.user <= warm.user;
    const bool memoryBounded = peakGrowth <= boundKib * 1024;
    const bool heapEmpty = liveAllocations == 0;
    const bool closedClean = windowsAfter == windowsBefore;

    std::printf("\nabout dialogs opened and closed: %d\n", g_aboutsClosed);
    std::printf("windows: %ld at the start, %ld after %d rounds, %ld at the end; %ld before the frame, %ld after it closed\n",
                figures.front().windows, warm.windows, kWarmUpRounds, end.windows, windowsBefore, windowsAfter);
    std::printf("GDI objects (handle table): %s after %d rounds, %s at the end\n",
                warm.gdiTable < 0 ? "n/a" : std::to_string(warm.gdiTable).c_str(), kWarmUpRounds,
                end.gdiTable < 0 ? "n/a" : std::to_string(end.gdiTable).c_str());
    std::printf("GetGuiResources GDI/USER: %ld/%ld after %d rounds, %ld/%ld at the end%s\n", warm.gdi, warm.user,
                kWarmUpRounds, end.gdi, end.user,
                end.gdi == 0 && end.user == 0 ? " (the platform answers 0: not counted here)" : "");
    std::printf("private bytes: %zu after %d rounds, %zu at the end: %+lld bytes (%+.2f per round), peak growth %lld, bound %ld KiB\n",
                warm.privateBytes, kWarmUpRounds, end.privateBytes, growth,
                static_cast<double>(growth) / (rounds - kWarmUpRounds), peakGrowth, boundKib);
    std::printf("scripted local heap: %zu live allocations at the end\n", liveAllocations);
    std::printf("%.1f ms per round\n", 1000.0 * end.seconds / rounds);

    const bool ok = windowsSteady && objectsSteady && memoryBounded && heapEmpty && closedClean;
    std::printf("verdict: %s\n", ok ? "steady" : "GROWTH");
    if (!windowsSteady)
        std::printf("  windows changed\n");
    if (!objectsSteady)
        std::printf("  GDI or USER objects grew\n");
    if (!memoryBounded)
        std::printf("  private bytes grew beyond the bound\n");
    if (!heapEmpty)
        std::printf("  the local heap holds allocations\n");
    if (!closedClean)
        std::printf("  windows left after the frame closed\n");
    return check && !ok ? 1 : 0;
}
