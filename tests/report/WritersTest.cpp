// The writers over a model built by hand: JSON that a strict reader takes
// back with every text and number intact, and the text layout.
#include "ReportTestSupport.h"
#include "report/JsonWriter.h"
#include "report/TextWriter.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

using namespace netinfo;
using namespace report;

using namespace report_test;

namespace {

// Texts that JSON must escape, and texts beyond ASCII, as UTF-16 and as the
// UTF-8 they stand for.
const std::pair<std::wstring, std::string> kTexts[] = {
    {L"", ""},
    {L"plain", "plain"},
    {L"\"quoted\" and \\back\\slashed/", "\"quoted\" and \\back\\slashed/"},
    {L"\b\f\n\r\t", "\b\f\n\r\t"},
    {std::wstring(L"\x01\x1f\x7f", 3) + L'\0' + L"nul", std::string("\x01\x1f\x7f", 3) + '\0' + "nul"},
    {L"\u00e9\u20ac\u4e2d", "\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"},
    {L"\U0001F600", "\xF0\x9F\x98\x80"},
    {L"\u2028\ufeff", "\xE2\x80\xA8\xEF\xBB\xBF"},
};

TEST(JsonWriter, EveryTextReadsBackAsItsUtf8)
{
    for (const auto& [wide, utf8] : kTexts) {
        SCOPED_TRACE(utf8);
        Report report;
        report.adapters = std::vector<AdapterEntry>{{1, wide}};
        const std::string written = WriteJson(report);
        // No raw control character survives in the literal.
        for (const char c : written)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20u || c == '\n');
        const json::Value value = Document(written).at("adapters").at(0).at("name");
        EXPECT_EQ(value.kind, json::Value::Kind::String);
        EXPECT_EQ(value.text, utf8);
    }
    Report report;
    report.adapters = std::vector<AdapterEntry>{{1, L"a\"b\\c\n\x01"}};
    EXPECT_NE(WriteJson(report).find("\"a\\\"b\\\\c\\n\\u0001\""), std::string::npos);
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters)
{
    const std::wstring lone = {L'a', static_cast<wchar_t>(0xD83D), L'b', static_cast<wchar_t>(0xDE00), L'c',
                               static_cast<wchar_t>(0xD83D)};
    EXPECT_EQ(text::ToUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD");
    // Reversed halves are two lone ones, not a pair.
    const std::wstring reversed = {static_cast<wchar_t>(0xDE00), static_cast<wchar_t>(0xD83D)};
    EXPECT_EQ(text::ToUtf8(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

Report FullReport()
{
    Report report;
    report.summary = SummaryPage{L"h\u00f6st", L"d\"n", {L"10.0.0.1", L"10.0.0.2"},
                                 L"Host: h\u00f6st\r\nDomain: d\"n\r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n"};
    report.adapters = std::vector<AdapterEntry>{{0, L"{A}"}, {4294967295u, L"{B}"}};
    report.interfaces = std::vector<InterfacePage>{{4294967295u, L"\\DEVICE\\X", {{L"admin status", 1}}},
                                                   {3, L"empty", {}}};
    report.protocols.push_back({"tcp", L"TCP", {{L"minimum time-out", 0}, {L"maximum connections", 4294967295u}}});
    report.protocols.push_back({"icmp-out", L"ICMP out", {{L"number of messages", 12}}});
    report.failures.push_back({"udp", L"Failed to retrieve statistics (UDP)", 0x80004005u});
    return report;
}

TEST(JsonWriter, DocumentCarriesEveryPageAndNumber)
{
    const json::Value document = Document(WriteJson(FullReport()));
    EXPECT_EQ(document.Keys(),
              (std::vector<std::string>{"summary", "adapters", "interfaces", "tcp", "icmp-out", "errors"}));

    const json::Value& summary = document.at("summary");
    EXPECT_EQ(summary.at("hostName").text, "h\xC3\xB6st");
    EXPECT_EQ(summary.at("domainName").text, "d\"n");
    ASSERT_EQ(summary.at("dnsServers").items.size(), 2u);
    EXPECT_EQ(summary.at("dnsServers").at(1).text, "10.0.0.2");
    EXPECT_EQ(summary.at("text").text, "Host: h\xC3\xB6st\r\nDomain: d\"n\r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n");

    EXPECT_EQ(document.at("adapters").at(0).at("index").text, "0");
    EXPECT_EQ(document.at("adapters").at(1).at("index").text, "4294967295");

    const json::Value& interfaces = document.at("interfaces");
    EXPECT_EQ(interfaces.at(0).at("index").AsUint32(), 4294967295u);
    EXPECT_EQ(interfaces.at(0).at("name").text, "\\DEVICE\\X");
    EXPECT_EQ(RowsOf(interfaces.at(0).at("rows")), (Rows{{"admin status", "1"}}));
    EXPECT_EQ(interfaces.at(1).at("rows").kind, json::Value::Kind::Array);
    EXPECT_TRUE(interfaces.at(1).at("rows").items.empty());

    EXPECT_EQ(RowsOf(document.at("tcp")), (Rows{{"minimum time-out", "0"}, {"maximum connections", "4294967295"}}));
    EXPECT_EQ(RowsOf(document.at("icmp-out")), (Rows{{"number of messages", "12"}}));

    const json::Value& error = document.at("errors").at(0);
    EXPECT_EQ(error.Keys(), (std::vector<std::string>{"page", "message", "code"}));
    EXPECT_EQ(error.at("code").AsUint32(), 0x80004005u);
}

TEST(JsonWriter, EmptyPagesAreEmptyArraysAndNoPageIsAnEmptyObject)
{
    Report report;
    report.adapters = std::vector<AdapterEntry>{};
    report.interfaces = std::vector<InterfacePage>{};
    report.protocols.push_back({"udp", L"UDP", {}});
    EXPECT_EQ(WriteJson(report), "{\n  \"adapters\": [],\n  \"interfaces\": [],\n  \"udp\": []\n}\n");
    EXPECT_EQ(WriteJson(Report{}), "{}\n");
}

TEST(TextWriter, HeadingsIndentedLinesAndAlignedValues)
{
    EXPECT_EQ(WriteText(FullReport()), "Summary\n"
                                       "  Host: h\xC3\xB6st\n"
                                       "  Domain: d\"n\n"
                                       "  DNS servers: 10.0.0.1, 10.0.0.2, \n"
                                       "\n"
                                       "Adapters\n"
                                       "  0: {A}\n"
                                       "  4294967295: {B}\n"
                                       "\n"
                                       "Interface 4294967295: \\DEVICE\\X\n"
                                       "  admin status:          1\n"
                                       "\n"
                                       "Interface 3: empty\n"
                                       "  (none)\n"
                                       "\n"
                                       "TCP\n"
                                       "  minimum time-out:             0\n"
                                       "  maximum connections: 4294967295\n"
                                       "\n"
                                       "ICMP out\n"
                                       "  number of messages:         12\n");
    EXPECT_EQ(WriteFailures(FullReport()), "Failed to retrieve statistics (UDP)\n");
    EXPECT_EQ(WriteText(Report{}), "");
}

} // namespace
