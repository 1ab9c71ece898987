#include "report/ReportRun.h"

#include "report/JsonWriter.h"
#include "report/PrometheusWriter.h"
#include "report/ReportArguments.h"
#include "report/ReportBuilder.h"
#include "report/TextFile.h"
#include "report/TextWriter.h"
#include "report/WatchClock.h"
#include "report/WatchSummary.h"
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

// Where a sample goes: standard output in its format, or the text file
// replaced whole. A failure has said what failed on standard error.
WriteResult Deliver(const ReportRequest& request, const ReportOutput& output, const std::string& text)
{
    if (request.textfile) {
        const TextFileResult file = ReplaceTextFile(*request.textfile, text);
        if (!file.written)
            output.err(text::ToUtf8(L"orvane-report: " + file.error + L"\n"));
        return file.written ? WriteResult::Written : WriteResult::Failed;
    }
    const WriteResult result = output.out(text);
    if (result == WriteResult::Failed)
        output.err(kCannotWrite);
    return result;
}

std::string Written(const ReportRequest& request, const Sample& sample)
{
    switch (request.format) {
    case Format::Json:
        return WriteSampleJson(sample);
    case Format::Prometheus:
        return WritePrometheus(sample);
    case Format::Text:
        break;
    }
    return WriteSampleText(sample);
}

// Samples on absolute deadlines: sample k is due at start + k * interval, so
// that the time each one takes does not add up. A sample that overruns its
// slot gives up the slots it missed rather than catching up in a burst.
int Watch(const ReportRequest& request, const WatchTiming& timing, const ReportOutput& output,
          const WatchClock& clock)
{
    const WatchScope scope;
    Watcher watcher(request.pages, request.filter, clock);
    WatchSummary summary;
    const uint64_t start = clock.monotonicNs();
    uint64_t slot = 0, failed = 0;
    for (;;) {
        const Sample sample = watcher.Take();
        summary.Add(sample);
        if (!sample.failures.empty()) {
            ++failed;
            output.err(WriteFailures(sample.failures));
        }
        // One write per sample: a reader never sees half of one.
        switch (Deliver(request, output, Written(request, sample))) {
        case WriteResult::Written:
            break;
        case WriteResult::Closed:
            return kExitSuccess;  // nobody reads any more: nothing to say
        case WriteResult::Failed:
            return kExitReadFailed;
        }
        if (timing.count && summary.samples == *timing.count)
            break;
        slot = std::max(slot + 1, (clock.monotonicNs() - start) / timing.intervalNs + 1);
        if (!clock.waitUntil(start + slot * timing.intervalNs))
            break;  // stopped
    }
    // The file holds the last sample; the summary is for a reader of the stream.
    if (!request.textfile) {
        const std::string closing =
            request.format == Format::Json ? WriteSummaryJson(summary) : WriteSummaryText(summary);
        if (Deliver(request, output, closing) == WriteResult::Failed)
            return kExitReadFailed;
    }
    const bool stopped = !timing.count || summary.samples < *timing.count;
    return !stopped && failed == summary.samples ? kExitReadFailed : kExitSuccess;
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
    const auto& request = std::get<ReportRequest>(parsed);
    const WatchClock& clock = CurrentWatchClock();
    if (request.watch)
        return Watch(request, *request.watch, output, clock);
    if (request.format == Format::Prometheus) {
        const Sample sample = Watcher(request.pages, request.filter, clock).Take();
        if (!request.textfile)
            return Printed(output, WritePrometheus(sample), sample.failures);
        if (!sample.failures.empty())
            output.err(WriteFailures(sample.failures));
        const bool written = Deliver(request, output, WritePrometheus(sample)) == WriteResult::Written;
        return written && sample.failures.empty() ? kExitSuccess : kExitReadFailed;
    }
    const Report report = BuildReport(request.pages, request.filter);
    return Printed(output, request.format == Format::Json ? WriteJson(report) : WriteText(report), report.failures);
}

}  // namespace report
