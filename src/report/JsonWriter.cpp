#include "report/JsonWriter.h"

#include "report/TextWriter.h"
#include "text/Encoding.h"

#include <nlohmann/json.hpp>

#include <cmath>

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
    for (const netinfo::CounterValue& row : rows)
        array.push_back({{"name", Utf8(row.label)}, {"value", row.value}});
    return array;
}

Json Strings(const std::vector<std::wstring>& texts)
{
    Json array = Json::array();
    for (const std::wstring& text : texts)
        array.push_back(Utf8(text));
    return array;
}

Json Summary(const SummaryPage& page)
{
    return {{"hostName", Utf8(page.hostName)},
            {"domainName", Utf8(page.domainName)},
            {"dnsServers", Strings(page.dnsServers)},
            {"text", Utf8(page.text)}};
}

Json Adapters(const std::vector<AdapterEntry>& adapters)
{
    Json array = Json::array();
    for (const AdapterEntry& adapter : adapters)
        array.push_back({{"index", adapter.index}, {"name", Utf8(adapter.name)}});
    return array;
}

Json Addresses(const std::vector<AddressedAdapter>& adapters)
{
    Json array = Json::array();
    for (const AddressedAdapter& adapter : adapters) {
        const netinfo::AdapterAddresses& record = adapter.record;
        Json unicast = Json::array();
        for (const auto& [address, prefixLength] : adapter.unicast)
            unicast.push_back({{"address", Utf8(address)}, {"prefixLength", prefixLength}});
        Json entry = {{"friendlyName", Utf8(record.friendlyName)}, {"description", Utf8(record.description)},
                      {"ipv4Index", record.ipv4Index},               {"ipv6Index", record.ipv6Index},
                      {"luid", record.luid},                         {"type", record.type},
                      {"operStatus", record.operStatus},             {"mtu", record.mtu}};
        if (adapter.physicalAddress)
            entry["physicalAddress"] = Utf8(*adapter.physicalAddress);
        entry["unicast"] = unicast;
        entry["gateways"] = Strings(adapter.gateways);
        entry["dnsServers"] = Strings(adapter.dnsServers);
        entry["dnsSuffix"] = Utf8(record.dnsSuffix);
        entry["dhcpv4Enabled"] = record.dhcpv4Enabled;
        array.push_back(std::move(entry));
    }
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

template <typename T>
Json OrNull(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

// A link speed the platform does not know comes as 0 or as all ones.
Json LinkSpeed(uint64_t bitsPerSecond)
{
    return bitsPerSecond == 0 || bitsPerSecond == UINT64_MAX ? Json(nullptr) : Json(bitsPerSecond);
}

// To the thousandth, as the schema gives rates and seconds.
Json Thousandths(const std::optional<double>& value)
{
    return value ? Json(std::round(*value * 1e3) / 1e3) : Json(nullptr);
}

Json Seconds(uint64_t ns)
{
    return Thousandths(static_cast<double>(ns) / 1e9);
}

Json Change(const CounterChange& change)
{
    return {{"total", change.total}, {"delta", OrNull(change.delta)}, {"rate", Thousandths(change.rate)}};
}

Json Summarised(const CounterSummary& summary)
{
    return {{"intervals", summary.intervals},       {"delta", summary.difference},
            {"minRate", Thousandths(summary.minRate)}, {"meanRate", Thousandths(summary.MeanRate())},
            {"maxRate", Thousandths(summary.maxRate)}, {"resets", summary.resets},
            {"unknown", summary.unknown}};
}

// What names an interface in every line of a watch.
Json Identity(const netinfo::InterfaceCounters& read)
{
    return {{"luid", read.luid}, {"index", read.index}, {"alias", Utf8(read.alias)}};
}

Json WatchedInterfaces(const std::vector<WatchedInterface>& interfaces)
{
    Json array = Json::array();
    for (const WatchedInterface& watched : interfaces) {
        const netinfo::InterfaceCounters& read = watched.read;
        Json counters = Json::object();
        for (const netinfo::InterfaceCounterField& field : netinfo::kInterfaceCounterFields)
            counters[field.key] = Change(watched.counters[field.position]);
        Json entry = Identity(read);
        entry.update({{"description", Utf8(read.description)}, {"type", read.type}, {"operStatus", read.operStatus},
                      {"transmitLinkSpeed", LinkSpeed(read.transmitLinkSpeed)},
                      {"receiveLinkSpeed", LinkSpeed(read.receiveLinkSpeed)}, {"mtu", read.mtu},
                      {"new", watched.fresh}, {"reset", watched.reset}, {"counters", counters},
                      {"receiveUse", Thousandths(LinkUse(watched, netinfo::kInOctets))},
                      {"transmitUse", Thousandths(LinkUse(watched, netinfo::kOutOctets))}});
        array.push_back(std::move(entry));
    }
    return array;
}

Json WatchedRows(const WatchedTable& table)
{
    Json array = Json::array();
    for (const WatchedRow& row : table.rows) {
        Json entry = {{"name", Utf8(row.label)}};
        if (row.kind == netinfo::CounterKind::Gauge) {
            entry["value"] = row.change.total;
        } else {
            entry.update(Change(row.change));
            entry["reset"] = row.change.reset;
        }
        array.push_back(std::move(entry));
    }
    return array;
}

// The texts are valid UTF-8 already; replacing keeps a faulty one from throwing.
std::string Dump(const Json& json, int indent)
{
    return json.dump(indent, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace

std::string WriteJson(const Report& report)
{
    Json document = Json::object();
    document["schemaVersion"] = kSchemaVersion;
    if (report.summary)
        document["summary"] = Summary(*report.summary);
    if (report.adapters)
        document["adapters"] = Adapters(*report.adapters);
    if (report.addresses)
        document["addresses"] = Addresses(*report.addresses);
    if (report.interfaces)
        document["interfaces"] = Interfaces(*report.interfaces);
    for (const ProtocolPage& page : report.protocols)
        document[page.key] = Rows(page.rows);
    if (!report.failures.empty())
        document["errors"] = Errors(report.failures);
    return Dump(document, 2);
}

std::string WriteSampleJson(const Sample& sample)
{
    Json line = {{"schemaVersion", kSchemaVersion}, {"type", "sample"}, {"sample", sample.number},
                 {"time", IsoUtc(sample.utcFileTime)}, {"sinceStart", Seconds(sample.sinceStartNs)},
                 {"elapsed", sample.elapsedNs ? Seconds(*sample.elapsedNs) : Json(nullptr)}};
    if (sample.interfaces)
        line["interfaces"] = WatchedInterfaces(*sample.interfaces);
    for (const WatchedTable& table : sample.tables)
        line[std::string(table.page->key)] = WatchedRows(table);
    if (!sample.failures.empty())
        line["errors"] = Errors(sample.failures);
    return Dump(line, -1);
}

std::string WriteSummaryJson(const WatchSummary& summary)
{
    Json line = {{"schemaVersion", kSchemaVersion}, {"type", "summary"}, {"samples", summary.samples},
                 {"sinceStart", Seconds(summary.sinceStartNs)}};
    if (!summary.interfaces.empty()) {
        Json interfaces = Json::array();
        for (const InterfaceSummary& s : summary.interfaces) {
            Json counters = Json::object();
            for (const netinfo::InterfaceCounterField& field : netinfo::kInterfaceCounterFields)
                counters[field.key] = Summarised(s.counters[field.position]);
            Json entry = Identity(s.read);
            entry["counters"] = std::move(counters);
            interfaces.push_back(std::move(entry));
        }
        line["interfaces"] = std::move(interfaces);
    }
    for (const TableSummary& table : summary.tables) {
        Json rows = Json::array();
        for (const RowSummary& row : table.rows) {
            Json entry = {{"name", Utf8(row.label)}};
            entry.update(Summarised(row.counter));
            rows.push_back(std::move(entry));
        }
        line[std::string(table.page->key)] = std::move(rows);
    }
    return Dump(line, -1);
}

}  // namespace report
