#include "ViewSummary/SummaryText.h"

#include "win/AnsiText.h"

std::wstring ComposeSummaryText(const NetworkParams& params)
{
    std::wstring text = L"Host: " + AnsiToWide(params.hostName) + L"\r\n";
    text += L"Domain: " + AnsiToWide(params.domainName) + L"\r\n";
    if (params.dnsServers.empty())
        return text;
    text += L"DNS servers: ";
    for (const std::string& server : params.dnsServers) {
        // An unconfigured server comes as an empty entry: no text, no separator.
        if (!server.empty())
            text += AnsiToWide(server) + L", ";
    }
    text += L"\r\n";
    return text;
}
