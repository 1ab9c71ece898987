// orvane-report's watch: the cost of one sample against the bare platform
// reads it needs, and its memory over 10,000 samples at the shortest interval.
#include "bench_support.h"

#include "netinfo/IpHelperApi.h"
#include "report/JsonWriter.h"
#include "report/PrometheusWriter.h"
#include "report/TextFile.h"
#include "report/ReportRun.h"
#include "report/WatchClock.h"
#include "report/Watcher.h"
#include "support/FakeIpHelper.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Every interface and the five IPv4 tables, which the bare reads below make.
report::PageSelection InterfacesAndFiveTables()
{
    report::PageSelection pages;
    for (const std::string_view key : {"interfaces", "tcp", "ip", "udp", "icmp-in", "icmp-out"})
        pages.chosen[report::PageIndex(key)] = true;
    return pages;
}

// The reads one sample of every interface and the five tables needs, and nothing else.
void BareReads()
{
    const netinfo::IpHelperApi& api = netinfo::CurrentIpHelperApi();
    MIB_IF_TABLE2* table = nullptr;
    if (api.getIfTable2(&table) == NO_ERROR)
        api.freeMibTable(table);
    MIB_TCPSTATS tcp{};
    MIB_IPSTATS ip{};
    MIB_UDPSTATS udp{};
    MIB_ICMP icmpIn{}, icmpOut{};
    api.getTcpStatistics(&tcp), api.getIpStatistics(&ip), api.getUdpStatistics(&udp);
    api.getIcmpStatistics(&icmpIn), api.getIcmpStatistics(&icmpOut);
}

// A watch of `samples` at 0.1 s whose waits return at once: the private
// bytes after sample 100 and at the end, and the bytes it wrote.
struct Growth {
    long long atHundred = 0, atEnd = 0, written = 0;
};

Growth Watch(int samples, const std::vector<std::wstring>& format = {L"--json"})
{
    // The hundredth wait marks the hundredth sample, whatever the output.
    static Growth* growing = nullptr;
    static int waits = 0;
    static report::WatchClock clock;
    clock = report::PlatformWatchClock();
    clock.waitUntil = [](uint64_t) {
        if (++waits == 100)
            growing->atHundred = bench::PrivateBytes();
        return true;
    };
    const report::WatchClockOverride use(clock);
    Growth growth;
    growing = &growth, waits = 0;
    const report::ReportOutput output{[&](const std::string& line) {
                                          growth.written += static_cast<long long>(line.size());
                                          return report::WriteResult::Written;
                                      },
                                      [](const std::string&) { return report::WriteResult::Written; }};
    std::vector<std::wstring> arguments{L"--watch", L"0.1", L"--count", std::to_wstring(samples)};
    arguments.insert(arguments.end(), format.begin(), format.end());
    report::RunReport(arguments, output);
    growth.atEnd = bench::PrivateBytes();
    return growth;
}

std::string KiB(long long bytes)
{
    return bench::Format(static_cast<double>(bytes) / 1024.0) + " KiB";
}

// "+4.0 KiB", "-64.0 KiB", appended: GCC 12 warns falsely on "+" + ... (-Wrestrict).
std::string Signed(long long bytes)
{
    std::string text = bytes >= 0 ? "+" : "";
    text += KiB(bytes);
    return text;
}

}  // namespace

int RunWatchBench(int rounds)
{
    report::Watcher watcher(InterfacesAndFiveTables(), {}, report::PlatformWatchClock());
    watcher.Take();  // the first sample has nothing to compare with
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvane-bench-textfile";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::wstring prom = (folder / "orvane.prom").wstring();
    const auto samples = bench::Interleave(
        rounds,
        {{"sample", [&] { report::WriteSampleJson(watcher.Take()); }},
         {"textfile", [&] { report::ReplaceTextFile(prom, report::WritePrometheus(watcher.Take())); }},
         {"bare", BareReads}},
        {});
    bench::Row("One watch sample (every interface and the five tables: reads, differences, a JSON line) against "
               "the bare reads (GetIfTable2, FreeMibTable, the five statistics calls)",
               bench::SpreadOf(samples[0]), bench::SpreadOf(samples[2]), 1.25);
    bench::Row("One --watch --textfile sample (the same reads, the Prometheus text, written to a temporary file and "
               "renamed over the target) against the same bare reads",
               bench::SpreadOf(samples[1]), bench::SpreadOf(samples[2]), 1.25);

    const Growth textfile = Watch(10000, {L"--textfile", prom});
    std::size_t left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left += entry.path().filename() != "orvane.prom";
    bench::RawRow("Private bytes after 10,000 --textfile samples at 0.1 s against after the first 100; files left "
                  "in the folder besides the target",
                  KiB(textfile.atEnd) + "; " + std::to_string(left) + " files",
                  KiB(textfile.atHundred) + "; 0 files", Signed(textfile.atEnd - textfile.atHundred),
                  "flat (+0), none left", textfile.atEnd <= textfile.atHundred && left == 0);
    std::filesystem::remove_all(folder);

    constexpr int kSamples = 10000;
    const Growth real = Watch(kSamples);
    Growth few, many;
    {
        FakeIpHelper fake;
        for (ULONG i = 0; i < 4; ++i)
            fake.ifTable.push_back(IfRow2(0x0006000000000000 + i, i + 1, L"if" + std::to_wstring(i), i * 100));
        few = Watch(kSamples);
        for (ULONG i = 4; i < 256; ++i)
            fake.ifTable.push_back(IfRow2(0x0006000000000000 + i, i + 1, L"if" + std::to_wstring(i), i * 100));
        many = Watch(kSamples);
    }
    const long long flat = std::max({real.atEnd - real.atHundred, few.atEnd - few.atHundred,
                                     many.atEnd - many.atHundred});
    bench::RawRow("Private bytes after 10,000 watch samples at 0.1 s against after the first 100 (real platform; "
                  "IP helper fake with 4 and with 256 interfaces)",
                  KiB(real.atEnd) + "; " + KiB(few.atEnd) + "; " + KiB(many.atEnd),
                  KiB(real.atHundred) + "; " + KiB(few.atHundred) + "; " + KiB(many.atHundred),
                  std::string("+") + KiB(flat) + " at most", "flat (+0)", flat <= 0);
    bench::Note("Watch: " + std::to_string(rounds) + " rounds of one sample against the bare reads, interleaved; " +
                std::to_string(kSamples) + " samples per memory run, waits cut to nothing, each JSON line counted and "
                "dropped (" + std::to_string(real.written / kSamples) + " bytes a sample on this machine, " +
                std::to_string(many.written / kSamples) + " with 256 interfaces); after 100 samples the 252 further "
                "interfaces hold " + KiB((many.atHundred - few.atHundred) / 252) + " each, their rows and their "
                "share of the line");
    return 0;
}
