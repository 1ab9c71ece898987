// The Summary text as a function of the network parameters alone.
#include "netinfo/SummaryText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace netinfo;

namespace {

// What the ANSI code page in force makes of the bytes.
std::wstring FromCodePage(const std::string& bytes)
{
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), needed);
    return wide;
}

struct Case {
    const char* what;
    NetworkParams params;
    std::wstring expected;
};

TEST(SummaryText, ComposesHostDomainAndServers)
{
    const Case cases[] = {
        {"two servers, empty domain",
         {.hostName = "pda1", .domainName = "", .dnsServers = {"10.0.0.1", "10.0.0.2"}},
         L"Host: pda1\r\nDomain: \r\nDNS servers: 10.0.0.1, 10.0.0.2, \r\n"},
        {"nothing at all: no DNS line",
         {},
         L"Host: \r\nDomain: \r\n"},
        {"one empty entry: the label alone",
         {.hostName = "pda1", .domainName = "corp.example", .dnsServers = {""}},
         L"Host: pda1\r\nDomain: corp.example\r\nDNS servers: \r\n"},
        {"empty first entry: no separator before the address",
         {.hostName = "pda1", .dnsServers = {"", "10.0.0.2"}},
         L"Host: pda1\r\nDomain: \r\nDNS servers: 10.0.0.2, \r\n"},
        {"empty entry between two servers",
         {.hostName = "h", .domainName = "d", .dnsServers = {"10.0.0.1", "", "10.0.0.3"}},
         L"Host: h\r\nDomain: d\r\nDNS servers: 10.0.0.1, 10.0.0.3, \r\n"},
        {"duplicates are kept",
         {.hostName = "h", .dnsServers = {"10.0.0.1", "10.0.0.1"}},
         L"Host: h\r\nDomain: \r\nDNS servers: 10.0.0.1, 10.0.0.1, \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ComposeSummaryText(c.params), c.expected);
    }
}

TEST(SummaryText, ConvertsBytesAbove127ThroughTheAnsiCodePage)
{
    // 0x80 to 0x9F are where the usual ANSI code pages part from a plain
    // widening of bytes; the others are letters in most of them.
    const std::string host = "pda\x80\x93\xe9\xfc";
    const std::string domain = "\xc4\xd6\xdc.example";
    const std::string server = "dns\xa7";
    NetworkParams params;
    params.hostName = host;
    params.domainName = domain;
    params.dnsServers = {server};

    const std::wstring expected = L"Host: " + FromCodePage(host) + L"\r\nDomain: " + FromCodePage(domain) +
                                  L"\r\nDNS servers: " + FromCodePage(server) + L", \r\n";
    EXPECT_EQ(ComposeSummaryText(params), expected) << "code page " << GetACP();
}

TEST(SummaryText, KeepsEveryCharacterOfLongNames)
{
    // Longer than the platform's fields, with bytes that may take more than
    // one UTF-16 unit or fewer than one per byte, depending on the code page.
    std::string host;
    for (int i = 0; i < 300; ++i)
        host += static_cast<char>(i % 2 ? 'a' + i % 26 : 0x80 + i % 0x7F);
    NetworkParams params;
    params.hostName = host;
    EXPECT_EQ(ComposeSummaryText(params), L"Host: " + FromCodePage(host) + L"\r\nDomain: \r\n");
}

}  // namespace
