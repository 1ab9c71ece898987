#pragma once
// The command line of orvane-report: which pages to print and how, once or
// as a watch. No platform call, so every answer to bad input can be tested
// alone.
#include "report/ProtocolPages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace report {

using ProtocolChoice = std::array<bool, kProtocolCount>; // indexed like kProtocolSources

struct PageSelection {
    bool summary = false;
    bool adapters = false;
    bool addresses = false;
    bool allInterfaces = false;
    std::vector<uint32_t> interfaceIndexes; // distinct, in the order given
    ProtocolChoice protocols{};

    bool operator==(const PageSelection&) const = default;
};

struct ReportRequest {
    PageSelection pages;
    bool json = false;
};

// How a watch names an interface: digits are an index, 0x and hexadecimal
// digits a LUID, anything else an alias.
struct InterfaceSelector {
    enum class Kind { Index, Luid, Alias };
    Kind kind = Kind::Alias;
    uint64_t number = 0;  // the index or the LUID
    std::wstring text;    // as given

    bool operator==(const InterfaceSelector&) const = default;
};

struct WatchSelection {
    bool allInterfaces = false;
    std::vector<InterfaceSelector> interfaces; // distinct, in the order given
    ProtocolChoice protocols{};

    bool operator==(const WatchSelection&) const = default;
};

inline constexpr uint64_t kNanosecondsPerSecond = 1'000'000'000;

struct WatchRequest {
    uint64_t intervalNs = 0;      // 0.1 s to 86400 s
    std::optional<uint32_t> count; // unset: until stopped
    bool json = false;
    WatchSelection pages;
};

struct HelpRequest {};

struct UsageError {
    std::wstring message; // one line, without the usage text
};

using ParsedArguments = std::variant<ReportRequest, WatchRequest, HelpRequest, UsageError>;

// The arguments after the program name. No page argument selects every page
// (a watch: every interface); a page named twice is printed once. --help
// anywhere wins over everything else.
ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments);

// A decimal number of seconds from 0.1 to 86400 ("1", "0.5", "2.25"), in
// nanoseconds; digits beyond the ninth after the point are dropped.
std::optional<uint64_t> ParseInterval(std::wstring_view text);

// The whole usage text, lines ending in "\n".
std::wstring UsageText();

}  // namespace report
