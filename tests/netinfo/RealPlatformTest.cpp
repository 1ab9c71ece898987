// Against the real IP helper service under Wine on Linux: what the queries
// return must be what the kernel itself reports in /proc.
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"

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

namespace {

// Empty when the test may run; otherwise why not.
std::string WhyNotWineOnLinux()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return "not running under Wine";
    using HostVersion = void(CDECL*)(const char** sysname, const char** release);
    const auto hostVersion = reinterpret_cast<HostVersion>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_host_version")));
    const char* sysname = nullptr;
    const char* release = nullptr;
    if (hostVersion)
        hostVersion(&sysname, &release);
    if (!sysname || std::strcmp(sysname, "Linux") != 0)
        return "Wine is not running on Linux";
    return {};
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// A file of the Linux root, through Wine's unix namespace or its Z: drive.
// /proc files report no size, so read until the end.
std::optional<std::string> ReadLinuxFile(const std::wstring& path)
{
    std::wstring windowsPath = path;
    std::replace(windowsPath.begin(), windowsPath.end(), L'/', L'\\');
    for (const std::wstring& prefix : {std::wstring(L"\\\\?\\unix"), std::wstring(L"Z:")}) {
        const Handle file(CreateFileW((prefix + windowsPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            continue;
        std::string text;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
            text.append(chunk, got);
        return text;
    }
    return std::nullopt;
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// /proc/net/snmp gives each protocol as two lines, "Tcp: names" then
// "Tcp: values"; the result maps each name to its value.
std::map<std::string, long long> SnmpGroup(const std::string& snmp, const std::string& group)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(snmp);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> words = Words(line);
        if (!words.empty() && words[0] == group + ":")
            lines.push_back(std::move(words));
    }
    std::map<std::string, long long> values;
    if (lines.size() == 2 && lines[0].size() == lines[1].size())
        for (std::size_t i = 1; i < lines[0].size(); ++i)
            values[lines[0][i]] = std::stoll(lines[1][i]);
    return values;
}

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
        const std::vector<std::string> name = Words(line.substr(0, colon));
        if (name.size() == 1 && name[0] != "lo")
            kernelNames.push_back(name[0]);
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
