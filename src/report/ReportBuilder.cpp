#include "report/ReportBuilder.h"

#include "netinfo/AdapterAddresses.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"
#include "netinfo/SummaryText.h"
#include "report/AddressText.h"
#include "text/Encoding.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace report {
namespace {

using netinfo::AdapterList;
using netinfo::AdapterRecord;
using netinfo::InterfaceList;
using netinfo::InterfaceRecord;
using netinfo::NetworkInfo;
using netinfo::NetworkParams;

std::wstring Hex(HRESULT code)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"0x%08X", static_cast<unsigned>(code));
    return text;
}

// A failed read adds its failure and leaves its page out.
bool Succeeded(Report& report, HRESULT hr, const char* page, const std::wstring& what)
{
    if (FAILED(hr))
        report.failures.push_back(MakeReadFailure(page, what, hr));
    return SUCCEEDED(hr);
}

void ReadSummary(Report& report)
{
    NetworkParams params;
    if (!Succeeded(report, NetworkInfo().QueryNetworkParams(params), "summary", L"the network parameters"))
        return;
    SummaryPage page;
    page.hostName = text::AnsiToWide(params.hostName);
    page.domainName = text::AnsiToWide(params.domainName);
    // An empty entry stands for a server that is not configured.
    for (const std::string& server : params.dnsServers)
        if (!server.empty())
            page.dnsServers.push_back(text::AnsiToWide(server));
    page.text = netinfo::ComposeSummaryText(params);
    report.summary = std::move(page);
}

void ReadAdapters(Report& report)
{
    AdapterList adapters;
    if (!Succeeded(report, NetworkInfo().QueryAdapters(adapters), "adapters", L"the adapters"))
        return;
    std::vector<AdapterEntry> entries;
    for (const AdapterRecord& adapter : adapters)
        entries.push_back({adapter.index, text::AnsiToWide(adapter.name)});
    report.adapters = std::move(entries);
}

// The platform's addresses as it writes them; one it cannot write is left out.
std::vector<std::wstring> Texts(const std::vector<netinfo::SocketAddress>& addresses)
{
    std::vector<std::wstring> texts;
    for (const netinfo::SocketAddress& address : addresses)
        if (std::optional<std::wstring> text = AddressText(address))
            texts.push_back(std::move(*text));
    return texts;
}

AddressedAdapter ToAddressedAdapter(const netinfo::AdapterAddresses& adapter)
{
    AddressedAdapter entry{adapter, PhysicalAddressText(adapter.physicalAddress), {}, Texts(adapter.gateways),
                           Texts(adapter.dnsServers)};
    for (const netinfo::UnicastAddress& unicast : adapter.unicast)
        if (std::optional<std::wstring> text = AddressText(unicast.address))
            entry.unicast.emplace_back(std::move(*text), unicast.prefixLength);
    return entry;
}

void ReadAddresses(Report& report)
{
    const WinsockSession winsock;
    netinfo::AdapterAddressesList adapters;
    HRESULT hr = winsock.Status();
    if (SUCCEEDED(hr))
        hr = netinfo::QueryAdapterAddresses(adapters);
    if (!Succeeded(report, hr, "addresses", L"the addresses"))
        return;
    std::vector<AddressedAdapter> entries;
    for (const netinfo::AdapterAddresses& adapter : adapters)
        entries.push_back(ToAddressedAdapter(adapter));
    report.addresses = std::move(entries);
}

InterfacePage ToInterfacePage(const InterfaceRecord& record)
{
    InterfacePage page{record.index, record.name, {}};
    netinfo::AppendInterfaceStatusValues(record, page.rows);
    return page;
}

std::wstring InterfaceNamed(uint32_t index) { return L"interface " + std::to_wstring(index); }

// Every interface, then any asked-for index the list does not hold.
void ReadAllInterfaces(Report& report, const std::vector<uint32_t>& indexes)
{
    InterfaceList interfaces;
    if (!Succeeded(report, NetworkInfo().QueryInterfaces(interfaces), "interfaces", L"the interfaces"))
        return;
    std::vector<InterfacePage> pages;
    for (const InterfaceRecord& record : interfaces)
        pages.push_back(ToInterfacePage(record));
    for (const uint32_t index : indexes) {
        const bool listed = std::any_of(interfaces.begin(), interfaces.end(),
                                        [index](const InterfaceRecord& record) { return record.index == index; });
        Succeeded(report, listed ? S_OK : E_INVALIDARG, "interface", InterfaceNamed(index));
    }
    report.interfaces = std::move(pages);
}

void ReadChosenInterfaces(Report& report, const std::vector<uint32_t>& indexes)
{
    std::vector<InterfacePage> pages;
    for (const uint32_t index : indexes) {
        InterfaceRecord record;
        if (Succeeded(report, NetworkInfo().FindInterface(index, record), "interface", InterfaceNamed(index)))
            pages.push_back(ToInterfacePage(record));
    }
    // Like any other page whose read failed, none at all when none was found.
    if (!pages.empty())
        report.interfaces = std::move(pages);
}

void ReadProtocol(Report& report, const ProtocolSource& source)
{
    ProtocolPage page{std::string(source.key), source.title, {}};
    const HRESULT hr = source.read(page.rows);
    if (FAILED(hr)) {
        report.failures.push_back(ProtocolReadFailure(source, hr));
        return;
    }
    report.protocols.push_back(std::move(page));
}

}  // namespace

ReadFailure MakeReadFailure(std::string page, const std::wstring& what, HRESULT code)
{
    return {std::move(page), L"Failed to read " + what + L": " + Hex(code), static_cast<uint32_t>(code)};
}

ReadFailure ProtocolReadFailure(const ProtocolSource& source, HRESULT code)
{
    // The JSON errors name the table; the message is the one the view shows.
    return {std::string(source.key), netinfo::kStatisticsReadFailed, static_cast<uint32_t>(code)};
}

Report BuildReport(const PageSelection& pages)
{
    Report report;
    if (pages.summary)
        ReadSummary(report);
    if (pages.adapters)
        ReadAdapters(report);
    if (pages.addresses)
        ReadAddresses(report);
    if (pages.allInterfaces)
        ReadAllInterfaces(report, pages.interfaceIndexes);
    else if (!pages.interfaceIndexes.empty())
        ReadChosenInterfaces(report, pages.interfaceIndexes);
    for (std::size_t i = 0; i < kProtocolCount; ++i)
        if (pages.protocols[i])
            ReadProtocol(report, kProtocolSources[i]);
    return report;
}

}  // namespace report
