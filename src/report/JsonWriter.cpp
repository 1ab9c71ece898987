#include "report/JsonWriter.h"

#include "report/Utf8.h"

#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

// Items one per line at depth + 1; "[]" or "{}" when there are none.
std::string Block(const std::vector<std::string>& items, int depth, char open, char close)
{
    if (items.empty())
        return {open, close};
    std::string out(1, open);
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ",\n" : "\n") + Indent(depth + 1) + items[i];
    return out + '\n' + Indent(depth) + close;
}

std::string Member(std::string_view key, const std::string& value)
{
    return JsonQuote(std::wstring(key.begin(), key.end())) + ": " + value;
}

std::string Number(uint32_t value) { return std::to_string(value); }

// One-line object. Built by appending: GCC 12 warns falsely on "literal" + string&&.
std::string InlineObject(std::initializer_list<std::string> members)
{
    std::string out(1, '{');
    for (const std::string& member : members) {
        if (out.size() > 1)
            out += ", ";
        out += member;
    }
    out += '}';
    return out;
}

std::string Row(const CounterRow& row)
{
    return InlineObject({Member("name", JsonQuote(row.name)), Member("value", Number(row.value))});
}

std::string Rows(const CounterRows& rows, int depth)
{
    std::vector<std::string> items;
    for (const CounterRow& row : rows)
        items.push_back(Row(row));
    return Block(items, depth, '[', ']');
}

std::string Summary(const SummaryPage& page, int depth)
{
    std::string servers = "[";
    for (std::size_t i = 0; i < page.dnsServers.size(); ++i) {
        if (i)
            servers += ", ";
        servers += JsonQuote(page.dnsServers[i]);
    }
    servers += ']';
    return Block({Member("hostName", JsonQuote(page.hostName)), Member("domainName", JsonQuote(page.domainName)),
                  Member("dnsServers", servers), Member("text", JsonQuote(page.text))},
                 depth, '{', '}');
}

std::string Adapters(const std::vector<AdapterEntry>& adapters, int depth)
{
    std::vector<std::string> items;
    for (const AdapterEntry& adapter : adapters)
        items.push_back(InlineObject({Member("index", Number(adapter.index)), Member("name", JsonQuote(adapter.name))}));
    return Block(items, depth, '[', ']');
}

std::string Interfaces(const std::vector<InterfacePage>& pages, int depth)
{
    std::vector<std::string> items;
    for (const InterfacePage& page : pages)
        items.push_back(Block({Member("index", Number(page.index)), Member("name", JsonQuote(page.name)),
                               Member("rows", Rows(page.rows, depth + 2))},
                              depth + 1, '{', '}'));
    return Block(items, depth, '[', ']');
}

std::string Errors(const std::vector<ReadFailure>& failures, int depth)
{
    std::vector<std::string> items;
    for (const ReadFailure& failure : failures)
        items.push_back(InlineObject({Member("page", JsonQuote(std::wstring(failure.page.begin(), failure.page.end()))),
                                      Member("message", JsonQuote(failure.message)),
                                      Member("code", Number(failure.code))}));
    return Block(items, depth, '[', ']');
}

} // namespace

std::string JsonQuote(std::wstring_view text)
{
    std::string out = "\"";
    for (const char c : ToUtf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

std::string WriteJson(const Report& report)
{
    std::vector<std::string> members;
    if (report.summary)
        members.push_back(Member("summary", Summary(*report.summary, 1)));
    if (report.adapters)
        members.push_back(Member("adapters", Adapters(*report.adapters, 1)));
    if (report.interfaces)
        members.push_back(Member("interfaces", Interfaces(*report.interfaces, 1)));
    for (const ProtocolPage& page : report.protocols)
        members.push_back(Member(page.key, Rows(page.rows, 1)));
    if (!report.failures.empty())
        members.push_back(Member("errors", Errors(report.failures, 1)));
    return Block(members, 0, '{', '}') + '\n';
}
