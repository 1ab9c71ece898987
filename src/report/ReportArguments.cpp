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

std::wstring Wide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
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

// What a pass over the arguments gathers before the mode decides its meaning.
struct Gathered {
    bool json = false, prometheus = false;
    std::optional<std::wstring> textfile;
    std::optional<uint64_t> intervalNs;
    std::optional<uint32_t> count;
    PageSelection pages;
    bool anyPage = false;
    const std::wstring* countless = nullptr;  // the first page without counters
    InterfaceFilter filter;
};

// An option's value: the next argument, which must be there.
const std::wstring* Value(const std::vector<std::wstring>& arguments, std::size_t& i)
{
    return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
}

std::optional<UsageError> Gather(const std::vector<std::wstring>& arguments, Gathered& g)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (Is(argument, "--json")) {
            g.json = true;
        } else if (Is(argument, "--prometheus")) {
            g.prometheus = true;
        } else if (Is(argument, "--up")) {
            g.filter.upOnly = true;
        } else if (Is(argument, "--include") || Is(argument, "--exclude")) {
            const std::wstring* pattern = Value(arguments, i);
            if (!pattern || pattern->empty())
                return UsageError{argument + L" needs a PATTERN"};
            (Is(argument, "--include") ? g.filter.include : g.filter.exclude).push_back(*pattern);
        } else if (Is(argument, "--textfile")) {
            const std::wstring* path = Value(arguments, i);
            if (!path || path->empty())
                return UsageError{L"--textfile needs a PATH"};
            if (g.textfile)
                return UsageError{L"--textfile is given twice"};
            g.textfile = *path;
        } else if (Is(argument, "--watch")) {
            const std::wstring* seconds = Value(arguments, i);
            if (!seconds)
                return UsageError{L"--watch needs SECONDS"};
            if (g.intervalNs)
                return UsageError{L"--watch is given twice"};
            g.intervalNs = ParseInterval(*seconds);
            if (!g.intervalNs)
                return UsageError{L"--watch SECONDS must be a decimal number from 0.1 to 86400, not " +
                                  Quoted(*seconds)};
        } else if (Is(argument, "--count")) {
            const std::wstring* text = Value(arguments, i);
            if (!text)
                return UsageError{L"--count needs N"};
            if (g.count)
                return UsageError{L"--count is given twice"};
            const std::optional<uint32_t> count = ParseUnsigned32(*text);
            if (!count || *count == 0)
                return UsageError{L"--count N must be a whole number from 1 to 4294967295, not " + Quoted(*text)};
            g.count = count;
        } else {
            const std::size_t page = std::find_if(std::begin(kPages), std::end(kPages),
                                                  [&](const Page& p) { return Is(argument, p.key); }) -
                                     std::begin(kPages);
            if (page == kPageCount)
                return UsageError{L"unknown argument " + Quoted(argument)};
            if (kPages[page].operand) {
                const std::wstring* operand = Value(arguments, i);
                if (!operand)
                    return UsageError{argument + L" needs a " + kPages[page].operand};
                const std::optional<InterfaceSelector> selector = ParseSelector(*operand);
                if (!selector)
                    return UsageError{L"interface SELECTOR must be an index below 4294967296, a LUID as 0x and 1 to "
                                      L"16 hexadecimal digits, or an alias, not " + Quoted(*operand)};
                // 7 and 007 name one interface: the first spelling stays.
                std::vector<InterfaceSelector>& chosen = g.pages.interfaces;
                if (std::none_of(chosen.begin(), chosen.end(),
                                 [&](const InterfaceSelector& s) { return SameSelector(s, *selector); }))
                    chosen.push_back(*selector);
            }
            if (!g.countless && !kPages[page].counters)
                g.countless = &argument;
            g.anyPage = g.pages.chosen[page] = true;
        }
    }
    return std::nullopt;
}

// Every page, or every page with counters.
PageSelection Every(bool countersOnly)
{
    PageSelection pages;
    for (std::size_t i = 0; i < kPageCount; ++i)
        pages.chosen[i] = kPages[i].kind != PageKind::Interface && (kPages[i].counters || !countersOnly);
    return pages;
}

ParsedArguments Decide(Gathered& g)
{
    const bool exposition = g.prometheus || g.textfile;
    if (g.json && exposition)
        return UsageError{L"--json and the Prometheus text (--prometheus, --textfile) cannot go together"};
    if (g.count && !g.intervalNs)
        return UsageError{L"--count goes with --watch"};
    if (g.intervalNs && g.prometheus && !g.textfile)
        return UsageError{L"--watch with --prometheus needs --textfile"};
    if (g.countless && (g.intervalNs || exposition))
        return UsageError{Quoted(*g.countless) + (g.intervalNs ? L" holds no counters and cannot be watched"
                                                               : L" holds no counters and cannot be exposed")};
    ReportRequest request;
    request.format = exposition ? Format::Prometheus : g.json ? Format::Json : Format::Text;
    request.textfile = g.textfile;
    request.filter = g.filter;
    if (g.intervalNs)
        request.watch = WatchTiming{*g.intervalNs, g.count};
    if (g.anyPage)
        request.pages = g.pages;
    else if (exposition)
        request.pages = Every(true);
    else if (g.intervalNs)
        request.pages.chosen[PageIndex("interfaces")] = true;
    else
        request.pages = Every(false);
    return request;
}

// Words wrapped after `lead` at 79 columns, the lines after it indented.
std::wstring Wrapped(std::wstring lead, const std::vector<std::wstring>& words)
{
    std::wstring text, line = std::move(lead);
    for (const std::wstring& word : words) {
        if (line.size() + 1 + word.size() > 79)
            text += line + L"\n", line = L"   ";
        line += L" " + word;
    }
    return text + line + L"\n";
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
    if (std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& a) { return Is(a, "--help"); }))
        return HelpRequest{};
    Gathered gathered;
    if (std::optional<UsageError> error = Gather(arguments, gathered))
        return *error;
    return Decide(gathered);
}

std::wstring UsageText()
{
    std::wstring text = L"Usage: orvane-report [--json] [FILTER...] [PAGE...]\n"
                        L"       orvane-report --watch SECONDS [--count N] [--json] [FILTER...] [PAGE...]\n"
                        L"       orvane-report --prometheus [FILTER...] [PAGE...]\n"
                        L"       orvane-report --textfile PATH [--watch SECONDS [--count N]] [FILTER...] [PAGE...]\n"
                        L"       orvane-report --help\n"
                        L"\n"
                        L"Prints what Orvane shows, as UTF-8 text or, with --json, as one JSON document.\n"
                        L"With no PAGE, prints every page. Pages:\n";
    std::vector<std::wstring> counted;
    for (const Page& page : kPages) {
        std::wstring name = Wide(page.key) + (page.operand ? std::wstring(L" ") + page.operand : L"");
        text += L"  " + name + std::wstring(name.size() < 20 ? 20 - name.size() : 1, L' ') + page.help + L"\n";
        if (page.counters)
            counted.push_back(Wide(page.key) + L",");
    }
    counted.back().pop_back();
    return text +
           L"\n"
           L"--watch samples every SECONDS (0.1 to 86400) until stopped (Ctrl+C) or N\n"
           L"samples were taken, and shows each counter's total, its difference since the\n"
           L"sample before and that difference per second, then a summary of the watch.\n"
           L"With --json, one JSON object per line. With no PAGE it watches every interface.\n"
           L"\n"
           L"--prometheus prints the counters in the Prometheus text format 0.0.4, for a\n"
           L"textfile collector; --textfile PATH writes them to PATH instead, replaced whole,\n"
           L"at every sample of a watch. With no PAGE: every interface and every table.\n"
           L"\n" +
           Wrapped(L"A watch and the Prometheus text take the pages with counters:", counted) +
           L"\n"
           L"Filters of the interfaces (interfaces, interface, addresses, a watch, the text):\n"
           L"  --include PATTERN   only interfaces whose alias matches (* and ?, any case)\n"
           L"  --exclude PATTERN   none whose alias matches\n"
           L"  --up                only interfaces that are up\n"
           L"\n"
           L"Exit status: 0 when every page was read, 1 when a read failed (the other\n"
           L"pages are still printed; a watch: when every sample had a failed read) or the\n"
           L"text file could not be written, 2 for a usage error.\n";
}

}  // namespace report
