// Rounds of what a user does with the real frame, counters new every round; after a hundred
// rounds nothing may grow. Run by scripts/soak.sh, which writes bench/SOAK.md.
#include "support/Harness.h"

#include <winternl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace test;

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

TEST(Soak, RoundsLeaveNothingBehind)
{
    const char* asked = std::getenv("ORVANE_SOAK_ROUNDS");
    const long rounds = asked ? std::atol(asked) : 200, bound = 1 << 20;
    ASSERT_GT(rounds, 100) << "a hundred rounds of warm-up first";
    FILE* table = std::getenv("ORVANE_SOAK") ? std::fopen(std::getenv("ORVANE_SOAK"), "wb") : nullptr;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    const int windowsBefore = ThreadWindows();
    std::tuple<long, long, long long> warm, now;  // windows, GDI objects, private bytes
    long long peak = 0;
    {
        Harness h;
        const std::vector<int> commands{ID_VIEW_UNBOUND,  ID_VIEW_SUMMARY,  ID_VIEW_IPCONFIG, ID_VIEW_FINGER,
                                        ID_VIEW_PING,     ID_VIEW_PORTSCAN, ID_VIEW_NETSTAT,  ID_VIEW_NSLOOKUP,
                                        ID_VIEW_TRACERT,  ID_VIEW_WHOIS};
        for (long r = 0; r <= rounds; ++r) {
            if (r > 0) {
                h.fake.ResetCounts();  // the fake's log is the test's memory, not the program's
                const DWORD base = static_cast<DWORD>(r) * 1000;
                h.fake.tcp = Numbered<MIB_TCPSTATS>(base), h.fake.ip = Numbered<MIB_IPSTATS>(base + 100);
                h.fake.icmp = Numbered<MIB_ICMP>(base + 200);
                for (FakeInterface& i : h.fake.interfaces)
                    i.row = NumberedRow(base + i.index);
                h.Command(commands[r % commands.size()]), h.Command(ID_REFRESH);
                PickTab(h.Tabs(ID_VIEW_IPCONFIG), r % 2), PickTab(h.Tabs(ID_VIEW_NETSTAT), r % 5);
                SendMessageW(h.Combo(), CB_SETCURSEL, static_cast<WPARAM>(r % 3), 0);
                SendMessageW(h.Page(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h.Combo()));
                SendMessageW(h.frame->m_hWnd, WM_SYSCOMMAND, shell::SC_TURNSCREEN, 0);
            }
            if (r == 0 || r == 100 || r % std::max(rounds / 10, 100L) == 0 || r == rounds) {
                now = {ThreadWindows(), GdiObjects(), PrivateBytes()};
                warm = r == 100 ? now : warm;
                peak = r >= 100 ? std::max(peak, std::get<2>(now) - std::get<2>(warm)) : 0;
                if (table)
                    std::fprintf(table, "| %ld | %ld | %ld | %lld | %.1f |\n", r, std::get<0>(now), std::get<1>(now),
                                 std::get<2>(now), seconds());
            }
        }
        EXPECT_TRUE(h.fake.live.empty()) << "the scripted local heap is empty at the end";
    }
    EXPECT_EQ(std::get<0>(now), std::get<0>(warm)) << "the windows stay as many";
    EXPECT_GE(std::get<1>(warm), 0) << "the GDI objects are counted";
    EXPECT_LE(std::get<1>(now), std::get<1>(warm)) << "the GDI objects do not grow";
    EXPECT_LE(peak, bound) << "private bytes stay within 1 MiB";
    EXPECT_EQ(ThreadWindows(), windowsBefore) << "no window outlives the frame";
    if (table)
        std::fprintf(table, "\nPrivate bytes %+lld after round 100 (peak %+lld, bound %ld KiB); %.1f ms a round; %s.\n",
                     std::get<2>(now) - std::get<2>(warm), peak, bound / 1024, 1000.0 * seconds() / rounds,
                     HasFailure() ? "**not steady**" : "steady"), std::fclose(table);
}

}  // namespace
