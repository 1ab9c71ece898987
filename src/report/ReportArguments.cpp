#include "report/ReportArguments.h"

#include "report/Decimal.h"

#include <algorithm>

namespace report {

namespace {

bool Is(std::wstring_view argument, std::string_view key)
{
    return std::equal(argument.begin(), argument.end(), key.begin(), key.end(),
                      [](wchar_t a, char k) { return a == static_cast<unsigned char>(k); });
}

// Quoted as given, with control characters shown as '?' so that the one line
// of the message stays one line.
std::wstring Quoted(std::wstring_view argument)
{
    std::wstring quoted = L"'";
    for (const wchar_t c : argument)
        quoted += (c < 0x20 || c == 0x7F) ? L'?' : c;
    return quoted + L"'";
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

std::optional<uint64_t> ParseLuid(std::wstring_view digits)
{
    if (digits.empty() || digits.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (const wchar_t c : digits) {
        const wchar_t lower = c | 0x20;
        const int digit = IsDigit(c) ? c - L'0' : lower >= L'a' && lower <= L'f' ? lower - L'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return value;
}

std::optional<InterfaceSelector> ParseSelector(const std::wstring& text)
{
    using Kind = InterfaceSelector::Kind;
    if (text.empty())
        return std::nullopt;
    if (std::all_of(text.begin(), text.end(), IsDigit)) {
        const std::optional<uint32_t> index = ParseUnsigned32(text);
        return index ? std::optional(InterfaceSelector{Kind::Index, *index, text}) : std::nullopt;
    }
    if (text.size() > 1 && text[0] == L'0' && (text[1] | 0x20) == L'x') {
        const std::optional<uint64_t> luid = ParseLuid(std::wstring_view(text).substr(2));
        return luid ? std::optional(InterfaceSelector{Kind::Luid, *luid, text}) : std::nullopt;
    }
    return InterfaceSelector{Kind::Alias, 0, text};
}

// What a pass over the arguments gathers before the mode decides its meaning.
struct Gathered {
    bool json = false;
    std::optional<uint64_t> intervalNs;
    std::optional<uint32_t> count;
    bool anyPage = false;
    bool summary = false, adapters = false, addresses = false, allInterfaces = false;
    std::vector<std::wstring> interfaces;  // operands of "interface", as given
    ProtocolChoice protocols{};
    const std::wstring* countless = nullptr;  // the first page a watch cannot take
};

std::optional<UsageError> Gather(const std::vector<std::wstring>& arguments, bool watch, Gathered& g)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool last = i + 1 == arguments.size();
        if (Is(argument, "--json")) {
            g.json = true;
        } else if (Is(argument, "--watch")) {
            if (last)
                return UsageError{L"--watch needs SECONDS"};
            if (g.intervalNs)
                return UsageError{L"--watch is given twice"};
            g.intervalNs = ParseInterval(arguments[++i]);
            if (!g.intervalNs)
                return UsageError{L"--watch SECONDS must be a decimal number from 0.1 to 86400, not " +
                                  Quoted(arguments[i])};
        } else if (Is(argument, "--count")) {
            if (last)
                return UsageError{L"--count needs N"};
            if (g.count)
                return UsageError{L"--count is given twice"};
            const std::optional<uint32_t> count = ParseUnsigned32(arguments[++i]);
            if (!count || *count == 0)
                return UsageError{L"--count N must be a whole number from 1 to 4294967295, not " +
                                  Quoted(arguments[i])};
            g.count = count;
        } else if (Is(argument, "interface")) {
            if (last)
                return UsageError{watch ? L"interface needs a SELECTOR" : L"interface needs an INDEX"};
            g.anyPage = true;
            g.interfaces.push_back(arguments[++i]);
        } else {
            const auto named = std::find_if(std::begin(kProtocolSources), std::end(kProtocolSources),
                                            [&](const ProtocolSource& p) { return Is(argument, p.key); });
            bool* flag = Is(argument, "summary")      ? &g.summary
                         : Is(argument, "adapters")   ? &g.adapters
                         : Is(argument, "addresses")  ? &g.addresses
                         : Is(argument, "interfaces") ? &g.allInterfaces
                         : named != std::end(kProtocolSources)
                             ? &g.protocols[static_cast<std::size_t>(named - std::begin(kProtocolSources))]
                             : nullptr;
            if (!flag)
                return UsageError{L"unknown argument " + Quoted(argument)};
            if (!g.countless && (flag == &g.summary || flag == &g.adapters || flag == &g.addresses))
                g.countless = &argument;
            g.anyPage = *flag = true;
        }
    }
    return std::nullopt;
}

ParsedArguments OneShot(Gathered& g)
{
    if (g.count)
        return UsageError{L"--count goes with --watch"};
    ReportRequest request;
    request.json = g.json;
    if (!g.anyPage) {
        request.pages.summary = request.pages.adapters = request.pages.addresses = true;
        request.pages.allInterfaces = true;
        request.pages.protocols.fill(true);
        return request;
    }
    for (const std::wstring& operand : g.interfaces) {
        const std::optional<uint32_t> index = ParseUnsigned32(operand);
        if (!index)
            return UsageError{L"interface INDEX must be an unsigned decimal number below 4294967296, not " +
                              Quoted(operand)};
        std::vector<uint32_t>& indexes = request.pages.interfaceIndexes;
        if (std::find(indexes.begin(), indexes.end(), *index) == indexes.end())
            indexes.push_back(*index);
    }
    request.pages.summary = g.summary;
    request.pages.adapters = g.adapters;
    request.pages.addresses = g.addresses;
    request.pages.allInterfaces = g.allInterfaces;
    request.pages.protocols = g.protocols;
    return request;
}

ParsedArguments Watch(Gathered& g)
{
    if (g.countless)
        return UsageError{Quoted(*g.countless) + L" holds no counters and cannot be watched"};
    WatchRequest request;
    request.intervalNs = *g.intervalNs;
    request.count = g.count;
    request.json = g.json;
    for (const std::wstring& operand : g.interfaces) {
        const std::optional<InterfaceSelector> selector = ParseSelector(operand);
        if (!selector)
            return UsageError{L"interface SELECTOR must be an index below 4294967296, a LUID as 0x and 1 to 16 "
                              L"hexadecimal digits, or an alias, not " + Quoted(operand)};
        // 7 and 007 name one interface: the first spelling stays.
        std::vector<InterfaceSelector>& chosen = request.pages.interfaces;
        const auto same = [&](const InterfaceSelector& s) {
            const bool alias = s.kind == InterfaceSelector::Kind::Alias;
            return s.kind == selector->kind && (alias ? s.text == selector->text : s.number == selector->number);
        };
        if (std::none_of(chosen.begin(), chosen.end(), same))
            chosen.push_back(*selector);
    }
    request.pages.allInterfaces = g.allInterfaces || !g.anyPage;
    request.pages.protocols = g.protocols;
    return request;
}

}  // namespace

std::optional<uint64_t> ParseInterval(std::wstring_view text)
{
    const std::size_t point = text.find(L'.');
    const std::wstring_view whole = text.substr(0, point);
    const std::wstring_view fraction = point == std::wstring_view::npos ? std::wstring_view() : text.substr(point + 1);
    const auto digits = [](std::wstring_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), IsDigit);
    };
    if (!digits(whole) || (point != std::wstring_view::npos && !digits(fraction)))
        return std::nullopt;
    const std::optional<uint32_t> seconds = ParseUnsigned32(whole);
    const bool fractionZero = std::all_of(fraction.begin(), fraction.end(), [](wchar_t c) { return c == L'0'; });
    // At least 0.1: a whole second, or a tenth; at most 86400 exactly.
    if (!seconds || *seconds > 86400 || (*seconds == 86400 && !fractionZero) ||
        (*seconds == 0 && (fraction.empty() || fraction[0] == L'0')))
        return std::nullopt;
    uint64_t nanoseconds = 0;
    for (std::size_t i = 0; i < 9; ++i)
        nanoseconds = nanoseconds * 10 + (i < fraction.size() ? static_cast<uint64_t>(fraction[i] - L'0') : 0);
    return *seconds * kNanosecondsPerSecond + nanoseconds;
}

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments)
{
    const auto given = [&](std::string_view option) {
        return std::any_of(arguments.begin(), arguments.end(), [&](const std::wstring& a) { return Is(a, option); });
    };
    if (given("--help"))
        return HelpRequest{};
    const bool watch = given("--watch");
    Gathered gathered;
    if (std::optional<UsageError> error = Gather(arguments, watch, gathered))
        return *error;
    return watch ? Watch(gathered) : OneShot(gathered);
}

std::wstring UsageText()
{
    return L"Usage: orvane-report [--json] [PAGE...]\n"
           L"       orvane-report --watch SECONDS [--count N] [--json] [WATCHED...]\n"
           L"       orvane-report --help\n"
           L"\n"
           L"Prints what Orvane shows, as UTF-8 text or, with --json, as one JSON document.\n"
           L"With no PAGE, prints every page. Pages:\n"
           L"  summary            host name, domain name and DNS servers\n"
           L"  adapters           index and name of each network adapter\n"
           L"  addresses          each adapter by its friendly name with its IPv4 and IPv6\n"
           L"                     addresses, gateways and DNS servers\n"
           L"  interfaces         status rows of every interface\n"
           L"  interface INDEX    status rows of the interface with that index\n"
           L"  tcp, ip, udp       protocol statistics\n"
           L"  icmp-in, icmp-out  ICMP statistics, incoming and outgoing\n"
           L"  tcp6, ip6, udp6, icmp6-in, icmp6-out\n"
           L"                     the same for IPv6\n"
           L"\n"
           L"--watch samples every SECONDS (0.1 to 86400) until stopped (Ctrl+C) or N\n"
           L"samples were taken, and shows each counter's total, its difference since the\n"
           L"sample before and that difference per second. With --json, one JSON object per\n"
           L"sample, one per line. What it watches (with none named, every interface):\n"
           L"  interfaces         every interface, with its 64-bit counters\n"
           L"  interface SELECTOR the interface with that index, LUID (0x...) or alias (eth0)\n"
           L"  tcp, ip, udp, icmp-in, icmp-out, tcp6, ip6, udp6, icmp6-in, icmp6-out\n"
           L"\n"
           L"Exit status: 0 when every page was read, 1 when a read failed (the other\n"
           L"pages are still printed; a watch: when every sample had a failed read),\n"
           L"2 for a usage error.\n";
}

}  // namespace report
