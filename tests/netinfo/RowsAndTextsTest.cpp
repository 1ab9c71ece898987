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
    for (HRESULT hr : {S_OK, S_FALSE, HRESULT(INT_MAX)})
        EXPECT_EQ(ErrorCheck(hr, "ViewSummary/ViewSummary", 76), hr);
    const std::string longSource = "C:\\dir\\" + std::string(100, 'n');
    const struct {
        HRESULT hr;
        const char* source;
        int line;
        std::string expected;
    } raised[] = {
        {E_FAIL, "ViewSummary/ViewSummary", 76, "ViewSummary/ViewSummary"},  // only backslashes separate
        {E_UNEXPECTED, "C:\\src\\Page1.cpp", 135, "Page1.cpp"},
        {HRESULT(INT_MIN), "\\name", -5, "name"},
        {E_OUTOFMEMORY, "dir\\", 1, ""},
        {E_INVALIDARG, nullptr, 1, ""},
        {HRESULT(-1), longSource.c_str(), 1, std::string(63, 'n')},
    };
    for (const auto& r : raised) {
        try {
            ErrorCheck(r.hr, r.source, r.line);
            ADD_FAILURE() << "no ErrT for " << r.hr;
        } catch (const ErrT& error) {
            EXPECT_EQ(std::tuple(error.code, error.line, std::string(error.source)), std::tuple(r.hr, r.line, r.expected));
        }
    }
}

}  // namespace
