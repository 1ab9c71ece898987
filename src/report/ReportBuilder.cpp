#include "report/ReportBuilder.h"

#include "netinfo/AdapterAddresses.h"
#include "netinfo/InterfaceStatus.h"
#include "netinfo/InterfaceTable.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/Sizing.h"
#include "netinfo/SummaryText.h"
#include "report/AddressText.h"
#include "report/ReadFailure.h"
#include "report/Watcher.h"
#include "text/Encoding.h"

#include <windows.h>

#include <algorithm>
#include <optional>

namespace report {
namespace {

using netinfo::InterfaceRecord;
using netinfo::NetworkInfo;

// A failed read adds its failure and leaves its page out.
bool Succeeded(Report& report, HRESULT hr, std::string_view page, const std::wstring& what)
{
    if (FAILED(hr))
        report.failures.push_back(MakeReadFailure(page, what, hr));
    return SUCCEEDED(hr);
}

// A NetworkInfo query with the platform's answer to a failure.
template <typename Query>
HRESULT Queried(Query query)
{
    DWORD answer = NO_ERROR;
    const HRESULT hr = query(NetworkInfo(&answer));  // before `answer` is read
    return netinfo::PlatformResult(hr, answer);
}

void ReadSummary(Report& report)
{
    netinfo::NetworkParams params;
    if (!Succeeded(report, Queried([&](const NetworkInfo& info) { return info.QueryNetworkParams(params); }),
                   "summary", L"the network parameters"))
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
    netinfo::AdapterList adapters;
    if (!Succeeded(report, Queried([&](const NetworkInfo& info) { return info.QueryAdapters(adapters); }),
                   "adapters", L"the adapters"))
        return;
    std::vector<AdapterEntry> entries;
    for (const netinfo::AdapterRecord& adapter : adapters)
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

void ReadAddresses(Report& report, const InterfaceFilter& filter)
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
        if (filter.Keeps({adapter.luid, adapter.ipv4Index, adapter.friendlyName, adapter.operStatus == IfOperStatusUp}))
            entries.push_back(ToAddressedAdapter(adapter));
    report.addresses = std::move(entries);
}

InterfacePage ToInterfacePage(const InterfaceRecord& record)
{
    InterfacePage page{record.index, record.name, {}};
    netinfo::AppendInterfaceStatusValues(record, page.rows);
    return page;
}

// The interfaces page: every interface of the adapters' list, as the views
// see it; the filters learn each one's alias and status from the table of
// every interface.
bool ReadEveryInterface(Report& report, const InterfaceFilter& filter, std::vector<InterfacePage>& pages)
{
    netinfo::InterfaceList interfaces;
    if (!Succeeded(report, Queried([&](const NetworkInfo& info) { return info.QueryInterfaces(interfaces); }),
                   "interfaces", L"the interfaces"))
        return false;
    netinfo::InterfaceCountersList table;
    if (filter.Filters() &&
        !Succeeded(report, netinfo::QueryInterfaceCounters(table), "interfaces", L"the interfaces"))
        return false;
    for (const InterfaceRecord& record : interfaces) {
        const auto same = [&](const netinfo::InterfaceCounters& row) { return row.index == record.index; };
        const auto row = std::find_if(table.begin(), table.end(), same);
        const bool up = row != table.end() && row->operStatus == IfOperStatusUp;
        if (filter.Keeps({0, record.index, row != table.end() ? row->alias : L"", up}))
            pages.push_back(ToInterfacePage(record));
    }
    return true;
}

// Each interface a selector names, by the table of every interface (so
// loopback too), with the rows GetIfEntry gives for its index; those the
// interfaces page already shows once.
void ReadChosenInterfaces(Report& report, const PageSelection& pages, const InterfaceFilter& filter,
                          std::vector<InterfacePage>& shown)
{
    netinfo::InterfaceCountersList table;
    if (!Succeeded(report, netinfo::QueryInterfaceCounters(table), "interface", L"the interfaces"))
        return;
    PageSelection named = pages;
    named.chosen[PageIndex("interfaces")] = false;
    for (const netinfo::InterfaceCounters& chosen : ChooseInterfaces(table, named, filter, report.failures)) {
        const auto same = [&](const InterfacePage& page) { return page.index == chosen.index; };
        if (std::any_of(shown.begin(), shown.end(), same))
            continue;
        InterfaceRecord record{chosen.index, chosen.alias, {}};
        record.row.dwIndex = chosen.index;
        if (Succeeded(report, netinfo::QueryInterfaceEntry(record.row), "interface", L"interface " + chosen.alias))
            shown.push_back(ToInterfacePage(record));
    }
}

void ReadTable(Report& report, const Page& source)
{
    ProtocolPage page{std::string(source.key), source.title, {}};
    const HRESULT hr = source.readTable(page.rows);
    if (FAILED(hr)) {
        report.failures.push_back(TableReadFailure(source, hr));
        return;
    }
    report.protocols.push_back(std::move(page));
}

}  // namespace

Report BuildReport(const PageSelection& pages, const InterfaceFilter& filter)
{
    Report report;
    std::vector<InterfacePage> interfaces;
    bool everyInterfaceRead = false;
    for (std::size_t i = 0; i < kPageCount; ++i) {
        if (!pages.chosen[i])
            continue;
        switch (kPages[i].kind) {
        case PageKind::Summary:
            ReadSummary(report);
            break;
        case PageKind::Adapters:
            ReadAdapters(report);
            break;
        case PageKind::Addresses:
            ReadAddresses(report, filter);
            break;
        case PageKind::Interfaces:
            everyInterfaceRead = ReadEveryInterface(report, filter, interfaces);
            break;
        case PageKind::Interface:
            ReadChosenInterfaces(report, pages, filter, interfaces);
            break;
        case PageKind::Table:
            ReadTable(report, kPages[i]);
            break;
        }
    }
    // Like any other page whose read failed, none at all when every read of it failed.
    if (!interfaces.empty() || everyInterfaceRead)
        report.interfaces = std::move(interfaces);
    return report;
}

}  // namespace report
