#pragma once
// The command line of orvane-report: which pages to print, how and where,
// once or as a watch. No platform call but for comparing aliases, so every
// answer to bad input can be tested alone.
#include "report/InterfaceChoice.h"
#include "report/Pages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace report {

struct PageSelection {
    std::array<bool, kPageCount> chosen{};      // by position in kPages; "interface" when a selector is given
    std::vector<InterfaceSelector> interfaces;  // distinct, in the order given

    bool Has(std::string_view key) const { return chosen[PageIndex(key)]; }
    bool operator==(const PageSelection&) const = default;
};

inline constexpr uint64_t kNanosecondsPerSecond = 1'000'000'000;

struct WatchTiming {
    uint64_t intervalNs = 0;       // 0.1 s to 86400 s
    std::optional<uint32_t> count; // unset: until stopped
};

enum class Format { Text, Json, Prometheus };

struct ReportRequest {
    PageSelection pages;
    InterfaceFilter filter;
    Format format = Format::Text;
    std::optional<std::wstring> textfile;  // the exposition goes to this file instead of standard output
    std::optional<WatchTiming> watch;
};

struct HelpRequest {};

struct UsageError {
    std::wstring message; // one line, without the usage text
};

using ParsedArguments = std::variant<ReportRequest, HelpRequest, UsageError>;

// The arguments after the program name. No page selects every page (a
// watch: every interface; the exposition: every page with counters); a page
// named twice is printed once. --help anywhere wins over everything else.
ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments);

// A decimal number of seconds from 0.1 to 86400 ("1", "0.5", "2.25"), in
// nanoseconds; digits beyond the ninth after the point are dropped.
std::optional<uint64_t> ParseInterval(std::wstring_view text);

// The whole usage text, lines ending in "\n", its pages from kPages.
std::wstring UsageText();

}  // namespace report
