// The soak: rounds of what a user does with the real frame over the scripted IP helper, counters new every
// round; after a hundred rounds nothing may grow. Prints the checkpoints' table rows ("SOAK|...") and a verdict
// ("SOAKED|..."), which scripts/soak.sh writes into bench/SOAK.md.
#include "bench_support.h"

#include "support/Harness.h"

#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <tuple>

namespace {

// GetGuiResources answers 0 under Wine: the GDI objects of the handle table it maps into the process
// (PEB GdiSharedHandleTable; 24-byte entries, owner at 8, type at 14) that a fresh brush's owner owns; -1 without one.
long GdiObjects()
{
    PROCESS_BASIC_INFORMATION basic{};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr);
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const auto* table = peb ? *reinterpret_cast<const unsigned char* const*>(peb + 0xF8) : nullptr;
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const unsigned char* entry = table ? table + (reinterpret_cast<ULONG_PTR>(probe) & 0xFFFF) * 24 : nullptr;
    const bool shown = entry && entry[14];
    const unsigned short owner = shown ? *reinterpret_cast<const unsigned short*>(entry + 8) : 0;
    DeleteObject(probe);
    long count = shown ? 0 : -1;
    for (std::size_t i = 0; shown && i < 0x10000; ++i)
        count += table[i * 24 + 14] && *reinterpret_cast<const unsigned short*>(table + i * 24 + 8) == owner;
    return count;
}

}  // namespace

int RunSoakBench(long rounds)
{
    using namespace test;
    constexpr long long kBound = 1 << 20;
    rounds = std::max(rounds, 101L);  // a hundred rounds of warm-up first
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    const int windowsBefore = ThreadWindows();
    std::tuple<long, long, long long> warm, now;  // windows, GDI objects, private bytes
    long long peak = 0;
    bool heapEmpty = false;
    {
        Harness h;
        const std::vector<int> commands{ID_VIEW_UNBOUND,  ID_VIEW_SUMMARY,  ID_VIEW_IPCONFIG, ID_VIEW_FINGER,
                                        ID_VIEW_PING,     ID_VIEW_PORTSCAN, ID_VIEW_NETSTAT,  ID_VIEW_NSLOOKUP,
                                        ID_VIEW_TRACERT,  ID_VIEW_WHOIS};
        for (long r = 0; r <= rounds; ++r) {
            if (r > 0) {
                h.fake.ResetCounts();  // the fake's log is the soak's memory, not the program's
                const DWORD base = static_cast<DWORD>(r) * 1000;
                h.fake.tcp = Numbered<MIB_TCPSTATS>(base), h.fake.ip = Numbered<MIB_IPSTATS>(base + 100);
                h.fake.icmp = Numbered<MIB_ICMP>(base + 200);
                for (FakeInterface& i : h.fake.interfaces)
                    i.row = NumberedRow(base + i.index);
                h.Command(commands[static_cast<std::size_t>(r) % commands.size()]), h.Command(ID_REFRESH);
                PickTab(h.Tabs(ID_VIEW_IPCONFIG), r % 2), PickTab(h.Tabs(ID_VIEW_NETSTAT), r % 5);
                SendMessageW(h.Combo(), CB_SETCURSEL, static_cast<WPARAM>(r % 3), 0);
                SendMessageW(h.Page(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h.Combo()));
                SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
            }
            if (r == 0 || r == 100 || r % std::max(rounds / 10, 100L) == 0 || r == rounds) {
                now = {ThreadWindows(), GdiObjects(), bench::PrivateBytes()};
                warm = r == 100 ? now : warm;
                peak = r >= 100 ? std::max(peak, std::get<2>(now) - std::get<2>(warm)) : 0;
                std::printf("SOAK|| %ld | %ld | %ld | %lld | %.1f |\n", r, std::get<0>(now), std::get<1>(now),
                            std::get<2>(now), seconds());
            }
        }
        heapEmpty = h.fake.live.empty();
    }
    const std::pair<bool, const char*> checks[] = {
        {heapEmpty, "the scripted local heap is not empty at the end"},
        {std::get<0>(now) == std::get<0>(warm), "the windows grew"},
        {std::get<1>(warm) >= 0, "the GDI objects could not be counted"},
        {std::get<1>(now) <= std::get<1>(warm), "the GDI objects grew"},
        {peak <= kBound, "the private bytes grew by more than 1 MiB"},
        {ThreadWindows() == windowsBefore, "a window outlived the frame"},
    };
    std::string verdict = "steady";
    for (const auto& [held, fault] : checks)
        if (!held)
            verdict = verdict == "steady" ? std::string("**not steady**: ") + fault : verdict + "; " + fault;
    std::printf("SOAKED|Private bytes %+lld after round 100 (peak %+lld, bound %lld KiB); %.1f ms a round; %s.\n",
                std::get<2>(now) - std::get<2>(warm), peak, kBound / 1024, 1000.0 * seconds() / rounds,
                verdict.c_str());
    return verdict == "steady" ? 0 : 1;
}
