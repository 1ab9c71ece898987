// Against the platform's own IP helper service, no fake: under Wine on Linux
// what the queries give must be what the kernel reports in /proc.
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <sstream>

using namespace netinfo;

namespace {

// The words of each line of a Linux file, read through Wine's unix namespace
// to the end (/proc reports no size).
std::vector<std::vector<std::string>> LinuxFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string text;
    char chunk[4096];
    for (DWORD got = 0; file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0;)
        text.append(chunk, got);
    CloseHandle(file);
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
    // /proc/net/snmp: per group a line of names, then a line of values.
    std::map<std::string, long long> kernel;
    std::vector<std::string> names;
    for (const auto& line : LinuxFile(L"\\\\?\\unix\\proc\\net\\snmp")) {
        if (line.size() > 1 && std::isalpha(static_cast<unsigned char>(line[1][0])))
            names = line;
        for (std::size_t i = 1; line.size() > 1 && !std::isalpha(static_cast<unsigned char>(line[1][0])) && i < std::min(line.size(), names.size()); ++i)
            kernel[line[0] + names[i]] = std::stoll(line[i]);
    }
    NameValueList rows;
    ASSERT_EQ(ProtocolStatistics().ReadTcpStatistics(rows), S_OK);
    ASSERT_EQ(ProtocolStatistics().ReadIpStatistics(rows), S_OK);
    // Settings, not counters: Wine passes the kernel's figures through in
    // the platform's units (a dynamic MaxConn of -1 as 4294967295).
    const std::pair<std::size_t, const char*> settings[] = {{0, "TcpRtoAlgorithm"}, {1, "TcpRtoMin"}, {2, "TcpRtoMax"},
                                                            {3, "TcpMaxConn"},      {15, "IpForwarding"}, {16, "IpDefaultTTL"}};
    for (const auto& [row, name] : settings)
        EXPECT_EQ(rows.at(row).value, std::to_wstring(static_cast<uint32_t>(kernel.at(name)))) << name;

    // Every interface but loopback, named by Linux in the row's description.
    std::vector<std::string> kernelNames, wineNames;
    for (const auto& line : LinuxFile(L"\\\\?\\unix\\proc\\net\\dev"))
        if (line.size() > 10 && line[0] != "lo" && line[0] != "face")
            kernelNames.push_back(line[0]);
    InterfaceList interfaces;
    ASSERT_EQ(NetworkInfo().QueryInterfaces(interfaces), S_OK);
    for (const InterfaceRecord& record : interfaces) {
        EXPECT_EQ(record.row.dwIndex, record.index);
        const auto* text = reinterpret_cast<const char*>(record.row.bDescr);
        wineNames.emplace_back(text, strnlen(text, std::min<std::size_t>(record.row.dwDescrLen, sizeof record.row.bDescr)));
    }
    std::sort(kernelNames.begin(), kernelNames.end());
    std::sort(wineNames.begin(), wineNames.end());
    EXPECT_EQ(wineNames, kernelNames);
    AdapterList adapters;  // the adapter page finds each adapter's interface by the adapter's index
    NetworkInfo().QueryAdapters(adapters);
    for (const AdapterRecord& adapter : adapters) {
        InterfaceRecord found;
        EXPECT_EQ(NetworkInfo().FindInterface(adapter.index, found), S_OK) << adapter.name;
    }
}

}  // namespace
