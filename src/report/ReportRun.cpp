#include "report/ReportRun.h"

#include "report/JsonWriter.h"
#include "report/ReportArguments.h"
#include "report/ReportBuilder.h"
#include "report/TextWriter.h"
#include "text/Encoding.h"

#include <variant>

namespace report {

ReportOutcome RunReport(const std::vector<std::wstring>& arguments)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    if (std::holds_alternative<HelpRequest>(parsed))
        return {text::ToUtf8(UsageText()), {}, kExitSuccess};
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return {{}, text::ToUtf8(L"orvane-report: " + error->message + L"\n" + UsageText()), kExitUsage};

    const auto& request = std::get<ReportRequest>(parsed);
    const Report report = BuildReport(request.pages);
    return {request.json ? WriteJson(report) : WriteText(report), WriteFailures(report),
            report.failures.empty() ? kExitSuccess : kExitReadFailed};
}

}  // namespace report
