#pragma once
// One run of orvane-report from its arguments to what it writes and its exit
// status, with no console involved: the entry point only copies the texts
// out.
#include <string>
#include <vector>

namespace report {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitReadFailed = 1;
inline constexpr int kExitUsage = 2;

struct ReportOutcome {
    std::string out; // UTF-8, for standard output
    std::string err; // UTF-8, for standard error
    int exitCode = kExitSuccess;
};

// The arguments after the program name.
ReportOutcome RunReport(const std::vector<std::wstring>& arguments);

}  // namespace report
