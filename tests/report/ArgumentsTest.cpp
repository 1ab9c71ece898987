// The command line: which pages a run reads, and the answers to --help and
// to arguments it does not understand.
#include "FakeIpHelper.h"
#include "ReportTestSupport.h"
#include "report/ReportArguments.h"

#include <gtest/gtest.h>

#include <variant>

using namespace netinfo;
using namespace report;

using namespace report_test;

namespace {

PageSelection SelectionOf(const std::vector<std::wstring>& arguments)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    const auto* request = std::get_if<ReportRequest>(&parsed);
    if (!request)
        throw std::runtime_error("not a report request");
    return request->pages;
}

bool IsUsageError(const std::vector<std::wstring>& arguments)
{
    return std::holds_alternative<UsageError>(ParseArguments(arguments));
}

TEST(Arguments, NoPageMeansEveryPageEveryInterfaceIncluded)
{
    for (const auto& arguments : {std::vector<std::wstring>{}, std::vector<std::wstring>{L"--json"}}) {
        const PageSelection pages = SelectionOf(arguments);
        EXPECT_TRUE(pages.summary);
        EXPECT_TRUE(pages.adapters);
        EXPECT_TRUE(pages.allInterfaces);
        EXPECT_TRUE(pages.interfaceIndexes.empty());
        for (const ProtocolName& name : kProtocolNames)
            EXPECT_TRUE(pages.Wants(name.protocol)) << name.key;
    }
    EXPECT_TRUE(std::get<ReportRequest>(ParseArguments({L"--json"})).json);
    EXPECT_FALSE(std::get<ReportRequest>(ParseArguments({})).json);
}

TEST(Arguments, EachPageNameSelectsItsPageAlone)
{
    PageSelection summary;
    summary.summary = true;
    EXPECT_EQ(SelectionOf({L"summary"}), summary);

    PageSelection adapters;
    adapters.adapters = true;
    EXPECT_EQ(SelectionOf({L"adapters"}), adapters);

    PageSelection interfaces;
    interfaces.allInterfaces = true;
    EXPECT_EQ(SelectionOf({L"interfaces"}), interfaces);

    PageSelection one;
    one.interfaceIndexes = {7};
    EXPECT_EQ(SelectionOf({L"interface", L"7"}), one);

    const std::pair<const wchar_t*, Protocol> protocols[] = {
        {L"tcp", Protocol::Tcp}, {L"ip", Protocol::Ip}, {L"udp", Protocol::Udp},
        {L"icmp-in", Protocol::IcmpIn}, {L"icmp-out", Protocol::IcmpOut}};
    for (const auto& [argument, protocol] : protocols) {
        PageSelection expected;
        expected.protocols[static_cast<std::size_t>(protocol)] = true;
        EXPECT_EQ(SelectionOf({argument}), expected) << std::string(argument, argument + wcslen(argument));
    }
}

TEST(Arguments, SeveralPagesRepeatsOnceJsonAnywhere)
{
    const ParsedArguments parsed =
        ParseArguments({L"udp", L"interface", L"9", L"summary", L"--json", L"udp", L"interface", L"3",
                        L"interface", L"9", L"icmp-out"});
    const auto& request = std::get<ReportRequest>(parsed);
    EXPECT_TRUE(request.json);
    PageSelection expected;
    expected.summary = true;
    expected.interfaceIndexes = {9, 3};
    expected.protocols[static_cast<std::size_t>(Protocol::Udp)] = true;
    expected.protocols[static_cast<std::size_t>(Protocol::IcmpOut)] = true;
    EXPECT_EQ(request.pages, expected);
}

TEST(Arguments, InterfaceIndexIsPlainUnsignedDecimal)
{
    EXPECT_EQ(SelectionOf({L"interface", L"0"}).interfaceIndexes, std::vector<uint32_t>{0});
    EXPECT_EQ(SelectionOf({L"interface", L"4294967295"}).interfaceIndexes, std::vector<uint32_t>{4294967295u});
    EXPECT_EQ(SelectionOf({L"interface", L"007"}).interfaceIndexes, std::vector<uint32_t>{7});
    EXPECT_EQ(SelectionOf({L"interface", L"00000000000000000012"}).interfaceIndexes, std::vector<uint32_t>{12});

    for (const wchar_t* bad : {L"", L"-1", L"+1", L" 1", L"1 ", L"0x10", L"1e3", L"4294967296",
                               L"18446744073709551617", L"99999999999", L"seven", L"\x0661"}) {
        EXPECT_TRUE(IsUsageError({L"interface", bad})) << "index text of length " << wcslen(bad);
    }
    // The index is required, and a page name is not one.
    EXPECT_TRUE(IsUsageError({L"interface"}));
    EXPECT_TRUE(IsUsageError({L"interface", L"tcp"}));
}

TEST(Arguments, AnythingElseIsAUsageErrorNamingIt)
{
    for (const wchar_t* bad : {L"TCP", L"--JSON", L"-json", L"icmp", L"all", L"", L"summary=1", L"/?"}) {
        const ParsedArguments parsed = ParseArguments({L"tcp", bad});
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
        EXPECT_NE(std::get<UsageError>(parsed).message.find(L"'" + std::wstring(bad) + L"'"), std::wstring::npos);
    }
    // A control character in the echoed argument would break the one line.
    const std::wstring message = std::get<UsageError>(ParseArguments({L"a\nb\x1b"})).message;
    EXPECT_EQ(message.find_first_of(L"\n\x1b"), std::wstring::npos);
}

TEST(Arguments, HelpWinsOverEverythingElse)
{
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(ParseArguments({L"--help"})));
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(ParseArguments({L"bogus", L"interface", L"--help"})));
}

// What the program answers: usage on standard error with status 2 and nothing
// read; --help on standard output with status 0.
TEST(Arguments, UsageErrorExitsTwoWithoutReadingAnything)
{
    FakeIpHelper fake;
    for (const auto& arguments : {std::vector<std::wstring>{L"tcp", L"bogus"},
                                  std::vector<std::wstring>{L"summary", L"interface", L"x1"},
                                  std::vector<std::wstring>{L"--json", L"interface"}}) {
        const ReportOutcome outcome = Invoke(arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind("orvane-report: ", 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find("\nUsage: orvane-report [--json] [PAGE...]\n"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(Invoke({L"bogus"}).err.substr(0, Invoke({L"bogus"}).err.find('\n')),
              "orvane-report: unknown argument 'bogus'");
    const FakeCallCounts& calls = fake.calls();
    EXPECT_EQ(calls.getNetworkParams + calls.getAdaptersInfo + calls.getInterfaceInfo + calls.getIfEntry +
                  calls.getTcpStatistics + calls.getIpStatistics + calls.getUdpStatistics + calls.getIcmpStatistics,
              0);
}

TEST(Arguments, HelpPrintsUsageToStandardOutput)
{
    FakeIpHelper fake;
    const ReportOutcome outcome = Invoke({L"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out.rfind("Usage: orvane-report [--json] [PAGE...]\n", 0), 0u);
    // Every page the parser accepts is named in it.
    for (const char* page : {"summary", "adapters", "interfaces", "interface INDEX", "tcp", "ip", "udp", "icmp-in",
                             "icmp-out", "--json"})
        EXPECT_NE(outcome.out.find(page), std::string::npos) << page;
    EXPECT_EQ(fake.calls().getNetworkParams, 0);
}

} // namespace
