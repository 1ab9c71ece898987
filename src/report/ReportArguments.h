#pragma once
// The command line of orvane-report: which pages to print and how. Pure: no
// platform call, so every answer to bad input can be tested alone.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace report {

// The five protocol tables, in the order they are printed: the order of the
// Statistics view's tabs.
enum class Protocol { Tcp, Ip, Udp, IcmpIn, IcmpOut };

struct ProtocolName {
    Protocol protocol;
    std::string_view key;  // argument and JSON member
};

inline constexpr std::array<ProtocolName, 5> kProtocolNames{{
    {Protocol::Tcp, "tcp"},
    {Protocol::Ip, "ip"},
    {Protocol::Udp, "udp"},
    {Protocol::IcmpIn, "icmp-in"},
    {Protocol::IcmpOut, "icmp-out"},
}};

struct PageSelection {
    bool summary = false;
    bool adapters = false;
    bool allInterfaces = false;
    std::vector<uint32_t> interfaceIndexes; // distinct, in the order given
    std::array<bool, kProtocolNames.size()> protocols{}; // indexed by Protocol

    bool Wants(Protocol protocol) const { return protocols[static_cast<std::size_t>(protocol)]; }
    bool operator==(const PageSelection&) const = default;
};

struct ReportRequest {
    PageSelection pages;
    bool json = false;
};

struct HelpRequest {};

struct UsageError {
    std::wstring message; // one line, without the usage text
};

using ParsedArguments = std::variant<ReportRequest, HelpRequest, UsageError>;

// The arguments after the program name. No page argument selects every page,
// every interface included; a page named twice is printed once. --help
// anywhere wins over everything else.
ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments);

// The whole usage text, lines ending in "\n".
std::wstring UsageText();

}  // namespace report
