#include "report/TextWriter.h"

#include "text/Encoding.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace report {
namespace {

constexpr char kIndent[] = "  ";
constexpr std::size_t kValueWidth = 10; // the digits of 4294967295

// A platform name on one line: a control character would break the layout.
std::string OneLine(std::wstring_view text)
{
    std::wstring line(text);
    std::replace_if(line.begin(), line.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; }, L'?');
    return text::ToUtf8(line);
}

void Heading(std::string& out, std::wstring_view title)
{
    if (!out.empty())
        out += '\n';
    out += OneLine(title) + '\n';
}

// Each line of a CR LF text as an indented line of its own.
void Lines(std::string& out, std::wstring_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        out += kIndent + text::ToUtf8(line) + '\n';
        start = end + 1;
    }
}

void Rows(std::string& out, const CounterRows& rows)
{
    if (rows.empty()) {
        out += std::string(kIndent) + "(none)\n";
        return;
    }
    // Labels are short ASCII literals, so characters are columns.
    std::size_t labelWidth = 0;
    for (const netinfo::CounterValue& row : rows)
        labelWidth = std::max(labelWidth, std::wstring_view(row.label).size());
    for (const netinfo::CounterValue& row : rows) {
        const std::wstring_view label = row.label;
        const std::string value = std::to_string(row.value);
        out += kIndent + text::ToUtf8(label) + ':';
        out.append(labelWidth - label.size() + 1 + kValueWidth - value.size(), ' ');
        out += value + '\n';
    }
}


// "label:" and its values, the first beside it and the others below it, or
// "(none)".
void Field(std::string& out, const char* label, const std::vector<std::string>& values)
{
    constexpr std::size_t kLabelWidth = 18;
    std::string lead = std::string(kIndent) + kIndent + label + ':';
    lead.resize(std::max(lead.size() + 1, 2 * sizeof kIndent - 2 + kLabelWidth), ' ');
    if (values.empty())
        out += lead + "(none)\n";
    for (const std::string& value : values) {
        out += lead + value + '\n';
        lead.assign(lead.size(), ' ');
    }
}

void Field(std::string& out, const char* label, const std::string& value)
{
    Field(out, label, std::vector<std::string>{value});
}

std::vector<std::string> Lines(const std::vector<std::wstring>& texts)
{
    std::vector<std::string> lines;
    for (const std::wstring& text : texts)
        lines.push_back(OneLine(text));
    return lines;
}

void AddressLines(std::string& out, const AddressedAdapter& adapter)
{
    const netinfo::AdapterAddresses& record = adapter.record;
    char luid[24];
    std::snprintf(luid, sizeof luid, "0x%016llX", static_cast<unsigned long long>(record.luid));
    out += kIndent + OneLine(record.friendlyName) + '\n';
    Field(out, "description", OneLine(record.description));
    Field(out, "indexes", std::to_string(record.ipv4Index) + " (IPv4), " + std::to_string(record.ipv6Index) +
                              " (IPv6)");
    Field(out, "LUID", luid);
    Field(out, "type", std::to_string(record.type));
    Field(out, "status", std::to_string(record.operStatus));
    Field(out, "MTU", std::to_string(record.mtu));
    Field(out, "physical address", adapter.physicalAddress ? Lines({*adapter.physicalAddress}) : Lines({}));
    Field(out, "DHCPv4", record.dhcpv4Enabled ? "on" : "off");
    Field(out, "DNS suffix", OneLine(record.dnsSuffix));
    std::vector<std::string> unicast;
    for (const auto& [address, prefixLength] : adapter.unicast)
        unicast.push_back(OneLine(address) + '/' + std::to_string(prefixLength));
    Field(out, "addresses", unicast);
    Field(out, "gateways", Lines(adapter.gateways));
    Field(out, "DNS servers", Lines(adapter.dnsServers));
}

// Columns of cells: the first left-aligned, the others right-aligned, two
// spaces apart; widths in characters, not bytes.
using Cells = std::vector<std::string>;

std::size_t Characters(const std::string& utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void Columns(std::string& out, const std::vector<Cells>& lines)
{
    std::vector<std::size_t> widths;
    for (const Cells& cells : lines) {
        widths.resize(std::max(widths.size(), cells.size()));
        for (std::size_t c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], Characters(cells[c]));
    }
    for (const Cells& cells : lines) {
        std::string line = kIndent;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string pad(widths[c] - Characters(cells[c]), ' ');
            line += c == 0 ? cells[c] + pad : "  " + pad + cells[c];
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + '\n';
    }
}

std::string Fixed(double value, const char* unit = "")
{
    char text[48];
    std::snprintf(text, sizeof text, "%.1f%s", value, unit);
    return text;
}

// Bytes per second in decimal units, one decimal.
std::string ByteRate(double perSecond)
{
    if (perSecond >= 1e9)
        return Fixed(perSecond / 1e9, " GB/s");
    if (perSecond >= 1e6)
        return Fixed(perSecond / 1e6, " MB/s");
    if (perSecond >= 1e3)
        return Fixed(perSecond / 1e3, " kB/s");
    return Fixed(perSecond, " B/s");
}

using netinfo::InterfaceCounter;

uint64_t TotalOf(const WatchedInterface& watched, InterfaceCounter a, InterfaceCounter b)
{
    return watched.counters[a].total + watched.counters[b].total;
}

// What the interface did over the interval: zero when it has no difference.
double RateOf(const WatchedInterface& watched, InterfaceCounter a, InterfaceCounter b = netinfo::kInterfaceCounterCount)
{
    double rate = watched.counters[a].rate.value_or(0);
    if (b != netinfo::kInterfaceCounterCount)
        rate += watched.counters[b].rate.value_or(0);
    return rate;
}

uint64_t DeltaOf(const WatchedInterface& watched, InterfaceCounter a, InterfaceCounter b)
{
    return watched.counters[a].delta.value_or(0) + watched.counters[b].delta.value_or(0);
}

// The share of the link, as a percentage; blank where the speed is not known.
std::string Use(const WatchedInterface& watched, InterfaceCounter octets)
{
    const std::optional<double> share = LinkUse(watched, octets);
    if (!share)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", *share * 100);
    return text;
}

// Totals while no interface has a previous read to compare with, rates after.
void InterfaceLines(std::string& out, const std::vector<WatchedInterface>& interfaces)
{
    using namespace netinfo;
    const bool first =
        std::all_of(interfaces.begin(), interfaces.end(), [](const WatchedInterface& w) { return w.fresh; });
    // The use columns only where some link's speed is known.
    const bool use = std::any_of(interfaces.begin(), interfaces.end(), [](const WatchedInterface& w) {
        return LinkUse(w, kInOctets) || LinkUse(w, kOutOctets);
    });
    std::vector<Cells> lines;
    if (first)
        lines.push_back({"interface", "rx bytes", "tx bytes", "rx packets", "tx packets", "errors", "discards"});
    else if (use)
        lines.push_back({"interface", "rx/s", "tx/s", "rx packets/s", "tx packets/s", "errors", "discards", "rx use",
                         "tx use"});
    else
        lines.push_back({"interface", "rx/s", "tx/s", "rx packets/s", "tx packets/s", "errors", "discards"});
    for (const WatchedInterface& w : interfaces) {
        const std::string alias = OneLine(w.read.alias);
        if (first) {
            lines.push_back({alias, std::to_string(w.counters[kInOctets].total),
                             std::to_string(w.counters[kOutOctets].total),
                             std::to_string(TotalOf(w, kInUcastPkts, kInNUcastPkts)),
                             std::to_string(TotalOf(w, kOutUcastPkts, kOutNUcastPkts)),
                             std::to_string(TotalOf(w, kInErrors, kOutErrors)),
                             std::to_string(TotalOf(w, kInDiscards, kOutDiscards))});
        } else if (w.fresh || w.reset) {
            lines.push_back({alias, w.fresh ? "(new)" : "(reset)"});
        } else {
            lines.push_back({alias, ByteRate(RateOf(w, kInOctets)), ByteRate(RateOf(w, kOutOctets)),
                             Fixed(RateOf(w, kInUcastPkts, kInNUcastPkts)),
                             Fixed(RateOf(w, kOutUcastPkts, kOutNUcastPkts)),
                             std::to_string(DeltaOf(w, kInErrors, kOutErrors)),
                             std::to_string(DeltaOf(w, kInDiscards, kOutDiscards)), Use(w, kInOctets),
                             Use(w, kOutOctets)});
        }
    }
    Columns(out, lines);
}

void TableLines(std::string& out, const WatchedTable& table)
{
    std::vector<Cells> lines{{OneLine(table.page->title), "total", "difference", "per second"}};
    for (const WatchedRow& row : table.rows) {
        Cells cells{text::ToUtf8(row.label), std::to_string(row.change.total)};
        if (row.change.reset)
            cells.push_back("(reset)");
        else if (row.change.delta)
            cells.insert(cells.end(), {std::to_string(*row.change.delta), Fixed(row.change.rate.value_or(0))});
        lines.push_back(std::move(cells));
    }
    Columns(out, lines);
}

std::string Seconds(uint64_t ns)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(ns) / 1e9);
    return text;
}

// A counter's summary cells: intervals, difference, least, mean and greatest
// rate, resets; `rate` writes a rate in the counter's unit.
Cells SummaryCells(std::string name, const CounterSummary& summary, std::string (*rate)(double))
{
    const auto shown = [rate](const std::optional<double>& value) { return value ? rate(*value) : "-"; };
    return {std::move(name),         std::to_string(summary.intervals), std::to_string(summary.difference),
            shown(summary.minRate), shown(summary.MeanRate()),          shown(summary.maxRate),
            std::to_string(summary.resets + summary.unknown)};
}

std::string PlainRate(double perSecond)
{
    return Fixed(perSecond);
}

}  // namespace

std::optional<double> LinkUse(const WatchedInterface& watched, netinfo::InterfaceCounter octets)
{
    const uint64_t speed = octets == netinfo::kInOctets ? watched.read.receiveLinkSpeed : watched.read.transmitLinkSpeed;
    const std::optional<double> rate = watched.counters[octets].rate;
    if (!rate || speed == 0 || speed == UINT64_MAX)
        return std::nullopt;
    return *rate * 8 / static_cast<double>(speed);
}

std::string WriteSummaryText(const WatchSummary& summary)
{
    std::string out = "summary  " + std::to_string(summary.samples) + " samples  " + Seconds(summary.sinceStartNs) + '\n';
    const Cells heading{"intervals", "difference", "least/s", "mean/s", "most/s", "left out"};
    if (!summary.interfaces.empty()) {
        std::vector<Cells> lines{{"interface"}};
        lines[0].insert(lines[0].end(), heading.begin(), heading.end());
        for (const InterfaceSummary& s : summary.interfaces) {
            const std::string alias = OneLine(s.read.alias);
            lines.push_back(SummaryCells(alias + " rx bytes", s.counters[netinfo::kInOctets], ByteRate));
            lines.push_back(SummaryCells(alias + " tx bytes", s.counters[netinfo::kOutOctets], ByteRate));
        }
        Columns(out, lines);
    }
    for (const TableSummary& table : summary.tables) {
        std::vector<Cells> lines{{OneLine(table.page->title)}};
        lines[0].insert(lines[0].end(), heading.begin(), heading.end());
        for (const RowSummary& row : table.rows)
            lines.push_back(SummaryCells(text::ToUtf8(row.label), row.counter, PlainRate));
        Columns(out, lines);
    }
    return out + '\n';
}

std::string WriteText(const Report& report)
{
    std::string out;
    if (report.summary) {
        Heading(out, kPages[PageIndex("summary")].title);
        Lines(out, report.summary->text);
    }
    if (report.adapters) {
        Heading(out, kPages[PageIndex("adapters")].title);
        if (report.adapters->empty())
            out += std::string(kIndent) + "(none)\n";
        for (const AdapterEntry& adapter : *report.adapters)
            out += kIndent + std::to_string(adapter.index) + ": " + OneLine(adapter.name) + '\n';
    }
    if (report.addresses) {
        Heading(out, kPages[PageIndex("addresses")].title);
        if (report.addresses->empty())
            out += std::string(kIndent) + "(none)\n";
        for (const AddressedAdapter& adapter : *report.addresses)
            AddressLines(out, adapter);
    }
    if (report.interfaces) {
        if (report.interfaces->empty()) {
            Heading(out, kPages[PageIndex("interfaces")].title);
            out += std::string(kIndent) + "(none)\n";
        }
        for (const InterfacePage& page : *report.interfaces) {
            Heading(out, kPages[PageIndex("interface")].title + (L" " + std::to_wstring(page.index)) + L": " + page.name);
            Rows(out, page.rows);
        }
    }
    for (const ProtocolPage& page : report.protocols) {
        Heading(out, page.title);
        Rows(out, page.rows);
    }
    return out;
}

std::string WriteFailures(const std::vector<ReadFailure>& failures)
{
    std::string out;
    for (const ReadFailure& failure : failures)
        out += text::ToUtf8(failure.message) + '\n';
    return out;
}

std::string IsoUtc(uint64_t fileTime)
{
    const FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME utc{};
    if (!FileTimeToSystemTime(&time, &utc))
        return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", utc.wYear, utc.wMonth, utc.wDay,
                  utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds);
    return text;
}

std::string WriteSampleText(const Sample& sample)
{
    // Appended, not "+" + ...: GCC 12 warns falsely on that form (-Wrestrict).
    std::string elapsed = sample.elapsedNs ? "+" : "totals";
    if (sample.elapsedNs)
        elapsed += Seconds(*sample.elapsedNs);
    std::string out = IsoUtc(sample.utcFileTime) + "  sample " + std::to_string(sample.number) + "  " + elapsed + '\n';
    if (sample.interfaces)
        InterfaceLines(out, *sample.interfaces);
    for (const WatchedTable& table : sample.tables)
        TableLines(out, table);
    return out + '\n';
}

}  // namespace report
