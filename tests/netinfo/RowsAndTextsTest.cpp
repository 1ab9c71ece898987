// What the rows and texts of the views make of the platform's answers where
// the report's expected outputs cannot show it: a failed read, the Summary
// text without any server, the error check's source names.
#include "netinfo/ErrorCheck.h"
#include "netinfo/ProtocolStatistics.h"
#include "netinfo/SummaryText.h"
#include "support/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <climits>

using namespace netinfo;

namespace {

TEST(ProtocolStatistics, OneCallPerReadAndNothingAppendedWhenItFails)
{
    FakeIpHelper fake;
    const NameValueList earlier = {{L"earlier", L"1"}};
    for (const DWORD answer : {DWORD{NO_ERROR}, DWORD{ERROR_NOT_SUPPORTED}}) {
        fake.tcpAnswer = fake.ipAnswer = fake.udpAnswer = fake.icmpAnswer = answer;
        for (const ProtocolTable& table : kProtocolTables) {
            const int calls = fake.calls.Total();
            NameValueList list = earlier;
            EXPECT_EQ((ProtocolStatistics().*table.read)(list), answer ? E_FAIL : S_OK) << "the platform's own code is not passed on";
            EXPECT_EQ(fake.calls.Total(), calls + 1);
            EXPECT_EQ(list.front(), earlier.front()) << "appended after what the list held";
            EXPECT_EQ(list.size() == 1, answer != NO_ERROR) << table.name;
        }
    }
}

TEST(SummaryText, EveryConfiguredServerFollowedByItsSeparator)
{
    const struct {
        NetworkParams params;
        std::wstring expected;
    } cases[] = {
        {{}, L"Host: \r\nDomain: \r\n"},
        {{"h", "d", 0, {"", "10.0.0.2", "", "10.0.0.2"}}, L"Host: h\r\nDomain: d\r\nDNS servers: 10.0.0.2, 10.0.0.2, \r\n"},
        {{std::string(300, 'h'), "", 0, {""}}, L"Host: " + std::wstring(300, L'h') + L"\r\nDomain: \r\nDNS servers: \r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeSummaryText(c.params), c.expected);
}

TEST(ErrorCheck, PassesSuccessAndRaisesFailureWithTheLastComponentOfItsSource)
{
    const std::string longSource = "C:\\dir\\" + std::string(100, 'n');
    const std::tuple<HRESULT, const char*, std::string> cases[] = {
        {S_FALSE, "", ""}, {HRESULT(INT_MAX), "", ""}, {E_FAIL, "ViewSummary/ViewSummary", "ViewSummary/ViewSummary"},  // only backslashes separate
        {E_UNEXPECTED, "C:\\src\\Page1.cpp", "Page1.cpp"}, {E_OUTOFMEMORY, "dir\\", ""}, {E_INVALIDARG, nullptr, ""}, {HRESULT(-1), longSource.c_str(), std::string(63, 'n')},
    };
    for (const auto& [hr, source, expected] : cases) {
        try {
            EXPECT_EQ(std::pair(ErrorCheck(hr, source, -5), hr < 0), std::pair(hr, false));
        } catch (const ErrT& error) {
            EXPECT_EQ(std::tuple(error.code, error.line, std::string(error.source), hr < 0), std::tuple(hr, -5, expected, true));
        }
    }
}

}  // namespace
