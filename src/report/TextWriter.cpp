#include "report/TextWriter.h"

#include "text/Encoding.h"

#include <algorithm>

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
    for (const CounterRow& row : rows)
        labelWidth = std::max(labelWidth, row.name.size());
    for (const CounterRow& row : rows) {
        const std::string value = std::to_string(row.value);
        out += kIndent + text::ToUtf8(row.name) + ':';
        out.append(labelWidth - row.name.size() + 1 + kValueWidth - value.size(), ' ');
        out += value + '\n';
    }
}

}  // namespace

std::string WriteText(const Report& report)
{
    std::string out;
    if (report.summary) {
        Heading(out, L"Summary");
        Lines(out, report.summary->text);
    }
    if (report.adapters) {
        Heading(out, L"Adapters");
        if (report.adapters->empty())
            out += std::string(kIndent) + "(none)\n";
        for (const AdapterEntry& adapter : *report.adapters)
            out += kIndent + std::to_string(adapter.index) + ": " + OneLine(adapter.name) + '\n';
    }
    if (report.interfaces) {
        if (report.interfaces->empty()) {
            Heading(out, L"Interfaces");
            out += std::string(kIndent) + "(none)\n";
        }
        for (const InterfacePage& page : *report.interfaces) {
            Heading(out, L"Interface " + std::to_wstring(page.index) + L": " + page.name);
            Rows(out, page.rows);
        }
    }
    for (const ProtocolPage& page : report.protocols) {
        Heading(out, page.title);
        Rows(out, page.rows);
    }
    return out;
}

std::string WriteFailures(const Report& report)
{
    std::string out;
    for (const ReadFailure& failure : report.failures)
        out += text::ToUtf8(failure.message) + '\n';
    return out;
}

}  // namespace report
