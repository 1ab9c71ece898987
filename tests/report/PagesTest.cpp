// Each page against the scripted IP helper: the labels, order and values the
// network information code builds reach the text and the JSON unchanged, the
// rows in the order they are built.
#include "FakeIpHelper.h"
#include "ReportTestSupport.h"
#include "netinfo/SummaryText.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/ProtocolStatistics.h"

#include <gtest/gtest.h>

using namespace netinfo;
using namespace report;

using namespace report_test;

namespace {

class Pages : public testing::Test {
protected:
    FakeIpHelper fake;
};

struct ProtocolCase {
    const wchar_t* argument;
    const char* key;
    const char* heading;
    HRESULT (ProtocolStatistics::*read)(NameValueList&) const;
    std::size_t rows;
    const char* first;
    const char* last;
};

const ProtocolCase kProtocolCases[] = {
    {L"tcp", "tcp", "TCP", &ProtocolStatistics::ReadTcpStatistics, 15, "Timeout algorithm", "cumulative connections"},
    {L"ip", "ip", "IP", &ProtocolStatistics::ReadIpStatistics, 23, "IP forwarding enabled or disabled",
     "number of routes in routing table"},
    {L"udp", "udp", "UDP", &ProtocolStatistics::ReadUdpStatistics, 5, "received datagrams",
     "number of entries in UDP listener table"},
    {L"icmp-in", "icmp-in", "ICMP in", &ProtocolStatistics::ReadIcmpInStatistics, 13, "number of messages",
     "address mask replies"},
    {L"icmp-out", "icmp-out", "ICMP out", &ProtocolStatistics::ReadIcmpOutStatistics, 13, "number of messages",
     "address mask replies"},
};

TEST_F(Pages, ProtocolTablesInBuiltOrderWithExtremeValues)
{
    fake.tcp = Numbered<MIB_TCPSTATS>();
    fake.ip = Numbered<MIB_IPSTATS>();
    fake.udp = Numbered<MIB_UDPSTATS>();
    fake.icmp = Numbered<MIB_ICMP>();

    for (const ProtocolCase& c : kProtocolCases) {
        SCOPED_TRACE(c.key);
        NameValueList built;
        ASSERT_EQ((ProtocolStatistics().*c.read)(built), S_OK);
        const Rows expected = RowsOf(built);
        ASSERT_EQ(expected.size(), c.rows);
        ASSERT_EQ(expected.front().first, c.first);
        ASSERT_EQ(expected.back().first, c.last);

        const ReportOutcome json = Invoke({L"--json", c.argument});
        EXPECT_EQ(json.exitCode, 0);
        EXPECT_EQ(json.err, "");
        const json::Value document = Document(json.out);
        EXPECT_EQ(document.Keys(), std::vector<std::string>{c.key});
        EXPECT_EQ(RowsOf(document.at(c.key)), expected);

        const ReportOutcome text = Invoke({c.argument});
        EXPECT_EQ(text.exitCode, 0);
        EXPECT_EQ(Lines(text.out).front(), c.heading);
        Rows shown;
        for (const std::string& line : PageLines(text.out, c.heading))
            shown.push_back(SplitRowLine(line));
        EXPECT_EQ(shown, expected);
    }

    // Both ends of the range, as the numbers themselves: ICMP in begins with
    // dwMsgs of icmpInStats, ICMP out ends with dwAddrMaskReps of icmpOutStats.
    const json::Value all = Document(Invoke({L"--json", L"icmp-in", L"icmp-out"}).out);
    EXPECT_EQ(all.at("icmp-in").at(0).at("value").AsUint32(), 4294967295u);
    EXPECT_EQ(all.at("icmp-out").at(12).at("value").AsUint32(), 0u);
    EXPECT_EQ(all.at("icmp-out").at(12).at("value").text, "0");
}

TEST_F(Pages, TablesPrintInAFixedOrderWhateverTheArgumentOrder)
{
    const json::Value document = Document(Invoke({L"--json", L"icmp-out", L"udp", L"summary", L"tcp"}).out);
    EXPECT_EQ(document.Keys(), (std::vector<std::string>{"summary", "tcp", "udp", "icmp-out"}));

    const std::vector<std::string> lines = Lines(Invoke({L"icmp-out", L"udp", L"tcp", L"udp"}).out);
    std::vector<std::string> headings;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (i == 0 || lines[i - 1].empty())
            headings.push_back(lines[i]);
    EXPECT_EQ(headings, (std::vector<std::string>{"TCP", "UDP", "ICMP out"}));
}

TEST_F(Pages, SummaryIsTheSummaryViewsTextAndItsParts)
{
    fake.hostName = "pda1";
    fake.domainName = "corp.example";
    fake.dnsServers = {"", "10.0.0.2", "10.0.0.3"};

    const json::Value summary = Document(Invoke({L"--json", L"summary"}).out).at("summary");
    EXPECT_EQ(summary.Keys(), (std::vector<std::string>{"hostName", "domainName", "dnsServers", "text"}));
    EXPECT_EQ(summary.at("hostName").text, "pda1");
    EXPECT_EQ(summary.at("domainName").text, "corp.example");
    // The unconfigured entry is left out, as the Summary view leaves it out.
    ASSERT_EQ(summary.at("dnsServers").items.size(), 2u);
    EXPECT_EQ(summary.at("dnsServers").at(0).text, "10.0.0.2");
    EXPECT_EQ(summary.at("dnsServers").at(1).text, "10.0.0.3");

    NetworkParams params;
    params.hostName = "pda1";
    params.domainName = "corp.example";
    params.dnsServers = {"", "10.0.0.2", "10.0.0.3"};
    const std::wstring composed = ComposeSummaryText(params);
    EXPECT_EQ(summary.at("text").text, std::string(composed.begin(), composed.end()));

    EXPECT_EQ(Invoke({L"summary"}).out, "Summary\n"
                                     "  Host: pda1\n"
                                     "  Domain: corp.example\n"
                                     "  DNS servers: 10.0.0.2, 10.0.0.3, \n");
}

TEST_F(Pages, SummaryWithoutDnsAndWithEmptyNames)
{
    fake.dnsServers = {};
    const json::Value summary = Document(Invoke({L"--json", L"summary"}).out).at("summary");
    EXPECT_EQ(summary.at("hostName").text, "");
    EXPECT_EQ(summary.at("dnsServers").kind, json::Value::Kind::Array);
    EXPECT_TRUE(summary.at("dnsServers").items.empty());
    // The fake still gives the embedded head, with the empty text: the line
    // stands with its label alone.
    EXPECT_EQ(summary.at("text").text, "Host: \r\nDomain: \r\nDNS servers: \r\n");
}

// Narrow platform texts are in the ANSI code page; the output is UTF-8.
TEST_F(Pages, NarrowTextsAreConvertedFromTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the expected texts are those of code page 1252, this prefix uses " << GetACP();
    fake.hostName = "caf\xE9";
    fake.adapters.push_back({.index = 1, .name = "na\xEFve \"q\" \\ \x01"});

    const json::Value document = Document(Invoke({L"--json", L"summary", L"adapters"}).out);
    EXPECT_EQ(document.at("summary").at("hostName").text, "caf\xC3\xA9");
    EXPECT_EQ(document.at("summary").at("text").text.rfind("Host: caf\xC3\xA9\r\n", 0), 0u);
    EXPECT_EQ(document.at("adapters").at(0).at("name").text, "na\xC3\xAFve \"q\" \\ \x01");
    EXPECT_EQ(Lines(Invoke({L"summary"}).out).at(1), "  Host: caf\xC3\xA9");
}

TEST_F(Pages, AdaptersAreIndexAndNameInPlatformOrder)
{
    fake.adapters.push_back({.index = 4294967295u, .name = "{LAST}", .description = "not shown"});
    fake.adapters.push_back({.index = 0, .name = "{FIRST}"});
    fake.adapters.push_back({.index = 7, .name = ""});

    const json::Value adapters = Document(Invoke({L"--json", L"adapters"}).out).at("adapters");
    ASSERT_EQ(adapters.items.size(), 3u);
    for (const json::Value& adapter : adapters.items)
        EXPECT_EQ(adapter.Keys(), (std::vector<std::string>{"index", "name"}));
    EXPECT_EQ(adapters.at(0).at("index").AsUint32(), 4294967295u);
    EXPECT_EQ(adapters.at(0).at("name").text, "{LAST}");
    EXPECT_EQ(adapters.at(1).at("index").text, "0");
    EXPECT_EQ(adapters.at(1).at("name").text, "{FIRST}");
    EXPECT_EQ(adapters.at(2).at("index").AsUint32(), 7u);
    EXPECT_EQ(adapters.at(2).at("name").text, "");

    EXPECT_EQ(Invoke({L"adapters"}).out, "Adapters\n"
                                      "  4294967295: {LAST}\n"
                                      "  0: {FIRST}\n"
                                      "  7: \n");
}

MIB_IFROW NumberedRow()
{
    MIB_IFROW row{};
    row.dwAdminStatus = 1;
    row.dwSpeed = 4294967295u;
    row.dwOutOctets = 3;
    row.dwInOctets = 4;
    row.dwOutUcastPkts = 5;
    row.dwInUcastPkts = 6;
    row.dwOutNUcastPkts = 7;
    row.dwInNUcastPkts = 8;
    row.dwOutDiscards = 9;
    row.dwOutErrors = 10;
    row.dwInDiscards = 11;
    row.dwInErrors = 12;
    row.dwInUnknownProtos = 13;
    row.dwOutQLen = 0;
    return row;
}

TEST_F(Pages, OneInterfaceByIndexHasItsFourteenRows)
{
    fake.interfaces.push_back({.index = 2, .name = L"\\DEVICE\\TCPIP_{TWO}", .row = NumberedRow()});
    fake.interfaces.push_back({.index = 3, .name = L"other"});

    InterfaceRecord record;
    ASSERT_EQ(NetworkInfo().FindInterface(2, record), S_OK);
    NameValueList built;
    ASSERT_EQ(AppendInterfaceStatusRows(record, built), S_OK);
    const Rows expected = RowsOf(built);
    ASSERT_EQ(expected.size(), 14u);
    EXPECT_EQ(expected.front(), (std::pair<std::string, std::string>{"admin status", "1"}));
    EXPECT_EQ(expected[1], (std::pair<std::string, std::string>{"adapter speed bit/s", "4294967295"}));
    EXPECT_EQ(expected.back(), (std::pair<std::string, std::string>{"output queue length", "0"}));

    const json::Value interfaces = Document(Invoke({L"--json", L"interface", L"2"}).out).at("interfaces");
    ASSERT_EQ(interfaces.items.size(), 1u);
    EXPECT_EQ(interfaces.at(0).Keys(), (std::vector<std::string>{"index", "name", "rows"}));
    EXPECT_EQ(interfaces.at(0).at("index").AsUint32(), 2u);
    EXPECT_EQ(interfaces.at(0).at("name").text, "\\DEVICE\\TCPIP_{TWO}");
    EXPECT_EQ(RowsOf(interfaces.at(0).at("rows")), expected);

    const std::string text = Invoke({L"interface", L"2"}).out;
    EXPECT_EQ(Lines(text).front(), "Interface 2: \\DEVICE\\TCPIP_{TWO}");
    Rows shown;
    for (const std::string& line : PageLines(text, "Interface 2: \\DEVICE\\TCPIP_{TWO}"))
        shown.push_back(SplitRowLine(line));
    EXPECT_EQ(shown, expected);
}

TEST_F(Pages, EveryInterfaceInPlatformOrderWithoutIndexesAsked)
{
    fake.interfaces.push_back({.index = 9, .name = L"nine", .row = NumberedRow()});
    fake.interfaces.push_back({.index = 4294967295u, .name = L"last"});
    fake.interfaces.push_back({.index = 0, .name = L"zero"});

    for (const auto& arguments : {std::vector<std::wstring>{L"--json", L"interfaces"},
                                  std::vector<std::wstring>{L"--json"}}) {
        const json::Value interfaces = Document(Invoke(arguments).out).at("interfaces");
        ASSERT_EQ(interfaces.items.size(), 3u);
        EXPECT_EQ(interfaces.at(0).at("name").text, "nine");
        EXPECT_EQ(interfaces.at(1).at("index").AsUint32(), 4294967295u);
        EXPECT_EQ(interfaces.at(2).at("index").AsUint32(), 0u);
        // A row GetIfEntry left empty shows zeros, not nothing.
        const Rows zeros = RowsOf(interfaces.at(2).at("rows"));
        ASSERT_EQ(zeros.size(), 14u);
        for (const auto& [label, value] : zeros)
            EXPECT_EQ(value, "0") << label;
    }

    // Several indexes asked for: in the order given, each once.
    const json::Value chosen =
        Document(Invoke({L"--json", L"interface", L"0", L"interface", L"9", L"interface", L"0"}).out).at("interfaces");
    ASSERT_EQ(chosen.items.size(), 2u);
    EXPECT_EQ(chosen.at(0).at("name").text, "zero");
    EXPECT_EQ(chosen.at(1).at("name").text, "nine");
}

TEST_F(Pages, NoInterfaceAtAllIsAnEmptyPage)
{
    const ReportOutcome json = Invoke({L"--json", L"interfaces"});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(Document(json.out).at("interfaces").kind, json::Value::Kind::Array);
    EXPECT_TRUE(Document(json.out).at("interfaces").items.empty());
    EXPECT_EQ(Invoke({L"interfaces"}).out, "Interfaces\n  (none)\n");
}

TEST_F(Pages, InterfaceNamesReachUtf8Intact)
{
    fake.interfaces.push_back({.index = 5, .name = L"n\u00e9t \u20ac\U0001F600 \"tab\"\t\\"});
    const json::Value interfaces = Document(Invoke({L"--json", L"interfaces"}).out).at("interfaces");
    EXPECT_EQ(interfaces.at(0).at("name").text, "n\xC3\xA9t \xE2\x82\xAC\xF0\x9F\x98\x80 \"tab\"\t\\");
    // On one line in the text, the tab shown as '?'.
    EXPECT_EQ(Lines(Invoke({L"interfaces"}).out).front(),
              "Interface 5: n\xC3\xA9t \xE2\x82\xAC\xF0\x9F\x98\x80 \"tab\"?\\");
}

} // namespace
