#include "report/ReportBuilder.h"

#include "netinfo/InterfaceStatus.h"
#include "netinfo/NetworkInfo.h"
#include "netinfo/ProtocolStatistics.h"
#include "netinfo/SummaryText.h"
#include "report/Decimal.h"
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
using netinfo::NameValueList;
using netinfo::NameValueRow;
using netinfo::NetworkInfo;
using netinfo::NetworkParams;
using netinfo::ProtocolStatistics;

// Each protocol is printed under its name on the Statistics view's tab.
static_assert(std::size(netinfo::kProtocolTables) == kProtocolNames.size());

std::wstring Hex(HRESULT code)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"0x%08X", static_cast<unsigned>(code));
    return text;
}

ReadFailure Failure(std::string page, const std::wstring& what, HRESULT code)
{
    return {std::move(page), L"Failed to read " + what + L": " + Hex(code), static_cast<uint32_t>(code)};
}

// A failed read adds its failure and leaves its page out.
bool Succeeded(Report& report, HRESULT hr, const char* page, const std::wstring& what)
{
    if (FAILED(hr))
        report.failures.push_back(Failure(page, what, hr));
    return SUCCEEDED(hr);
}

// The rows carry their counters as "%u" text and the report wants the
// numbers back; any other text means the row tables changed under us.
HRESULT ToCounterRows(const NameValueList& list, CounterRows& rows)
{
    CounterRows converted;
    for (const NameValueRow& row : list) {
        const std::optional<uint32_t> value = ParseUnsigned32(row.value);
        if (!value)
            return E_UNEXPECTED;
        converted.push_back({row.name, *value});
    }
    rows = std::move(converted);
    return S_OK;
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

HRESULT ToInterfacePage(const InterfaceRecord& record, InterfacePage& page)
{
    NameValueList list;
    HRESULT hr = netinfo::AppendInterfaceStatusRows(record, list);
    if (SUCCEEDED(hr))
        hr = ToCounterRows(list, page.rows);
    page.index = record.index;
    page.name = record.name;
    return hr;
}

std::wstring InterfaceNamed(uint32_t index) { return L"interface " + std::to_wstring(index); }

// Every interface, then any asked-for index the list does not hold.
void ReadAllInterfaces(Report& report, const std::vector<uint32_t>& indexes)
{
    InterfaceList interfaces;
    if (!Succeeded(report, NetworkInfo().QueryInterfaces(interfaces), "interfaces", L"the interfaces"))
        return;
    std::vector<InterfacePage> pages;
    for (const InterfaceRecord& record : interfaces) {
        InterfacePage page;
        if (Succeeded(report, ToInterfacePage(record, page), "interface", InterfaceNamed(record.index)))
            pages.push_back(std::move(page));
    }
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
        InterfacePage page;
        HRESULT hr = NetworkInfo().FindInterface(index, record);
        if (SUCCEEDED(hr))
            hr = ToInterfacePage(record, page);
        if (Succeeded(report, hr, "interface", InterfaceNamed(index)))
            pages.push_back(std::move(page));
    }
    // Like any other page whose read failed, none at all when none was found.
    if (!pages.empty())
        report.interfaces = std::move(pages);
}

void ReadProtocol(Report& report, const ProtocolName& name, const netinfo::ProtocolTable& table)
{
    NameValueList list;
    ProtocolPage page{std::string(name.key), table.name, {}};
    HRESULT hr = (ProtocolStatistics().*table.read)(list);
    if (SUCCEEDED(hr))
        hr = ToCounterRows(list, page.rows);
    if (FAILED(hr)) {
        // The statistics view's own message; the JSON errors name the table.
        report.failures.push_back({page.key, L"Failed to retrieve statistics",
                                   static_cast<uint32_t>(hr)});
        return;
    }
    report.protocols.push_back(std::move(page));
}

}  // namespace

Report BuildReport(const PageSelection& pages)
{
    Report report;
    if (pages.summary)
        ReadSummary(report);
    if (pages.adapters)
        ReadAdapters(report);
    if (pages.allInterfaces)
        ReadAllInterfaces(report, pages.interfaceIndexes);
    else if (!pages.interfaceIndexes.empty())
        ReadChosenInterfaces(report, pages.interfaceIndexes);
    for (std::size_t i = 0; i < kProtocolNames.size(); ++i)
        if (pages.Wants(kProtocolNames[i].protocol))
            ReadProtocol(report, kProtocolNames[i], netinfo::kProtocolTables[i]);
    return report;
}

}  // namespace report
