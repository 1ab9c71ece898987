#pragma once
// One run of orvane-report from its arguments to what it writes and its exit
// status. The entry point only hands over where the bytes go.
#include <functional>
#include <string>
#include <vector>

namespace report {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitReadFailed = 1;
inline constexpr int kExitUsage = 2;

enum class WriteResult {
    Written,
    Closed, // the reader went away: a pipe whose other end was closed
    Failed,
};

// Where the run writes UTF-8: each call writes all of its text or fails.
struct ReportOutput {
    std::function<WriteResult(const std::string&)> out;
    std::function<WriteResult(const std::string&)> err;
};

// The arguments after the program name. A watch runs until its count, a stop
// request or a closed standard output.
int RunReport(const std::vector<std::wstring>& arguments, const ReportOutput& output);

}  // namespace report
