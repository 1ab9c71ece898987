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

// The five protocol tables, in the order they are printed.
enum class Protocol { Tcp, Ip, Udp, IcmpIn, IcmpOut };

struct ProtocolName {
    Protocol protocol;
    std::string_view key;    // argument and JSON member
    std::wstring_view title; // text heading, as the statistics view's tab
};

inline constexpr std::array<ProtocolName, 5> kProtocolNames{{
    {Protocol::Tcp, "tcp", L"TCP"},
    {Protocol::Ip, "ip", L"IP"},
    {Protocol::Udp, "udp", L"UDP"},
    {Protocol::IcmpIn, "icmp-in", L"ICMP in"},
    {Protocol::IcmpOut, "icmp-out", L"ICMP out"},
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
