// Against the platform's own IP helper service, no fake: under Wine on Linux
// what the queries give must be what the kernel reports in /proc.
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

using namespace netinfo;

namespace {

// The lines of a Linux file as words, colons as spaces, through Wine's unix namespace.
std::vector<std::vector<std::string>> LinuxFile(const wchar_t* path)
{
    std::ifstream file(path);
    std::string text(std::istreambuf_iterator<char>(file), {});
    std::replace(text.begin(), text.end(), ':', ' ');
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        lines.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
    return lines;
}

TEST(RealPlatform, SettingsAndInterfacesAreTheKernels)
{
    std::map<std::string, long long> kernel;  // /proc/net/snmp: per group a line of names, then one of values
    const auto snmp = LinuxFile(L"\\\\?\\unix\\proc\\net\\snmp");
    for (std::size_t l = 1; l < snmp.size(); l += 2)
        for (std::size_t i = 1; i < snmp[l].size() && i < snmp[l - 1].size(); ++i)
            kernel[snmp[l][0] + snmp[l - 1][i]] = std::stoll(snmp[l][i]);
    NameValueList rows;
    ASSERT_EQ(ProtocolStatistics().ReadTcpStatistics(rows), S_OK);
    ASSERT_EQ(ProtocolStatistics().ReadIpStatistics(rows), S_OK);
    // Settings, not counters: Wine passes the kernel's figures through in the
    // platform's units (a dynamic MaxConn of -1 as 4294967295).
    for (const auto& [row, name] : {std::pair{0, "TcpRtoAlgorithm"}, {1, "TcpRtoMin"}, {2, "TcpRtoMax"}, {3, "TcpMaxConn"}, {15, "IpForwarding"}, {16, "IpDefaultTTL"}})
        EXPECT_EQ(rows.at(row).value, std::to_wstring(static_cast<uint32_t>(kernel.at(name)))) << name;

    // Every interface but loopback, named by Linux in the row's description,
    // and found again by each adapter's index.
    std::vector<std::string> kernelNames, wineNames;
    for (const auto& line : LinuxFile(L"\\\\?\\unix\\proc\\net\\dev"))
        if (line.size() > 10 && line[0] != "lo" && line[0] != "face")
            kernelNames.push_back(line[0]);
    InterfaceList interfaces;
    AdapterList adapters;
    ASSERT_EQ(NetworkInfo().QueryInterfaces(interfaces), S_OK);
    for (const InterfaceRecord& record : interfaces)
        wineNames.emplace_back(reinterpret_cast<const char*>(record.row.bDescr),
                               strnlen(reinterpret_cast<const char*>(record.row.bDescr), std::min<std::size_t>(record.row.dwDescrLen, sizeof record.row.bDescr)));
    std::sort(kernelNames.begin(), kernelNames.end());
    std::sort(wineNames.begin(), wineNames.end());
    EXPECT_EQ(wineNames, kernelNames);
    NetworkInfo().QueryAdapters(adapters);
    for (InterfaceRecord found; const AdapterRecord& adapter : adapters)
        EXPECT_EQ(NetworkInfo().FindInterface(adapter.index, found), S_OK) << adapter.name;
}

}  // namespace
