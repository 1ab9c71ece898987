// Against the real IP helper service under Wine on Linux: what the queries
// return must be what the kernel itself reports in /proc.
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"
#include "support/LinuxHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace netinfo;

using namespace testing_support;

namespace {

std::map<std::wstring, std::wstring> RowsByName(const NameValueList& rows)
{
    std::map<std::wstring, std::wstring> byName;
    for (const NameValueRow& row : rows)
        byName[row.name] = row.value;
    return byName;
}

// What the kernel's figure shows as: the same number, as the 32-bit unsigned
// value the platform structures carry.
std::wstring AsShown(long long kernelValue)
{
    return std::to_wstring(static_cast<uint32_t>(kernelValue));
}

class RealPlatform : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string why = WhyNotWineOnLinux();
        if (!why.empty())
            GTEST_SKIP() << why;
    }
};

TEST_F(RealPlatform, StaticTcpAndIpSettingsAreTheKernels)
{
    const std::optional<std::string> snmp = ReadLinuxFile(L"/proc/net/snmp");
    ASSERT_TRUE(snmp) << "cannot read /proc/net/snmp through Wine";
    const std::map<std::string, long long> tcp = SnmpGroup(*snmp, "Tcp");
    const std::map<std::string, long long> ip = SnmpGroup(*snmp, "Ip");
    ASSERT_FALSE(tcp.empty());
    ASSERT_FALSE(ip.empty());

    NameValueList rows;
    ASSERT_EQ(S_OK, ProtocolStatistics().ReadTcpStatistics(rows));
    ASSERT_EQ(S_OK, ProtocolStatistics().ReadIpStatistics(rows));
    std::map<std::wstring, std::wstring> shown = RowsByName(rows);

    // Wine copies the kernel's Tcp line as it stands. The kernel already
    // speaks the platform's units: RtoAlgorithm is the MIB code (1, "other"),
    // RtoMin and RtoMax are milliseconds (200 and 120000 by default), and a
    // MaxConn of -1 means a dynamic limit, which the platform writes as
    // 4294967295 (MIB_TCP_MAXCONN_DYNAMIC).
    EXPECT_EQ(AsShown(tcp.at("RtoAlgorithm")), shown[L"Timeout algorithm"]);
    EXPECT_EQ(AsShown(tcp.at("RtoMin")), shown[L"minimum time-out"]);
    EXPECT_EQ(AsShown(tcp.at("RtoMax")), shown[L"maximum time-out"]);
    EXPECT_EQ(AsShown(tcp.at("MaxConn")), shown[L"maximum connections"]);

    // Both sides code forwarding as 1 (forwarding) or 2 (not). Wine takes it
    // from net.ipv4.conf.default.forwarding and the kernel's line from
    // net.ipv4.conf.all.forwarding, which agree unless set apart by hand.
    // The default time-to-live is net.ipv4.ip_default_ttl on both sides.
    EXPECT_EQ(AsShown(ip.at("Forwarding")), shown[L"IP forwarding enabled or disabled"]);
    EXPECT_EQ(AsShown(ip.at("DefaultTTL")), shown[L"default time-to-live"]);
}

// Text of a MIB_IFROW description, up to its NUL or its length.
std::string DescriptionOf(const MIB_IFROW& row)
{
    const std::size_t limit = std::min<std::size_t>(row.dwDescrLen, sizeof row.bDescr);
    const char* text = reinterpret_cast<const char*>(row.bDescr);
    return std::string(text, strnlen(text, limit));
}

TEST_F(RealPlatform, InterfacesAreTheKernelsOtherThanLoopback)
{
    const std::optional<std::string> dev = ReadLinuxFile(L"/proc/net/dev");
    ASSERT_TRUE(dev) << "cannot read /proc/net/dev through Wine";
    std::vector<std::string> kernelNames;
    std::istringstream in(*dev);
    for (std::string line; std::getline(in, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue; // the two heading lines
        std::istringstream words(line.substr(0, colon));
        std::string name, extra;
        if (words >> name && !(words >> extra) && name != "lo")
            kernelNames.push_back(name);
    }

    InterfaceList interfaces;
    ASSERT_EQ(S_OK, NetworkInfo().QueryInterfaces(interfaces));
    ASSERT_EQ(kernelNames.size(), interfaces.size());

    // Wine names an interface "\DEVICE\TCPIP_{GUID}" and puts the Linux name
    // in the row's description.
    std::vector<std::string> wineNames;
    for (const InterfaceRecord& record : interfaces) {
        EXPECT_EQ(record.index, record.row.dwIndex);
        if (!DescriptionOf(record.row).empty())
            wineNames.push_back(DescriptionOf(record.row));
    }
    if (wineNames.size() == kernelNames.size()) {
        std::sort(wineNames.begin(), wineNames.end());
        std::sort(kernelNames.begin(), kernelNames.end());
        EXPECT_EQ(kernelNames, wineNames);
    }
}

// The adapter page finds an adapter's interface by the adapter's index.
TEST_F(RealPlatform, EveryAdapterHasTheInterfaceOfItsIndex)
{
    AdapterList adapters;
    const HRESULT hr = NetworkInfo().QueryAdapters(adapters);
    if (hr == E_UNEXPECTED)
        GTEST_SKIP() << "no adapter but loopback";
    ASSERT_EQ(S_OK, hr);
    for (const AdapterRecord& adapter : adapters) {
        InterfaceRecord found;
        EXPECT_EQ(S_OK, NetworkInfo().FindInterface(adapter.index, found)) << adapter.name;
        EXPECT_EQ(adapter.index, found.index);
    }
}

} // namespace
