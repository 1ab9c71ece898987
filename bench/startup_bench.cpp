// Start-up to first paint and peak working set of orvane.exe against the
// bench's baselines (bench/baseline.cpp), all started by this process on the
// same Wine, in turns: the frame baseline does Orvane's start-up work with no
// code of Orvane's, the minimal one shows one dialog.
//
// What is measured: from just before CreateProcessW until (1) a visible
// top-level window of the child shows what it should (Orvane and the frame
// baseline: the frame with the Summary view visible in it; the minimal
// baseline: its dialog), polled every
// millisecond, (2) a WM_NULL sent to that window has come back, so its thread
// runs its message loop, and (3) RedrawWindow(RDW_UPDATENOW | RDW_ALLCHILDREN)
// has returned, which paints whatever of the window and its children was not
// painted yet. Then the child's peak working set is read, and its window is
// closed.
#include "bench_support.h"

#include "views/IpConfig/ViewIpConfig.h"
#include "views/Summary/ViewSummary.h"
#include "resource_ids.h"
#include "views/Placeholders/ViewFinger.h"
#include "views/Statistics/ViewNetstat.h"
#include "views/Placeholders/ViewNsLookup.h"
#include "views/Placeholders/ViewPing.h"
#include "views/PortScan/ViewPortScan.h"
#include "views/Placeholders/ViewTracert.h"
#include "views/Placeholders/ViewWhois.h"

#include <psapi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace views;

namespace {

struct Launch {
    bool ok = false;
    bool painted = false;
    double firstPaint = 0;     // µs
    double peakWorkingSet = 0; // MiB
};

struct Search {
    DWORD process;
    const wchar_t* frameClass;  // null: the one dialog of the minimal baseline
    HWND found;
};

bool IsSummaryShown(HWND frame)
{
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && GetDlgItem(child, IDC_HEADLINE) && GetDlgItem(child, IDC_TEXT))
            return true;
    return false;
}

BOOL CALLBACK Visit(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.process || !IsWindowVisible(window))
        return TRUE;
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    const bool wanted = search.frameClass ? lstrcmpW(name, search.frameClass) == 0 && IsSummaryShown(window)
                                          : lstrcmpW(name, L"#32770") == 0;
    if (wanted) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

Launch Run(const std::wstring& program, const wchar_t* frameClass, const std::wstring& arguments = {})
{
    Launch launch;
    const std::wstring folder = bench::ProgramFolder();
    std::wstring commandLine = L"\"" + folder + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const double start = bench::NowMicroseconds();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &child))
        return launch;
    Search search{child.dwProcessId, frameClass, nullptr};
    const double deadline = start + 30e6;
    while (!search.found && bench::NowMicroseconds() < deadline &&
           WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(1);
    }
    if (search.found) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
        RedrawWindow(search.found, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        launch.firstPaint = bench::NowMicroseconds() - start;
        launch.painted = !GetUpdateRect(search.found, nullptr, FALSE);
        if (HANDLE query = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, child.dwProcessId)) {
            PROCESS_MEMORY_COUNTERS counters{};
            counters.cb = sizeof counters;
            if (GetProcessMemoryInfo(query, &counters, sizeof counters)) {
                launch.peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
                launch.ok = true;
            }
            CloseHandle(query);
        }
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    // The next start must not meet this one (Orvane runs once at a time).
    if (WaitForSingleObject(child.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 99);
    WaitForSingleObject(child.hProcess, 5000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return launch;
}

// Each view created as the frame creates it (hidden, the host as parent),
// for the share of start-up that is our views' initialisation.
template <class View>
bench::Contender CreateView(const char* name, int templateId, HWND host, std::vector<std::function<void()>>& cleanup)
{
    return {name, [templateId, host, &cleanup] {
                auto view = std::make_shared<View>();
                HWND window = view->CreateView(bench::Resources(), templateId, host);
                cleanup.push_back([view, window] { DestroyWindow(window); });
            }};
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The same template as a dialog with no code of ours behind it.
bench::Contender BareDialog(const char* name, int templateId, HWND host,
                            std::vector<std::function<void()>>& cleanup)
{
    return {name, [templateId, host, &cleanup] {
                HWND dialog =
                    CreateDialogParamW(bench::Resources(), MAKEINTRESOURCEW(templateId), host, BareDialogProc, 0);
                cleanup.push_back([dialog] { DestroyWindow(dialog); });
            }};
}

void ViewCreation(int rounds)
{
    HWND host = bench::CreateHost(0);
    std::vector<std::function<void()>> cleanup;
    const auto settle = [&] {
        for (auto& c : cleanup)
            c();
        cleanup.clear();
        bench::Pump();
    };
    const std::vector<bench::Contender> contenders = {
        CreateView<ViewSummary>("Summary", IDD_SUMMARY, host, cleanup),
        CreateView<ViewIpConfig>("IP configuration", IDD_IPCONFIG, host, cleanup),
        CreateView<ViewFinger>("Finger", IDD_FINGER, host, cleanup),
        CreateView<ViewPing>("Ping", IDD_PING, host, cleanup),
        CreateView<ViewPortScan>("Port scan", IDD_PORTSCAN, host, cleanup),
        CreateView<ViewNetstat>("Statistics", IDD_NETSTAT, host, cleanup),
        CreateView<ViewNsLookup>("Name lookup", IDD_NSLOOKUP, host, cleanup),
        CreateView<ViewTracert>("Trace route", IDD_TRACERT, host, cleanup),
        CreateView<ViewWhois>("Whois", IDD_WHOIS, host, cleanup),
        BareDialog("bare dialog from template 117 (Summary)", IDD_SUMMARY, host, cleanup),
        BareDialog("from 105 (Port scan)", IDD_PORTSCAN, host, cleanup),
        BareDialog("from 107 (Ping)", IDD_PING, host, cleanup),
        BareDialog("from 118 (Statistics)", IDD_NETSTAT, host, cleanup),
        BareDialog("from 119 (IP configuration)", IDD_IPCONFIG, host, cleanup),
    };
    const auto samples = bench::Interleave(rounds, contenders, settle);
    settle();
    std::string text = "Start-up, in process: creating each view as the frame does takes (ms) ";
    double total = 0;
    for (std::size_t k = 0; k < contenders.size(); ++k) {
        const double ms = bench::SpreadOf(samples[k]).median / 1000.0;
        if (k < 9)
            total += ms;
        text += (k ? ", " : "") + contenders[k].name + " " + bench::Format(ms, 2);
    }
    bench::Note(text + "; the nine views together " + bench::Format(total, 1) + " ms");
    DestroyWindow(host);
    bench::Pump();
}

}  // namespace

int RunStartupBench(int rounds)
{
    ViewCreation(std::max(rounds, 10));
    const std::wstring orvane = L"orvane.exe";
    const std::wstring baseline = L"orvane-bench-baseline.exe";
    // One untimed start of each first: the prefix's caches are then warm for all.
    Run(orvane, L"OrvaneClass");
    Run(baseline, L"OrvaneBaseline", L"frame");
    Run(baseline, nullptr);
    constexpr int kContenders = 5;
    std::vector<Launch> launches[kContenders];
    bool failed = false;
    bench::Interleave(rounds,
                      {
                          {"orvane", [&] { launches[0].push_back(Run(orvane, L"OrvaneClass")); }},
                          {"frame", [&] { launches[1].push_back(Run(baseline, L"OrvaneBaseline", L"frame")); }},
                          {"minimal", [&] { launches[2].push_back(Run(baseline, nullptr)); }},
                          {"minimal, comctl32", [&] { launches[3].push_back(Run(baseline, nullptr, L"comctl32")); }},
                          {"minimal, comctl32, reads",
                           [&] { launches[4].push_back(Run(baseline, nullptr, L"comctl32 reads")); }},
                      },
                      {});
    std::vector<double> paint[kContenders], memory[kContenders];
    int unpainted = 0;
    for (int k = 0; k < kContenders; ++k) {
        for (const Launch& l : launches[k]) {
            if (!l.ok) {
                failed = true;
                continue;
            }
            unpainted += l.painted ? 0 : 1;
            paint[k].push_back(l.firstPaint / 1000.0);
            memory[k].push_back(l.peakWorkingSet);
        }
        if (paint[k].empty()) {
            bench::Note("Start-up: no start of a contender showed its window");
            return 1;
        }
    }
    if (failed)
        bench::Note("Start-up: some starts did not show their window or gave no memory counters");
    const auto memoryRow = [&](const char* what, int baselineIndex, double goal) {
        const double ours = bench::SpreadOf(memory[0]).median;
        const double theirs = bench::SpreadOf(memory[baselineIndex]).median;
        const double more = ours - theirs;
        bench::RawRow(what, bench::Format(ours, 2) + " MiB", bench::Format(theirs, 2) + " MiB",
                      std::string(more >= 0 ? "+" : "").append(bench::Format(more, 2)).append(" MiB"),
                      "≤ +" + bench::Format(goal, 0) + " MiB", more <= goal);
    };
    bench::Row("Start-up to the Summary view's first paint, against the frame baseline (the same work, no code of ours)",
               bench::SpreadOf(paint[0]), bench::SpreadOf(paint[1]), 1.10, "ms");
    memoryRow("Peak working set at first paint, against the frame baseline", 1, 1.0);
    bench::Row("Start-up to the Summary view's first paint, against the minimal dialog program",
               bench::SpreadOf(paint[0]), bench::SpreadOf(paint[2]), 1.25, "ms");
    memoryRow("Peak working set at first paint, against the minimal dialog program", 2, 3.0);
    bench::Note("Start-up: " + std::to_string(rounds) + " starts of each, in turns, after one untimed start of each; " +
                std::to_string(unpainted) + " starts still had an update region after the paint round trip");
    bench::Note("Start-up: the minimal program that also loads and initialises comctl32 reaches its first paint in " +
                bench::Format(bench::SpreadOf(paint[3]).median) + " ms with a peak working set of " +
                bench::Format(bench::SpreadOf(memory[3]).median, 2) + " MiB; making Orvane's start-up platform reads "
                "as well, " + bench::Format(bench::SpreadOf(paint[4]).median) + " ms and " +
                bench::Format(bench::SpreadOf(memory[4]).median, 2) + " MiB");
    return 0;
}
