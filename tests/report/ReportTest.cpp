// orvane-report over the IP helper fake and a scripted clock: whole runs compared byte for byte with the expected
// outputs beside this file. RealPlatform.sh runs it over the platform's own.
#include "report/ReportArguments.h"
#include "report/ReportRun.h"
#include "report/WatchClock.h"
#include "support/FakeIpHelper.h"
#include "support/Win32.h"

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
        {L"summary", L"interface", L"tcp"}, {L"interface", L"eth0"}, {L"interface", L"-1"}, {L"interface", L"+1"},
        {L"interface", L" 1"}, {L"interface", L"1 "}, {L"interface", L"0x10"}, {L"interface", L"1e3"},
        {L"interface", L"4294967296"}, {L"interface", L"18446744073709551617"}, {L"interface", L"\x0661"},
        {L"--count", L"3"}, {L"--watch"},
        {L"tcp", L"--watch", L"1", L"--count"}, {L"--watch", L"1", L"--watch", L"2"},
        {L"--watch", L"1", L"--count", L"2", L"--count", L"2"}, {L"--watch", L"1", L"interface"},
        {L"interfaces", L"summary", L"--watch", L"1"}, {L"--watch", L"1", L"adapters"},
        {L"--watch", L"1", L"tcp6", L"addresses"}, {L"--watch", L"1", L"interface", L""},
        {L"--watch", L"1", L"interface", L"0x"}, {L"--watch", L"1", L"interface", L"0x12g"},
        {L"--watch", L"1", L"interface", L"0x10000000000000000"}, {L"--watch", L"1", L"interface", L"4294967296"},
        {L"--watch", L"1", L"--count", L"0"}, {L"--watch", L"1", L"--count", L"x"},
        {L"--watch", L"1", L"--count", L"4294967296"}, {L"--watch", L"1", L"--count", L"1.5"}};
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
        EXPECT_EQ(std::holds_alternative<WatchRequest>(parsed), ns.has_value()) << "'" << text << "'";
    }

    // What a watch takes: every interface when none is named; selectors once each, by kind.
    using Kind = InterfaceSelector::Kind;
    const auto watch = std::get<WatchRequest>(ParseArguments(
        {L"--json", L"interface", L"7", L"--count", L"9", L"tcp", L"interface", L"0x00AbC", L"interface", L"eth0",
         L"interface", L"007", L"--watch", L"0.5", L"interface", L"eth0", L"interface", L"0xabc"}));
    EXPECT_EQ(watch.intervalNs, 500'000'000ull);
    EXPECT_EQ(watch.count, std::optional(9u));
    EXPECT_TRUE(watch.json);
    EXPECT_EQ(watch.pages.interfaces, (std::vector<InterfaceSelector>{
                                          {Kind::Index, 7, L"7"}, {Kind::Luid, 0xABC, L"0x00AbC"},
                                          {Kind::Alias, 0, L"eth0"}}));
    EXPECT_FALSE(watch.pages.allInterfaces);
    EXPECT_EQ(watch.pages.protocols, (ProtocolChoice{true}));
    const auto plain = std::get<WatchRequest>(ParseArguments({L"--watch", L"86400"}));
    EXPECT_TRUE(plain.pages.allInterfaces);
    EXPECT_EQ(plain.count, std::nullopt);
}

// Names the text and JSON must carry safely, numbered counters, extremes.
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
                    {.index = 0, .name = L""}};
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
             f.statisticsExAnswer = ERROR_NOT_SUPPORTED;
         }},
    };
    const std::tuple<const char*, std::vector<std::wstring>, bool> runs[] = {
        {"all", {}, true},
        {"chosen", {L"icmp-out", L"interface", L"2", L"interface", L"7", L"udp", L"summary", L"interface", L"0",
                    L"interface", L"002", L"udp", L"ip", L"icmp6-in", L"addresses", L"udp6"}, true},
        {"interfaces", {L"interfaces", L"interface", L"7", L"icmp-in", L"tcp"}, true},
        {"usage", {L"tcp", L"interface", L"x\n1"}, false},
        {"help", {L"bogus", L"--help"}, false},
    };
    for (const auto& [device, script] : devices) {
        for (const auto& [run, arguments, document] : runs) {
            for (const bool json : {false, true}) {
                if (json && !document)
                    continue;  // the usage and the help are text whatever the format
                FakeIpHelper fake;
                script(fake);
                std::vector<std::wstring> withFormat = arguments;
                if (json)
                    withFormat.insert(withFormat.begin(), L"--json");
                const Captured outcome = RunCaptured(withFormat);
                const std::string name = std::string(device) + "-" + run;
                Compare(name + (json ? ".json" : ".txt"), outcome.out);
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
constexpr ULONG64 kEth0 = 0x0006000001000000, kPpp0 = 0x0017000002000000, kWlan0 = 0x0047000003000000,
                  kTun0 = 0x0083000004000000;

// Five samples two seconds apart, each read at GetIfTable2 as the world changes, with what the expected outputs
// show: 1 totals and no rates; 2 a read that takes 0.5 s, so eth0's 2,500 bytes over the 2.5 s measured are
// 1.0 kB/s, and TCP's active opens wrap from 0xFFFFFF00 to 0x100, a difference of 512, while a gauge (current
// connections) is shown as it is; 3 eth0's counters went down (reset: no rate), wlan0 appears (new), ppp0 is gone,
// and the reads overrun so that the slot at 6 s is given up; 4 at 8 s eth0 has rates again (6,000 bytes over 1.5 s),
// ppp0's index comes back as tun0 (new), the TCP read fails; 5 TCP compared with its last good read, 3.5 s back.
void Scenario(FakeIpHelper& fake, ScriptedClock& clock)
{
    fake.ifTable = {IfRow2(kEth0, 2, L"eth0", 1000), IfRow2(kPpp0, 3, L"ppp0", 2000)};
    fake.ifTable[0].OutUcastPkts = 0xFFFFFFFF00000000;  // far beyond 32 bits
    fake.tcp = Numbered<MIB_TCPSTATS>(100), fake.tcp.dwActiveOpens = 0xFFFFFF00;
    fake.udp = Numbered<MIB_UDPSTATS>(300), fake.ip = Numbered<MIB_IPSTATS>(200);  // settings and gauges as they are
    fake.onIfTable = [&fake, &clock, sample = 0]() mutable {
        MIB_IF_ROW2& eth0 = fake.ifTable[0];
        switch (++sample) {
        case 2:
            clock.now += kSecond / 2;
            eth0.InOctets += 2500, eth0.InUcastPkts += 20, eth0.InNUcastPkts += 5, eth0.OutOctets += 250;
            eth0.InErrors += 1, eth0.OutDiscards += 2, eth0.OutUcastPkts += 5;
            fake.tcp.dwActiveOpens = 0x100, fake.tcp.dwCurrEstab += 7, fake.udp.dwInDatagrams += 5;
            break;
        case 3:
            clock.now += kSecond * 5 / 2;
            eth0.InOctets = 7;
            fake.ifTable = {eth0, IfRow2(kWlan0, 4, L"wlan0", 5000)};
            fake.tcp.dwActiveOpens += 10;
            break;
        case 4:
            eth0.InOctets += 6000;
            fake.ifTable.push_back(IfRow2(kTun0, 3, L"tun0", 9000));
            fake.tcpAnswer = ERROR_NOT_SUPPORTED;
            break;
        case 5:
            fake.tcpAnswer = NO_ERROR, fake.tcp.dwActiveOpens += 35;
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
        std::vector<std::wstring> arguments{L"--watch", L"2", L"--count", L"5", L"tcp", L"interfaces", L"udp", L"ip"};
        if (json)
            arguments.push_back(L"--json");
        const Captured run = RunCaptured(arguments);
        Compare(json ? "watch.jsonl" : "watch.txt", run.out);
        Compare("watch.err", run.err + "exit " + std::to_string(run.exitCode) + "\n");
        EXPECT_EQ(fake.calls.ifTable2, 5);
        EXPECT_EQ(fake.mibTablesLive, 0) << "every table given back";
    }
}

// How a watch ends: its count, a stop, a reader gone, a failed write; its status. Samples fall due at start + k
// intervals: 1,000 of 0.1 s whose reads take 3 ms each end 99.9 s after the first (an overrun gives up its missed
// slots: the scenario's fourth sample).
TEST(Watch, EndsWholeWithTheStatusOfWhatHappened)
{
    const std::string tcp = "Failed to retrieve statistics\n", eth1 = "Failed to read interface eth1: 0x80070057\n",
                      ifTable = "Failed to read the interfaces: 0x80004005\n";
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
    } cases[] = {
        {.name = "the count reached", .pages = {L"tcp"}},
        {.name = "1,000 samples", .count = 1000, .samples = 1000, .interval = L"0.1", .readNs = 3'000'000,
         .lastDue = 99.9},
        {.name = "GetIfTable2 fails", .pages = {L"interfaces", L"tcp"}, .err = ifTable + ifTable + ifTable,
         .exitCode = kExitReadFailed, .ifTableAnswer = ERROR_NOT_SUPPORTED},
        {.name = "Ctrl+C after the second sample", .pages = {L"tcp"}, .samples = 2, .stopAtWait = 2, .lastDue = 1},
        {.name = "standard output closed at the second", .pages = {L"tcp"}, .samples = 2,
         .answer = [](int write) { return write == 2 ? WriteResult::Closed : WriteResult::Written; }},
        {.name = "standard output fails", .pages = {L"tcp"},
         .err = "orvane-report: could not write to standard output\n",
         .samples = 1, .exitCode = kExitReadFailed, .answer = [](int) { return WriteResult::Failed; }},
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
        nlohmann::json last;
        for (std::string line; std::getline(lines, line);)
            EXPECT_FALSE((last = nlohmann::json::parse(line, nullptr, false)).is_discarded()) << "whole lines only";
        EXPECT_TRUE(c.answer || last["sinceStart"] == c.lastDue) << last;
    }
}

}  // namespace
