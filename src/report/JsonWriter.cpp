#include "report/JsonWriter.h"

#include "text/Encoding.h"

#include <nlohmann/json.hpp>

namespace report {
namespace {

using Json = nlohmann::ordered_json;

Json Utf8(std::wstring_view wide)
{
    return text::ToUtf8(wide);
}

Json Rows(const CounterRows& rows)
{
    Json array = Json::array();
    for (const CounterRow& row : rows)
        array.push_back({{"name", Utf8(row.name)}, {"value", row.value}});
    return array;
}

Json Summary(const SummaryPage& page)
{
    Json servers = Json::array();
    for (const std::wstring& server : page.dnsServers)
        servers.push_back(Utf8(server));
    return {{"hostName", Utf8(page.hostName)},
            {"domainName", Utf8(page.domainName)},
            {"dnsServers", servers},
            {"text", Utf8(page.text)}};
}

Json Adapters(const std::vector<AdapterEntry>& adapters)
{
    Json array = Json::array();
    for (const AdapterEntry& adapter : adapters)
        array.push_back({{"index", adapter.index}, {"name", Utf8(adapter.name)}});
    return array;
}

Json Interfaces(const std::vector<InterfacePage>& pages)
{
    Json array = Json::array();
    for (const InterfacePage& page : pages)
        array.push_back({{"index", page.index}, {"name", Utf8(page.name)}, {"rows", Rows(page.rows)}});
    return array;
}

Json Errors(const std::vector<ReadFailure>& failures)
{
    Json array = Json::array();
    for (const ReadFailure& failure : failures)
        array.push_back({{"page", failure.page}, {"message", Utf8(failure.message)}, {"code", failure.code}});
    return array;
}

}  // namespace

std::string WriteJson(const Report& report)
{
    Json document = Json::object();
    if (report.summary)
        document["summary"] = Summary(*report.summary);
    if (report.adapters)
        document["adapters"] = Adapters(*report.adapters);
    if (report.interfaces)
        document["interfaces"] = Interfaces(*report.interfaces);
    for (const ProtocolPage& page : report.protocols)
        document[page.key] = Rows(page.rows);
    if (!report.failures.empty())
        document["errors"] = Errors(report.failures);
    // The texts are valid UTF-8 already; replacing keeps a faulty one from throwing.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace report
