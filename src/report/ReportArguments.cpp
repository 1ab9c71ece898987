#include "report/ReportArguments.h"

#include "report/Decimal.h"

#include <algorithm>
#include <optional>

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

PageSelection Everything()
{
    PageSelection all;
    all.summary = all.adapters = all.allInterfaces = true;
    all.protocols.fill(true);
    return all;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments)
{
    if (std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& a) { return Is(a, "--help"); }))
        return HelpRequest{};

    ReportRequest request;
    bool anyPage = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (Is(argument, "--json")) {
            request.json = true;
            continue;
        }
        anyPage = true;
        if (Is(argument, "summary")) {
            request.pages.summary = true;
        } else if (Is(argument, "adapters")) {
            request.pages.adapters = true;
        } else if (Is(argument, "interfaces")) {
            request.pages.allInterfaces = true;
        } else if (Is(argument, "interface")) {
            if (i + 1 == arguments.size())
                return UsageError{L"interface needs an INDEX"};
            const std::optional<uint32_t> index = ParseUnsigned32(arguments[++i]);
            if (!index)
                return UsageError{L"interface INDEX must be an unsigned decimal number below 4294967296, not " +
                                  Quoted(arguments[i])};
            std::vector<uint32_t>& indexes = request.pages.interfaceIndexes;
            if (std::find(indexes.begin(), indexes.end(), *index) == indexes.end())
                indexes.push_back(*index);
        } else {
            const auto named = std::find_if(kProtocolNames.begin(), kProtocolNames.end(),
                                            [&](const ProtocolName& p) { return Is(argument, p.key); });
            if (named == kProtocolNames.end())
                return UsageError{L"unknown argument " + Quoted(argument)};
            request.pages.protocols[static_cast<std::size_t>(named->protocol)] = true;
        }
    }
    if (!anyPage)
        request.pages = Everything();
    return request;
}

std::wstring UsageText()
{
    return L"Usage: orvane-report [--json] [PAGE...]\n"
           L"       orvane-report --help\n"
           L"\n"
           L"Prints what Orvane shows, as UTF-8 text or, with --json, as one JSON document.\n"
           L"With no PAGE, prints every page. Pages:\n"
           L"  summary            host name, domain name and DNS servers\n"
           L"  adapters           index and name of each network adapter\n"
           L"  interfaces         status rows of every interface\n"
           L"  interface INDEX    status rows of the interface with that index\n"
           L"  tcp, ip, udp       protocol statistics\n"
           L"  icmp-in, icmp-out  ICMP statistics, incoming and outgoing\n"
           L"\n"
           L"Exit status: 0 when every page was read, 1 when a read failed (the other\n"
           L"pages are still printed), 2 for a usage error.\n";
}

}  // namespace report
