#pragma once
// Shared by the report tests: running the report in-process and reading its
// JSON back strictly.
#include "JsonValue.h"
#include "netinfo/NameValueRow.h"
#include "report/ReportRun.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace report_test {

using namespace netinfo;
using namespace report;

// Named apart from testing::Test::Run, which fixtures inherit.
inline ReportOutcome Invoke(const std::vector<std::wstring>& arguments) { return RunReport(arguments); }

// The document; a text that is not strict JSON fails the test through the
// exception, with the reader's reason.
inline json::Value Document(const std::string& text)
{
    std::optional<json::Value> document = json::Parse(text);
    if (!document)
        throw std::runtime_error("not JSON:\n" + text);
    return std::move(*document);
}

// (label, value as its decimal text) per row.
using Rows = std::vector<std::pair<std::string, std::string>>;

// A JSON rows array, each row exactly {"name": string, "value": unsigned
// 32-bit integer}.
inline Rows RowsOf(const json::Value& array)
{
    if (array.kind != json::Value::Kind::Array)
        throw std::runtime_error("rows are not an array");
    Rows rows;
    for (const json::Value& row : array.items) {
        if (row.Keys() != std::vector<std::string>{"name", "value"} ||
            row.at("name").kind != json::Value::Kind::String || !row.at("value").AsUint32())
            throw std::runtime_error("malformed row");
        rows.emplace_back(row.at("name").text, row.at("value").text);
    }
    return rows;
}

// The rows the network information code builds, in the same form. Labels
// are ASCII.
inline Rows RowsOf(const NameValueList& list)
{
    Rows rows;
    for (const NameValueRow& row : list)
        rows.emplace_back(std::string(row.name.begin(), row.name.end()), std::string(row.value.begin(), row.value.end()));
    return rows;
}

// Every DWORD field of a statistics structure told apart: the first
// 4294967295, the last 0, the others 1000 and up.
template <typename Stats>
Stats Numbered()
{
    static_assert(sizeof(Stats) % sizeof(DWORD) == 0);
    DWORD values[sizeof(Stats) / sizeof(DWORD)];
    for (std::size_t i = 0; i < std::size(values); ++i)
        values[i] = 1000 + static_cast<DWORD>(i);
    values[0] = 4294967295u;
    values[std::size(values) - 1] = 0;
    Stats stats;
    std::memcpy(&stats, values, sizeof stats);
    return stats;
}

// The lines of a text, without their "\n".
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The lines of one page of the text output: from its heading to the blank
// line that ends it; empty when there is no such heading.
inline std::vector<std::string> PageLines(const std::string& text, const std::string& heading)
{
    const std::vector<std::string> lines = Lines(text);
    std::vector<std::string> page;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != heading)
            continue;
        for (std::size_t j = i + 1; j < lines.size() && !lines[j].empty(); ++j)
            page.push_back(lines[j]);
        break;
    }
    return page;
}

// A row line of the text output, "  label:   value", as (label, value).
inline std::pair<std::string, std::string> SplitRowLine(const std::string& line)
{
    const std::size_t colon = line.rfind(':');
    const std::size_t value = line.find_first_not_of(' ', colon + 1);
    if (line.rfind("  ", 0) != 0 || colon == std::string::npos || value == std::string::npos)
        return {};
    return {line.substr(2, colon - 2), line.substr(value)};
}

} // namespace report_test
