#include "support/LinuxHost.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

namespace testing_support {
namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

}  // namespace

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

std::optional<std::string> ReadLinuxFile(const std::wstring& path)
{
    std::wstring windowsPath = path;
    std::replace(windowsPath.begin(), windowsPath.end(), L'/', L'\\');
    for (const std::wstring& prefix : {std::wstring(L"\\\\?\\unix"), std::wstring(L"Z:")}) {
        const FileHandle file{CreateFileW((prefix + windowsPath).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)};
        if (file.handle == INVALID_HANDLE_VALUE)
            continue;
        std::string text;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file.handle, chunk, sizeof chunk, &got, nullptr) && got > 0)
            text.append(chunk, got);
        return text;
    }
    return std::nullopt;
}

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

}  // namespace testing_support
