// orvane-report over the IP helper fake: whole runs compared byte for byte with the expected outputs beside this file.
#include "report/ReportArguments.h"
#include "report/ReportRun.h"
#include "support/FakeIpHelper.h"
#include "support/Win32.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace report;

namespace {

TEST(Arguments, AnswerWithTheHelpOrTheUsage)  // what they select shows in the whole runs
{
    for (const std::vector<std::wstring>& help : {std::vector<std::wstring>{L"--help"}, {L"bogus", L"interface", L"--help"}})
        EXPECT_TRUE(std::holds_alternative<HelpRequest>(ParseArguments(help)));

    const std::pair<std::vector<std::wstring>, std::wstring> errors[] = {
        {{L"tcp", L"TCP"}, L"unknown argument 'TCP'"},  {{L"--JSON"}, L"unknown argument '--JSON'"},
        {{L"icmp"}, L"unknown argument 'icmp'"},        {{L""}, L"unknown argument ''"},
        {{L"a\nb\x1b"}, L"unknown argument 'a?b?'"},    {{L"interface"}, L"interface needs an INDEX"},
        {{L"summary", L"interface", L"tcp"}, L"interface INDEX must be an unsigned decimal number below 4294967296, not 'tcp'"},
    };
    for (const auto& [arguments, message] : errors)
        EXPECT_EQ(std::get<UsageError>(ParseArguments(arguments)).message, message);
    for (const wchar_t* bad : {L"", L"-1", L"+1", L" 1", L"1 ", L"0x10", L"1e3", L"4294967296", L"18446744073709551617", L"99999999999", L"\x0661"})
        EXPECT_TRUE(std::holds_alternative<UsageError>(ParseArguments({L"interface", bad}))) << "index of " << wcslen(bad) << " characters";
}

// Against tests/report/expected (copied beside the program), JSON parsed strictly; a difference goes to report-actual\.
void Compare(const std::string& name, const std::string& actual)
{
    const std::filesystem::path folder = test::ProgramFolder();
    std::stringstream expected;
    expected << std::ifstream(folder / "report-expected" / name, std::ios::binary).rdbuf();
    if (expected.str() != actual)
        std::filesystem::create_directories(folder / "report-actual"), std::ofstream(folder / "report-actual" / name, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected.str()) << name;
    EXPECT_TRUE(!name.ends_with(".json") || !nlohmann::json::parse(actual, nullptr, false).is_discarded()) << name << ": not JSON";
}

// Names the text and JSON must carry safely, numbered counters, extremes.
void Device(FakeIpHelper& f)
{
    f.hostName = "pda\xe9\x80";
    f.domainName = "corp.ex\"ample";
    f.dnsServers = {"", "10.0.0.2", "10.0.0.3"};
    f.adapters = {{.index = 2, .name = "eth \"two\"\\\x01"}, {.index = 4294967295u, .name = "{LAST}"}, {.index = 0, .name = ""}};
    MIB_IFROW row = NumberedRow(7);
    row.dwSpeed = 4294967295u;
    f.interfaces = {{.index = 2, .name = L"\\DEVICE\\TCPIP_{TWO}", .row = row},
                    {.index = 9, .name = std::wstring(L"n\u00e9t \u20ac\U0001F600\t\"x\"") + wchar_t(0xD800)},  // a lone surrogate last
                    {.index = 0, .name = L""}};
    f.tcp = Numbered<MIB_TCPSTATS>(4294967281u);
    f.ip = Numbered<MIB_IPSTATS>(100);
    f.udp = Numbered<MIB_UDPSTATS>(0);
    f.icmp = Numbered<MIB_ICMP>(1000);
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
         }},
    };
    const std::tuple<const char*, std::vector<std::wstring>, bool> runs[] = {
        {"all", {}, true},
        {"chosen", {L"icmp-out", L"interface", L"2", L"interface", L"7", L"udp", L"summary", L"interface", L"0", L"interface", L"002", L"udp", L"ip"}, true},
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
                const ReportOutcome outcome = RunReport(withFormat);
                const std::string name = std::string(device) + "-" + run;
                Compare(name + (json ? ".json" : ".txt"), outcome.out);
                Compare(name + ".err", outcome.err + "exit " + std::to_string(outcome.exitCode) + "\n");
                EXPECT_TRUE(outcome.exitCode != kExitUsage || fake.calls.Total() == 0) << "a usage error reads nothing";
            }
        }
    }
}

}  // namespace
