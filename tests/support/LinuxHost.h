// What the tests that compare with the Linux kernel need from Wine's host.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace testing_support {

// Empty when Wine runs this program on Linux; otherwise why a comparison with
// the kernel cannot be made.
std::string WhyNotWineOnLinux();

// A file of the Linux root, e.g. L"/proc/net/snmp", through Wine's unix
// namespace or its Z: drive; /proc reports no size, so it is read to the end.
std::optional<std::string> ReadLinuxFile(const std::wstring& path);

// One protocol of /proc/net/snmp ("Tcp", "Ip", ...), which the kernel gives as
// a line of names and a line of values: each name with its value.
std::map<std::string, long long> SnmpGroup(const std::string& snmp, const std::string& group);

}  // namespace testing_support
