#include "report/PrometheusWriter.h"

#include "text/Encoding.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace report {
namespace {

using netinfo::InterfaceCounter;

// The interface counters by family: one family per meaning, the kind of
// packet as a label.
struct InterfaceFamily {
    InterfaceCounter counter;
    const char* name;
    const char* help;
    const char* cast;  // the cast label's value, or null
};

constexpr InterfaceFamily kInterfaceFamilies[] = {
    {netinfo::kInOctets, "orvane_interface_receive_bytes_total", "Bytes received by the interface.", nullptr},
    {netinfo::kOutOctets, "orvane_interface_transmit_bytes_total", "Bytes sent by the interface.", nullptr},
    {netinfo::kInUcastPkts, "orvane_interface_receive_packets_total", "Packets received, by cast.", "unicast"},
    {netinfo::kInNUcastPkts, "orvane_interface_receive_packets_total", "Packets received, by cast.", "non_unicast"},
    {netinfo::kOutUcastPkts, "orvane_interface_transmit_packets_total", "Packets sent, by cast.", "unicast"},
    {netinfo::kOutNUcastPkts, "orvane_interface_transmit_packets_total", "Packets sent, by cast.", "non_unicast"},
    {netinfo::kInDiscards, "orvane_interface_receive_discards_total", "Received packets discarded.", nullptr},
    {netinfo::kOutDiscards, "orvane_interface_transmit_discards_total", "Outgoing packets discarded.", nullptr},
    {netinfo::kInErrors, "orvane_interface_receive_errors_total", "Received packets with errors.", nullptr},
    {netinfo::kOutErrors, "orvane_interface_transmit_errors_total", "Outgoing packets with errors.", nullptr},
    {netinfo::kInUnknownProtos, "orvane_interface_receive_unknown_protocol_packets_total",
     "Received packets of an unknown protocol.", nullptr},
};

// Families in the order they first appear, each with its samples, so that
// samples of one family stay together whatever page they come from.
class Exposition {
public:
    void Add(const std::string& name, const char* type, const std::string& help, const std::string& labels,
             const std::string& value)
    {
        auto found = std::find_if(families_.begin(), families_.end(), [&](const Family& f) { return f.name == name; });
        if (found == families_.end())
            found = families_.insert(families_.end(), Family{name, type, help, {}});
        // A name and label set appears once.
        if (seen_.insert(name + labels).second)
            found->samples += name + (labels.empty() ? "" : "{" + labels + "}") + ' ' + value + '\n';
    }

    std::string Text() const
    {
        std::string out;
        for (const Family& f : families_)
            out += "# HELP " + f.name + ' ' + f.help + "\n# TYPE " + f.name + ' ' + f.type + '\n' + f.samples;
        return out;
    }

private:
    struct Family {
        std::string name;
        const char* type;
        std::string help;
        std::string samples;
    };
    std::vector<Family> families_;
    std::set<std::string> seen_;
};

std::string Label(const char* name, std::string_view value)
{
    return std::string(name) + "=\"" + EscapeLabel(value) + '"';
}

void AddInterfaces(Exposition& out, const std::vector<WatchedInterface>& interfaces)
{
    std::set<std::wstring> aliases;
    for (const WatchedInterface& w : interfaces) {
        const netinfo::InterfaceCounters& read = w.read;
        // The alias is the label: a second interface of the same alias would be the first one's samples again.
        if (!aliases.insert(read.alias).second)
            continue;
        const std::string who = Label("interface", text::ToUtf8(read.alias));
        char luid[24];
        std::snprintf(luid, sizeof luid, "0x%016llX", static_cast<unsigned long long>(read.luid));
        out.Add("orvane_interface_info", "gauge", "The interface's LUID, index, description and IANA type.",
                who + ',' + Label("luid", luid) + ',' + Label("index", std::to_string(read.index)) + ',' +
                    Label("description", text::ToUtf8(read.description)) + ',' +
                    Label("type", std::to_string(read.type)),
                "1");
        out.Add("orvane_interface_up", "gauge", "1 when the interface's operational status is up, else 0.",
                who, read.operStatus == IfOperStatusUp ? "1" : "0");
        out.Add("orvane_interface_mtu_bytes", "gauge", "The interface's MTU.", who, std::to_string(read.mtu));
        for (const auto& [direction, speed] : {std::pair{"receive", read.receiveLinkSpeed},
                                               std::pair{"transmit", read.transmitLinkSpeed}})
            if (speed != 0 && speed != UINT64_MAX)
                out.Add("orvane_interface_link_speed_bytes", "gauge", "The link's speed in bytes per second.",
                        who + ',' + Label("direction", direction), std::to_string(speed / 8));
        for (const InterfaceFamily& family : kInterfaceFamilies)
            out.Add(family.name, "counter", family.help,
                    family.cast ? who + ',' + Label("cast", family.cast) : who,
                    std::to_string(w.counters[family.counter].total));
    }
}

// "segments retransmitted" as segments_retransmitted: lower-case letters,
// digits and single underscores.
std::string Snake(std::wstring_view label)
{
    std::string name;
    for (const wchar_t c : label) {
        const wchar_t lower = c >= L'A' && c <= L'Z' ? c | 0x20 : c;
        if ((lower >= L'a' && lower <= L'z') || (lower >= L'0' && lower <= L'9'))
            name += static_cast<char>(lower);
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name;
}

// A table's rows as families named after the protocol and the row, the
// address family and, for ICMP, the direction as labels.
void AddTable(Exposition& out, const WatchedTable& table)
{
    const std::string_view key = table.page->key;
    const std::string protocol(key.substr(0, key.find_first_of("6-")));
    std::string labels = Label("family", IsIpv6(*table.page) ? "ipv6" : "ipv4");
    if (key.ends_with("-in") || key.ends_with("-out"))
        labels += ',' + Label("direction", key.substr(key.find('-') + 1));
    for (const WatchedRow& row : table.rows) {
        const bool counter = row.kind == netinfo::CounterKind::Counter;
        const std::string name = "orvane_" + protocol + '_' + Snake(row.label) + (counter ? "_total" : "");
        std::string help;
        for (const char c : protocol)
            help += static_cast<char>(c & ~0x20);  // TCP, IP, UDP, ICMP
        help += ": " + text::ToUtf8(row.label);
        out.Add(name, counter ? "counter" : "gauge", help, labels, std::to_string(row.change.total));
    }
}

}  // namespace

std::string EscapeLabel(std::string_view utf8)
{
    std::string escaped;
    for (const char c : utf8) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return escaped;
}

std::string WritePrometheus(const Sample& sample)
{
    Exposition out;
    if (sample.interfaces)
        AddInterfaces(out, *sample.interfaces);
    for (const WatchedTable& table : sample.tables)
        AddTable(out, table);
    return out.Text();
}

}  // namespace report
