// orvane-report over the IP helper fake and a scripted clock: whole runs compared byte for byte with the expected
// outputs beside this file. RealPlatform.sh runs it over the platform's own.
#include "report/Difference.h"
#include "report/InterfaceChoice.h"
#include "report/ReportArguments.h"
#include "report/ReportRun.h"
#include "report/TextFile.h"
#include "report/WatchClock.h"
#include "support/FakeIpHelper.h"
#include "support/Win32.h"
#include "text/Encoding.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

using namespace report;
using netinfo::IpHelperApi;
using netinfo::IpHelperApiOverride;

namespace {

// A run with standard output and error caught; `answer` says how each write to standard output goes.
struct Captured {
    std::string out, err;
    int exitCode = -1;
};

Captured RunCaptured(const std::vector<std::wstring>& arguments, std::function<WriteResult(int write)> answer = {})
{
    Captured run;
    int writes = 0;
    const auto out = [&](const std::string& text) {
        const WriteResult result = answer ? answer(++writes) : WriteResult::Written;
        return run.out += result == WriteResult::Written ? text : "", result;
    };
    const ReportOutput output{out, [&](const std::string& text) { return run.err += text, WriteResult::Written; }};
    run.exitCode = RunReport(arguments, output);
    return run;
}

// Against tests/report/expected (copied beside the program), JSON parsed strictly; a difference goes to report-actual\.
void Compare(const std::string& name, const std::string& actual)
{
    const std::filesystem::path folder = test::ProgramFolder();
    std::stringstream expected;
    expected << std::ifstream(folder / "report-expected" / name, std::ios::binary).rdbuf();
    if (expected.str() != actual)
        std::filesystem::create_directories(folder / "report-actual"),
            std::ofstream(folder / "report-actual" / name, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected.str()) << name;
    const bool json = name.ends_with(".json");
    EXPECT_TRUE(!json || !nlohmann::json::parse(actual, nullptr, false).is_discarded()) << name << ": not JSON";
}

// Every bad command line: exit 2, nothing on standard output, and first on standard error the line that names
// the argument, all of them in usage-errors.txt; what good ones select shows in the whole runs.
TEST(Arguments, AnswerWithTheHelpOrTheUsage)
{
    for (const std::vector<std::wstring>& help :
         {std::vector<std::wstring>{L"--help"}, {L"bogus", L"interface", L"--help"}})
        EXPECT_TRUE(std::holds_alternative<HelpRequest>(ParseArguments(help)));
    const std::vector<std::vector<std::wstring>> bad = {
        {L"tcp", L"TCP"}, {L"--JSON"}, {L"icmp"}, {L""}, {L"a\nb\x1b"}, {L"interface"},
        {L"summary", L"interface", L"tcp", L"interface"}, {L"interface", L""}, {L"interface", L"0x"},
        {L"interface", L"0x12g"}, {L"interface", L"0x10000000000000000"}, {L"interface", L"4294967296"},
        {L"interface", L"18446744073709551617"}, {L"--count", L"3"}, {L"--watch"},
        {L"tcp", L"--watch", L"1", L"--count"}, {L"--watch", L"1", L"--watch", L"2"},
        {L"--watch", L"1", L"--count", L"2", L"--count", L"2"}, {L"interfaces", L"summary", L"--watch", L"1"},
        {L"--watch", L"1", L"adapters"}, {L"--watch", L"1", L"tcp6", L"addresses"}, {L"--prometheus", L"summary"},
        {L"--textfile", L"x.prom", L"addresses"}, {L"--watch", L"1", L"--count", L"0"},
        {L"--watch", L"1", L"--count", L"x"}, {L"--watch", L"1", L"--count", L"4294967296"},
        {L"--watch", L"1", L"--count", L"1.5"}, {L"--json", L"--prometheus"}, {L"--textfile", L"x", L"--json"},
        {L"--watch", L"1", L"--prometheus"}, {L"--textfile"}, {L"--textfile", L""},
        {L"--textfile", L"a", L"--textfile", L"b"}, {L"--include"}, {L"--exclude", L""}};
    std::string firstLines;
    for (const auto& arguments : bad) {
        const Captured run = RunCaptured(arguments);
        EXPECT_EQ(run.exitCode, kExitUsage) << firstLines.size();
        EXPECT_EQ(run.out, "") << firstLines.size();
        firstLines += run.err.substr(0, run.err.find('\n') + 1);
    }
    Compare("usage-errors.txt", firstLines);

    // Seconds: a decimal number from 0.1 to 86400, in nanoseconds.
    const std::pair<const wchar_t*, std::optional<uint64_t>> intervals[] = {
        {L"1", 1'000'000'000},       {L"0.5", 500'000'000},     {L"2.25", 2'250'000'000},
        {L"0.1", 100'000'000},       {L"00.10", 100'000'000},   {L"86400", 86'400'000'000'000},
        {L"86400.000", 86'400'000'000'000}, {L"0.1234567899", 123'456'789},
        {L"0.0999", std::nullopt},   {L"0", std::nullopt},      {L"86400.001", std::nullopt},
        {L"86401", std::nullopt},    {L"99999999999", std::nullopt}, {L".5", std::nullopt},
        {L"1.", std::nullopt},       {L"1e3", std::nullopt},    {L"-1", std::nullopt},
        {L"", std::nullopt},         {L"1.2.3", std::nullopt},  {L"\x0661", std::nullopt},
    };
    for (const auto& [text, ns] : intervals) {
        EXPECT_EQ(ParseInterval(text), ns) << "'" << text << "'";
        const ParsedArguments parsed = ParseArguments({L"--watch", text});
        EXPECT_EQ(std::holds_alternative<ReportRequest>(parsed), ns.has_value()) << "'" << text << "'";
    }

    // One grammar for a selector in both modes; each interface once, by kind; aliases in any case.
    using Kind = InterfaceSelector::Kind;
    const std::vector<InterfaceSelector> selectors{{Kind::Index, 7, L"7"}, {Kind::Luid, 0xABC, L"0x00AbC"},
                                                   {Kind::Alias, 0, L"eth0"}, {Kind::Alias, 0, L"-1"}};
    for (const bool watch : {false, true}) {
        std::vector<std::wstring> arguments{L"interface", L"7", L"tcp", L"interface", L"0x00AbC", L"interface",
                                            L"eth0", L"interface", L"007", L"interface", L"ETH0", L"interface",
                                            L"0xabc", L"interface", L"-1", L"--include", L"e*", L"--up"};
        if (watch)
            arguments.insert(arguments.end(), {L"--watch", L"0.5", L"--count", L"9"});
        const auto request = std::get<ReportRequest>(ParseArguments(arguments));
        EXPECT_EQ(request.pages.interfaces, selectors);
        EXPECT_TRUE(request.pages.Has("interface") && request.pages.Has("tcp") && !request.pages.Has("interfaces"));
        EXPECT_EQ(request.filter, (InterfaceFilter{{L"e*"}, {}, true}));
        EXPECT_EQ(request.watch.has_value(), watch);
    }
    // With no page: every page; a watch, every interface; the Prometheus text, every page with counters.
    const std::pair<std::vector<std::wstring>, std::vector<std::string_view>> defaults[] = {
        {{}, {"summary", "adapters", "addresses", "interfaces", "tcp", "icmp6-out"}},
        {{L"--watch", L"86400"}, {"interfaces"}},
        {{L"--prometheus"}, {"interfaces", "tcp", "ip", "udp", "icmp-in", "icmp-out", "tcp6", "ip6", "udp6",
                             "icmp6-in", "icmp6-out"}},
    };
    for (const auto& [arguments, keys] : defaults) {
        const auto request = std::get<ReportRequest>(ParseArguments(arguments));
        for (const Page& page : kPages)
            EXPECT_EQ(request.pages.Has(page.key),
                      std::find(keys.begin(), keys.end(), page.key) != keys.end() ||
                          (arguments.empty() && page.kind == PageKind::Table))
                << page.key;
    }
}

// Every page of the report is one row of kPages: the usage text lists each and the schema document's list of
// page keys is the table's.
TEST(Pages, UsageAndSchemaDocumentListEveryPageOfTheTable)
{
    const std::wstring usage = UsageText();
    std::ifstream schema(std::filesystem::path(test::ProgramFolder()) / "report-expected" / "report-schema.md");
    std::string line, keys;
    while (std::getline(schema, line))
        if (line.starts_with("Pages: "))
            keys = line.substr(7);
    const std::size_t listed = usage.find(L"pages with counters:");
    const std::wstring counted = usage.substr(listed, usage.find(L"\n\n", listed) - listed) + L",";
    std::string expected;
    for (const Page& page : kPages) {
        const std::wstring key(page.key.begin(), page.key.end());
        EXPECT_NE(usage.find(L"\n  " + key + L" "), std::wstring::npos) << page.key;
        EXPECT_EQ(counted.find(L" " + key + L",") != std::wstring::npos, page.counters)
            << page.key << ": the list of pages with counters";
        expected += (expected.empty() ? "`" : ", `") + std::string(page.key) + "`";
    }
    EXPECT_EQ(keys, expected) << "the line \"Pages: \" of docs/report-schema.md";
}

// The one difference rule, for both widths.
TEST(Difference, WrapsResetsAndRates)
{
    constexpr uint64_t kSecond = 1'000'000'000;
    const struct {
        const char* name;
        std::optional<uint64_t> previous;
        uint64_t current;
        CounterWidth width;
        uint64_t ns;
        CounterChange expected;
    } rows[] = {
        {"first read", std::nullopt, 5, CounterWidth::Bits32, kSecond, {5}},
        {"a step", 1000, 3500, CounterWidth::Bits64, 2'500'000'000, {3500, 2500, 1000.0}},
        {"no step", 7, 7, CounterWidth::Bits32, kSecond, {7, 0, 0.0}},
        {"a 32-bit wrap", 4'294'967'040, 256, CounterWidth::Bits32, 2 * kSecond, {256, 512, 256.0}},
        {"the largest wrap", 0x8000'0000, 0xFFFF'FFFF, CounterWidth::Bits32, kSecond,
         {0xFFFF'FFFF, 0x7FFF'FFFF, 2147483647.0}},
        {"a 32-bit wrap of just under half", 0xFFFF'FFFF, 0x7FFF'FFFE, CounterWidth::Bits32, kSecond,
         {0x7FFF'FFFE, 0x7FFF'FFFF, 2147483647.0}},
        {"a 32-bit drop of half the range", 0xFFFF'FFFF, 0x7FFF'FFFF, CounterWidth::Bits32, kSecond,
         {0x7FFF'FFFF, std::nullopt, std::nullopt, true}},
        {"a 32-bit reset", 1'000'000, 5, CounterWidth::Bits32, kSecond, {5, std::nullopt, std::nullopt, true}},
        {"a 64-bit counter never wraps", 0xFFFF'FFFF'FFFF'FF00, 256, CounterWidth::Bits64, kSecond,
         {256, std::nullopt, std::nullopt, true}},
        {"a 64-bit step beyond 32 bits", 1, 0x1'0000'0001, CounterWidth::Bits64, 4 * kSecond,
         {0x1'0000'0001, 0x1'0000'0000, 1073741824.0}},
        {"no time between the reads", 10, 30, CounterWidth::Bits64, 0, {30, 20, std::nullopt}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Differ(row.previous, row.current, row.width, row.ns), row.expected) << row.name;
}

// Patterns against aliases, and what a filter keeps.
TEST(InterfaceChoice, WildcardsAndFilters)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> patterns[] = {
        {L"eth0", L"ETH0", true},   {L"e*", L"eth0", true},     {L"*0", L"eth0", true},  {L"*", L"", true},
        {L"e?h0", L"eth0", true},   {L"e?h0", L"eh0", false},   {L"*th*", L"eth0", true}, {L"eth", L"eth0", false},
        {L"*a*b", L"aXbXab", true}, {L"*a*b", L"aXbXa", false}, {L"?", L"", false},      {L"caf\u00c9", L"caf\u00e9", true},
        {L"**?*", L"x", true},      {L"w*-*i", L"Wi-Fi", true}, {L"*.*", L"Wi-Fi", false},
    };
    for (const auto& [pattern, text, matches] : patterns)
        EXPECT_EQ(WildcardMatches(pattern, text), matches) << "'" << pattern << "' '" << text << "'";

    const InterfaceIdentity eth0{1, 2, L"eth0", true}, lo{3, 1, L"lo", true}, down{4, 3, L"eth1", false};
    const std::pair<InterfaceFilter, std::array<bool, 3>> filters[] = {
        {{}, {true, true, true}},
        {{{L"e*"}}, {true, false, true}},
        {{{L"lo", L"*1"}}, {false, true, true}},
        {{{}, {L"*0", L"LO"}}, {false, false, true}},
        {{{L"e*"}, {L"*1"}}, {true, false, false}},
        {{{}, {}, true}, {true, true, false}},
    };
    for (const auto& [filter, kept] : filters)
        EXPECT_EQ((std::array{filter.Keeps(eth0), filter.Keeps(lo), filter.Keeps(down)}), kept);
}

constexpr ULONG64 kEth0 = 0x0006000001000000, kPpp0 = 0x0017000002000000, kWlan0 = 0x0047000003000000,
                  kTun0 = 0x0083000004000000, kLo = 0x0018000005000000, kOdd = 0x0006000006000000;

// Names the text, JSON and Prometheus text must carry safely, numbered counters, extremes.
void Device(FakeIpHelper& f)
{
    f.hostName = "pda\xe9\x80";
    f.domainName = "corp.ex\"ample";
    f.dnsServers = {"", "10.0.0.2", "10.0.0.3"};
    f.adapters = {{.index = 2, .name = "eth \"two\"\\\x01"}, {.index = 4294967295u, .name = "{LAST}"},
                  {.index = 0, .name = ""}};
    MIB_IFROW row = NumberedRow(7);
    row.dwSpeed = 4294967295u;
    f.interfaces = {{.index = 2, .name = L"\\DEVICE\\TCPIP_{TWO}", .row = row},
                    // a lone surrogate last
                    {.index = 9, .name = std::wstring(L"n\u00e9t \u20ac\U0001F600\t\"x\"") + wchar_t(0xD800)},
                    {.index = 0, .name = L""},
                    {.index = 1, .name = L"\\DEVICE\\LOOPBACK", .row = NumberedRow(500), .listed = false}};
    // The table of every interface: loopback too, an alias that needs escaping, one that is down.
    // A second interface of an alias already shown, which the Prometheus text leaves out.
    f.ifTable = {IfRow2(kEth0, 2, L"eth0", 1000), IfRow2(kLo, 1, L"lo", 0xFFFFFFFF00000000),
                 IfRow2(kOdd, 9, L"caf\u00e9 \"q\" \\b\nx", 3000), IfRow2(kTun0, 4, L"caf\u00e9 \"q\" \\b\nx", 4000)};
    f.ifTable[0].TransmitLinkSpeed = 100'000'000;  // slower out than in
    f.ifTable[1].Type = IF_TYPE_SOFTWARE_LOOPBACK, f.ifTable[1].ReceiveLinkSpeed = 0;
    f.ifTable[1].TransmitLinkSpeed = UINT64_MAX, f.ifTable[2].OperStatus = IfOperStatusDown;
    f.tcp = Numbered<MIB_TCPSTATS>(4294967281u), f.ip = Numbered<MIB_IPSTATS>(100);
    f.udp = Numbered<MIB_UDPSTATS>(0), f.icmp = Numbered<MIB_ICMP>(1000);
    // Both families, a link-local scope, an adapter without addresses or a physical address; a full 8-byte one.
    f.addressAdapters = {{.friendlyName = L"Wi-Fi \"caf\u00e9\"", .description = L"Aironet\t350",
                          .dnsSuffix = L"corp.example", .ipv4Index = 7, .ipv6Index = 8, .luid = 0x0047000003000000,
                          .type = IF_TYPE_IEEE80211, .mtu = 1480, .physicalAddress = {2, 0, 0x5E, 0x10, 0, 1},
                          .unicast = {{L"192.0.2.7", 24}, {L"2001:db8::7", 64}, {L"fe80::7%7", 64}},
                          .gateways = {L"192.0.2.1", L"fe80::1%7"}, .dnsServers = {L"192.0.2.53", L"2001:db8::53"},
                          .dhcpv4Enabled = true},
                         {.friendlyName = L"lo", .description = L"Loopback", .ipv4Index = 1, .ipv6Index = 1,
                          .luid = 0x0018000001000000, .type = IF_TYPE_SOFTWARE_LOOPBACK, .mtu = 65536,
                          .unicast = {{L"127.0.0.1", 8}, {L"::1", 128}}},
                         {.friendlyName = L"tun0", .ipv4Index = 9, .luid = 0x0083000004000000, .type = IF_TYPE_TUNNEL,
                          .operStatus = IfOperStatusDown, .physicalAddress = {1, 2, 3, 4, 5, 6, 7, 0xFF}}};
    f.tcp6 = Numbered<MIB_TCPSTATS>(6000), f.ip6 = Numbered<MIB_IPSTATS>(6100);
    f.udp6 = Numbered<MIB_UDPSTATS>(6200), f.icmp6 = Numbered<MIB_ICMP_EX>(70000);
}

// Each output of a run: text, JSON, the Prometheus text.
enum Formats { kText = 1, kJson = 2, kPrometheus = 4 };

TEST(Report, WholeRunsGiveTheExpectedTextJsonFailuresAndStatus)
{
    const std::pair<const char*, std::function<void(FakeIpHelper&)>> devices[] = {
        {"device", Device},
        {"nothing", [](FakeIpHelper&) {}},
        {"failing", [](FakeIpHelper& f) {
             Device(f);
             f.networkParamsCall.probeAnswer = NO_ERROR;
             f.adaptersInfoCall.fillAnswer = ERROR_INVALID_DATA;
             f.interfaceInfoCall.probeSize = 0xFFFFFFFFu;
             f.tcpAnswer = f.icmpAnswer = ERROR_NOT_SUPPORTED;
             f.addressesGrowths = 4;  // one more than the retries
             f.statisticsExAnswer = ERROR_ACCESS_DENIED;
             f.interfaces[3].ifEntryAnswer = ERROR_NOT_FOUND;
         }},
    };
    const std::tuple<const char*, std::vector<std::wstring>, int> runs[] = {
        {"all", {}, kText | kJson},
        {"chosen", {L"icmp-out", L"interface", L"2", L"interface", L"7", L"udp", L"summary", L"interface", L"LO",
                    L"interface", L"0x6000006000000", L"interface", L"002", L"udp", L"ip", L"icmp6-in", L"addresses",
                    L"udp6"}, kText | kJson},
        {"interfaces", {L"interfaces", L"interface", L"7", L"interface", L"lo", L"interface", L"eth0", L"icmp-in",
                        L"tcp"}, kText | kJson},
        {"filtered", {L"--exclude", L"*0", L"--up", L"interfaces", L"addresses", L"interface", L"9"}, kText | kJson},
        {"prometheus", {L"--prometheus"}, kPrometheus},
        {"prometheus-chosen", {L"--prometheus", L"--include", L"?o", L"--include", L"CAF*", L"interface", L"2",
                               L"interfaces", L"icmp6-out"}, kPrometheus},
        {"textfile-watch", {L"--textfile", L"x?.prom", L"--watch", L"1", L"--count", L"1", L"tcp"}, kPrometheus},
        {"usage", {L"tcp", L"interface", L"x\n1", L"interface"}, kText},
        {"help", {L"bogus", L"--help"}, kText},
    };
    for (const auto& [device, script] : devices) {
        for (const auto& [run, arguments, formats] : runs) {
            for (const Formats format : {kText, kJson, kPrometheus}) {
                if (!(formats & format))
                    continue;
                FakeIpHelper fake;
                script(fake);
                std::vector<std::wstring> withFormat = arguments;
                if (format == kJson)
                    withFormat.insert(withFormat.begin(), L"--json");
                const Captured outcome = RunCaptured(withFormat);
                const std::string name = std::string(device) + "-" + run;
                Compare(name + (format == kJson ? ".json" : format == kText ? ".txt" : ".prom"), outcome.out);
                Compare(name + ".err", outcome.err + "exit " + std::to_string(outcome.exitCode) + "\n");
                EXPECT_TRUE(outcome.exitCode != kExitUsage || fake.calls.Total() == 0) << "a usage error reads nothing";
                EXPECT_EQ(fake.mibTablesLive, 0);
            }
        }
    }
}

// The watch's time: it moves only when a read takes time or the watch waits; a stop can be scripted.
struct ScriptedClock {
    static inline ScriptedClock* current = nullptr;
    uint64_t now = 5'000'000'000;
    uint64_t stopAtWait = 0;  // the wait of that number answers that a stop came first; 0: never
    uint64_t waits = 0, samples = 0;  // a sample asks for the UTC time once
    report::WatchClock table{[] { return current->now; },
                             [] { return ++current->samples, 134'000'000'000'000'000ull + current->now / 100; },
                             [](uint64_t deadline) {
                                 current->now = std::max(current->now, deadline);
                                 return ++current->waits != current->stopAtWait;
                             }};
    report::WatchClockOverride use{table};
    ScriptedClock() { current = this; }
    ~ScriptedClock() { current = nullptr; }
};

constexpr uint64_t kSecond = 1'000'000'000;

// Six samples two seconds apart, each read at GetIfTable2 as the world changes; the expected outputs show:
// 1 totals. 2 a read that takes 0.5 s, so eth0's 2,500 bytes over the 2.5 s measured are 1.0 kB/s and wlan0's
// 1,000 bytes use 0.04 % of its 8 Mbit/s link; TCP's active opens wrap from 0xFFFFFF00 to 0x100 (512), UDP's
// received datagrams go from 1,000,000 to 5 (a reset, not a wrap), a gauge (current connections) is shown as it is.
// 3 the reads overrun, so the slot at 6 s is given up; eth0's counters went down (reset); ppp0 vanishes and in the
// same read its index 3 is tun0's (new, no rate from ppp0's counters); wlan0 vanishes. 4 at 8 s GetIfTable2 and
// the TCP read fail: neither shows, the failures on standard error. 5 eth0 and TCP are compared with their reads of
// sample 3, 4 s back; wlan0 is back (new again). 6 all have rates. Then the summary of the watch.
void Scenario(FakeIpHelper& fake, ScriptedClock& clock)
{
    fake.ifTable = {IfRow2(kEth0, 2, L"eth0", 1000), IfRow2(kPpp0, 3, L"ppp0", 2000), IfRow2(kWlan0, 5, L"wlan0", 0)};
    fake.ifTable[0].OutUcastPkts = 0xFFFFFFFF00000000;  // far beyond 32 bits
    fake.ifTable[1].TransmitLinkSpeed = fake.ifTable[1].ReceiveLinkSpeed = 0;  // not known
    fake.ifTable[2].TransmitLinkSpeed = fake.ifTable[2].ReceiveLinkSpeed = 8'000'000;
    const MIB_IF_ROW2 wlan0 = fake.ifTable[2];
    fake.tcp = Numbered<MIB_TCPSTATS>(100), fake.tcp.dwActiveOpens = 0xFFFFFF00;
    fake.udp = Numbered<MIB_UDPSTATS>(300), fake.udp.dwInDatagrams = 1'000'000;
    fake.onIfTable = [&fake, &clock, wlan0, sample = 0]() mutable {
        MIB_IF_ROW2& eth0 = fake.ifTable[0];
        switch (++sample) {
        case 2:
            clock.now += kSecond / 2;
            eth0.InOctets += 2500, eth0.InUcastPkts += 20, eth0.InNUcastPkts += 5, eth0.OutOctets += 250;
            eth0.InErrors += 1, eth0.OutDiscards += 2, eth0.OutUcastPkts += 5, fake.ifTable[2].InOctets += 1000;
            fake.tcp.dwActiveOpens = 0x100, fake.tcp.dwCurrEstab += 7, fake.udp.dwInDatagrams = 5;
            break;
        case 3:
            clock.now += kSecond * 5 / 2;
            eth0.InOctets = 7;
            fake.ifTable = {eth0, IfRow2(kTun0, 3, L"tun0", 9000)};
            fake.tcp.dwActiveOpens += 10, fake.udp.dwInDatagrams += 4;
            break;
        case 4:
            fake.ifTableAnswer = ERROR_NOT_FOUND, fake.tcpAnswer = ERROR_NOT_SUPPORTED;
            break;
        case 5:
            fake.ifTableAnswer = NO_ERROR, fake.tcpAnswer = NO_ERROR;
            eth0.InOctets += 6000, fake.tcp.dwActiveOpens += 20;
            fake.ifTable.push_back(wlan0);
            break;
        case 6:
            for (MIB_IF_ROW2& row : fake.ifTable)
                row.InOctets += 4000, row.OutOctets += 2000;
            fake.tcp.dwActiveOpens += 35;
            break;
        }
    };
}

TEST(Watch, DifferencesRatesResetsAndInterfacesComingAndGoing)
{
    for (const bool json : {false, true}) {
        FakeIpHelper fake;
        ScriptedClock clock;
        Scenario(fake, clock);
        std::vector<std::wstring> arguments{L"--watch", L"2", L"--count", L"6", L"tcp", L"interfaces", L"udp"};
        if (json)
            arguments.push_back(L"--json");
        const Captured run = RunCaptured(arguments);
        Compare(json ? "watch.jsonl" : "watch.txt", run.out);
        Compare("watch.err", run.err + "exit " + std::to_string(run.exitCode) + "\n");
        EXPECT_EQ(fake.calls.ifTable2, 6);
        EXPECT_EQ(fake.mibTablesLive, 0) << "every table given back";
    }
}

// How a watch ends: its count, a stop, a reader gone, a failed write; its status and its summary. Samples fall due
// at start + k intervals: 1,000 of 0.1 s whose reads take 3 ms each end 99.9 s after the first (an overrun gives
// up its missed slots: the scenario's third sample).
TEST(Watch, EndsWholeWithTheStatusOfWhatHappened)
{
    const std::string tcp = "Failed to retrieve statistics: 0x80070032 Request not supported.\n",
                      eth1 = "Failed to read interface eth1: 0x80070057 Invalid parameter.\n",
                      ifTable = "Failed to read the interfaces: 0x80070032 Request not supported.\n";
    const struct {
        const char* name;
        std::vector<std::wstring> pages;
        std::string err;
        int count = 3, samples = 3, exitCode = kExitSuccess;
        uint64_t stopAtWait = 0;
        std::function<WriteResult(int)> answer = {};
        int failingTcpReads = 0;  // the first ones fail
        DWORD ifTableAnswer = NO_ERROR;
        std::wstring interval = L"1";
        uint64_t readNs = 0;
        double lastDue = 2;  // the last sample's seconds since the first
        bool summary = true;
    } cases[] = {
        {.name = "the count reached", .pages = {L"tcp"}},
        {.name = "1,000 samples", .count = 1000, .samples = 1000, .interval = L"0.1", .readNs = 3'000'000,
         .lastDue = 99.9},
        {.name = "GetIfTable2 fails", .pages = {L"interfaces", L"tcp"}, .err = ifTable + ifTable + ifTable,
         .exitCode = kExitReadFailed, .ifTableAnswer = ERROR_NOT_SUPPORTED},
        {.name = "Ctrl+C after the second sample", .pages = {L"tcp"}, .samples = 2, .stopAtWait = 2, .lastDue = 1},
        {.name = "Ctrl+C while every sample failed", .pages = {L"tcp"}, .err = tcp + tcp, .samples = 2,
         .stopAtWait = 2, .failingTcpReads = 2, .lastDue = 1},
        {.name = "standard output closed at the second", .pages = {L"tcp"}, .samples = 2,
         .answer = [](int write) { return write == 2 ? WriteResult::Closed : WriteResult::Written; },
         .summary = false},
        {.name = "standard output fails", .pages = {L"tcp"},
         .err = "orvane-report: could not write to standard output\n",
         .samples = 1, .exitCode = kExitReadFailed, .answer = [](int) { return WriteResult::Failed; },
         .summary = false},
        {.name = "every sample had a failed read", .pages = {L"tcp", L"udp"}, .err = tcp + tcp + tcp,
         .exitCode = kExitReadFailed, .failingTcpReads = 3},
        {.name = "one sample failed", .pages = {L"tcp"}, .err = tcp, .failingTcpReads = 1},
        {.name = "an interface that is not there", .pages = {L"interface", L"eth1", L"interface", L"0x6000001000000"},
         .err = eth1 + eth1 + eth1, .exitCode = kExitReadFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeIpHelper fake;
        ScriptedClock clock;
        clock.stopAtWait = c.stopAtWait;
        fake.ifTable = {IfRow2(kEth0, 2, L"eth0", 1)};
        fake.ifTableAnswer = c.ifTableAnswer;
        fake.onIfTable = [&] { clock.now += c.readNs; };
        static const IpHelperApi* real = nullptr;
        static int failing = 0;
        real = &fake.api, failing = c.failingTcpReads;
        IpHelperApi table = fake.api;
        table.getTcpStatistics = [](PMIB_TCPSTATS stats) {
            return failing-- > 0 ? DWORD{ERROR_NOT_SUPPORTED} : real->getTcpStatistics(stats);
        };
        const IpHelperApiOverride use(table);
        std::vector<std::wstring> arguments{L"--watch", c.interval, L"--count", std::to_wstring(c.count), L"--json"};
        arguments.insert(arguments.end(), c.pages.begin(), c.pages.end());
        const Captured run = RunCaptured(arguments, c.answer);
        EXPECT_EQ(clock.samples, static_cast<uint64_t>(c.samples));
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
        std::istringstream lines(run.out);
        std::vector<nlohmann::json> parsed;
        for (std::string line; std::getline(lines, line);)
            EXPECT_FALSE(parsed.emplace_back(nlohmann::json::parse(line, nullptr, false)).is_discarded())
                << "whole lines only";
        const bool summarised = !parsed.empty() && parsed.back()["type"] == "summary";
        EXPECT_EQ(summarised, c.summary);
        if (summarised) {
            EXPECT_EQ(parsed.back()["samples"], c.samples);
            parsed.pop_back();
        }
        EXPECT_TRUE(c.answer || (!parsed.empty() && parsed.back()["sinceStart"] == c.lastDue)) << run.out;
    }
}

// The Prometheus text file: replaced whole, also while a reader holds it; nothing but the file left in its folder;
// a clear error and status 1 when it cannot be written.
TEST(TextFile, ReplacedWholeOrNotAtAllAndNoTemporaryFileLeft)
{
    const std::filesystem::path folder = std::filesystem::path(test::ProgramFolder()) / "textfile";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / "orvane.prom";
    const auto content = [&] {
        std::stringstream text;
        text << std::ifstream(target, std::ios::binary).rdbuf();
        return text.str();
    };
    FakeIpHelper fake;
    fake.ifTable = {IfRow2(kEth0, 2, L"eth0", 1)};
    std::ofstream(target) << "old";
    const Captured first = RunCaptured({L"--textfile", target.wstring(), L"interfaces"});
    EXPECT_EQ(first.exitCode, kExitSuccess) << first.err;
    EXPECT_EQ(first.out, "");
    EXPECT_TRUE(content().starts_with("# HELP orvane_interface_info ")) << content();

    // Held open without sharing, as a reader on Windows may: the write waits, then gives up.
    {
        const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const TextFileResult heldResult = ReplaceTextFile(target.wstring(), "new\n", 200);
        CloseHandle(held);
        EXPECT_FALSE(heldResult.written);
        EXPECT_TRUE(heldResult.error.starts_with(L"could not replace ")) << text::ToUtf8(heldResult.error);
    }
    // Released during the wait: replaced.
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const HANDLE release = CreateThread(nullptr, 0, [](void* h) -> DWORD { Sleep(300); return CloseHandle(h); },
                                        held, 0, nullptr);
    EXPECT_TRUE(ReplaceTextFile(target.wstring(), "new\n", 5000).written);
    WaitForSingleObject(release, 5000), CloseHandle(release);
    EXPECT_EQ(content(), "new\n");

    const Captured missing = RunCaptured({L"--textfile", (folder / "no" / "such.prom").wstring(), L"tcp"});
    EXPECT_EQ(missing.exitCode, kExitReadFailed);
    EXPECT_TRUE(missing.err.starts_with("orvane-report: could not make a file in ")) << missing.err;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"orvane.prom"});
}

// The platform's clock, read for real once: monotonic, finer than a second.
TEST(WatchClock, ThePlatformClockIsMonotonicAndFinerThanASecond)
{
    const WatchClock& clock = PlatformWatchClock();
    const uint64_t before = clock.monotonicNs();
    Sleep(20);
    const uint64_t after = clock.monotonicNs();
    EXPECT_GT(after, before);
    EXPECT_LT(after - before, kSecond) << "a clock that counts whole seconds or jumps";
    EXPECT_GT(clock.utcFileTime(), 134'000'000'000'000'000ull) << "after 2025";
}

}  // namespace
