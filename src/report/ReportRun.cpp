#include "report/ReportRun.h"

#include "report/JsonWriter.h"
#include "report/ReportArguments.h"
#include "report/ReportBuilder.h"
#include "report/TextWriter.h"
#include "report/WatchClock.h"
#include "report/Watcher.h"
#include "text/Encoding.h"

#include <algorithm>
#include <variant>

namespace report {
namespace {

constexpr char kCannotWrite[] = "orvane-report: could not write to standard output\n";

// The text, then any failures; output that cannot be written is a failure too.
int Printed(const ReportOutput& output, const std::string& text, const std::vector<ReadFailure>& failures)
{
    const bool printed = text.empty() || output.out(text) == WriteResult::Written;
    if (!failures.empty())
        output.err(WriteFailures(failures));
    if (printed)
        return failures.empty() ? kExitSuccess : kExitReadFailed;
    output.err(kCannotWrite);
    return kExitReadFailed;
}

// Samples on absolute deadlines: sample k is due at start + k * interval, so
// that the time each one takes does not add up. A sample that overruns its
// slot gives up the slots it missed rather than catching up in a burst.
int Watch(const WatchRequest& request, const ReportOutput& output)
{
    const WatchScope scope;
    const WatchClock& clock = CurrentWatchClock();
    Watcher watcher(request.pages);
    const uint64_t interval = request.intervalNs;
    const uint64_t start = clock.monotonicNs();
    uint64_t slot = 0, taken = 0, failed = 0;
    for (;;) {
        const Sample sample = watcher.Take();
        ++taken;
        if (!sample.failures.empty()) {
            ++failed;
            output.err(WriteFailures(sample.failures));
        }
        // One write per sample: a reader never sees half of one.
        switch (output.out(request.json ? WriteSampleJson(sample) : WriteSampleText(sample))) {
        case WriteResult::Written:
            break;
        case WriteResult::Closed:
            return kExitSuccess;  // nobody reads any more: nothing to say
        case WriteResult::Failed:
            output.err(kCannotWrite);
            return kExitReadFailed;
        }
        if (request.count && taken == *request.count)
            return failed == taken ? kExitReadFailed : kExitSuccess;
        slot = std::max(slot + 1, (clock.monotonicNs() - start) / interval + 1);
        if (!clock.waitUntil(start + slot * interval))
            return kExitSuccess;  // stopped
    }
}

}  // namespace

int RunReport(const std::vector<std::wstring>& arguments, const ReportOutput& output)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    if (std::holds_alternative<HelpRequest>(parsed))
        return Printed(output, text::ToUtf8(UsageText()), {});
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        output.err(text::ToUtf8(L"orvane-report: " + error->message + L"\n" + UsageText()));
        return kExitUsage;
    }
    if (const auto* watch = std::get_if<WatchRequest>(&parsed))
        return Watch(*watch, output);

    const auto& request = std::get<ReportRequest>(parsed);
    const Report report = BuildReport(request.pages);
    return Printed(output, request.json ? WriteJson(report) : WriteText(report), report.failures);
}

}  // namespace report
