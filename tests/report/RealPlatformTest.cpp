// One run against the platform's own IP helper service, no fake installed:
// under Wine on Linux the TCP settings the report prints must be the
// kernel's, as /proc/net/snmp gives them.
#include "ReportTestSupport.h"
#include "support/LinuxHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

using namespace netinfo;
using namespace report;

using namespace report_test;
using namespace testing_support;

namespace {

TEST(RealPlatform, TcpSettingsAreTheKernels)
{
    const std::string why = WhyNotWineOnLinux();
    if (!why.empty())
        GTEST_SKIP() << why;
    const std::optional<std::string> snmp = ReadLinuxFile(L"/proc/net/snmp");
    ASSERT_TRUE(snmp) << "cannot read /proc/net/snmp through Wine";
    const std::map<std::string, long long> kernel = SnmpGroup(*snmp, "Tcp");
    ASSERT_EQ(kernel.count("RtoAlgorithm") + kernel.count("RtoMin") + kernel.count("RtoMax") + kernel.count("MaxConn"),
              4u);

    const ReportOutcome outcome = Invoke({L"--json", L"tcp"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    std::map<std::string, uint32_t> shown;
    const json::Value document = Document(outcome.out);
    for (const json::Value& row : document.at("tcp").items)
        shown[row.at("name").text] = *row.at("value").AsUint32();
    ASSERT_EQ(shown.size(), 15u);

    // Wine passes the kernel's figures through in the platform's own units:
    // the MIB algorithm code, time-outs in milliseconds, and a dynamic
    // connection limit, -1 in the kernel, as 4294967295.
    EXPECT_EQ(shown["Timeout algorithm"], static_cast<uint32_t>(kernel.at("RtoAlgorithm")));
    EXPECT_EQ(shown["minimum time-out"], static_cast<uint32_t>(kernel.at("RtoMin")));
    EXPECT_EQ(shown["maximum time-out"], static_cast<uint32_t>(kernel.at("RtoMax")));
    EXPECT_EQ(shown["maximum connections"], static_cast<uint32_t>(kernel.at("MaxConn")));
}

} // namespace
