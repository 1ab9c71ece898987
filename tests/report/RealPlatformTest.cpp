// One run against the platform's own IP helper service, no fake installed:
// under Wine on Linux the TCP settings the report prints must be the
// kernel's, as /proc/net/snmp gives them.
#include "ReportTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

using namespace report_test;

namespace {

// Empty when Wine runs this program on Linux; otherwise why the test cannot
// compare with the kernel.
std::string WhyNotWineOnLinux()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
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
        return "Wine does not run on Linux here";
    return {};
}

struct FileHandle {
    HANDLE handle;
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

// Through Wine's Z: drive, which maps the Linux root. /proc reports no file
// size, so read to the end.
std::optional<std::string> ReadProcFile(const wchar_t* path)
{
    const FileHandle file{CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.handle, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

// "Tcp:" comes as a line of names and then a line of values.
std::map<std::string, long long> TcpLine(const std::string& snmp)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(snmp);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;)
            fields.push_back(word);
        if (!fields.empty() && fields[0] == "Tcp:")
            lines.push_back(fields);
    }
    std::map<std::string, long long> values;
    if (lines.size() == 2 && lines[0].size() == lines[1].size())
        for (std::size_t i = 1; i < lines[0].size(); ++i)
            values[lines[0][i]] = std::stoll(lines[1][i]);
    return values;
}

TEST(RealPlatform, TcpSettingsAreTheKernels)
{
    const std::string why = WhyNotWineOnLinux();
    if (!why.empty())
        GTEST_SKIP() << why;
    const std::optional<std::string> snmp = ReadProcFile(L"Z:\\proc\\net\\snmp");
    ASSERT_TRUE(snmp) << "cannot read Z:\\proc\\net\\snmp";
    const std::map<std::string, long long> kernel = TcpLine(*snmp);
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
