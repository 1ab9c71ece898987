#include "netinfo/SummaryText.h"

#include "text/Encoding.h"

namespace netinfo {

std::wstring ComposeSummaryText(const NetworkParams& params)
{
    std::wstring summary = L"Host: " + text::AnsiToWide(params.hostName) + L"\r\n";
    summary += L"Domain: " + text::AnsiToWide(params.domainName) + L"\r\n";
    if (params.dnsServers.empty())
        return summary;
    summary += L"DNS servers: ";
    for (const std::string& server : params.dnsServers) {
        // An unconfigured server comes as an empty entry: no text, no separator.
        if (!server.empty())
            summary += text::AnsiToWide(server) + L", ";
    }
    summary += L"\r\n";
    return summary;
}

}  // namespace netinfo
