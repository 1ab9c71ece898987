// orvane-report: Orvane's pages as text or JSON on standard output. This file
// is only the console's side: arguments in, bytes out.
#include "report/ReportRun.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <new>
#include <string>
#include <vector>

namespace {

bool WriteBytes(HANDLE handle, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// A console shows UTF-16 whatever its code page, so it gets the text through
// WriteConsoleW; a file or pipe gets the UTF-8 bytes as they are.
bool WriteToConsole(HANDLE console, const std::string& utf8)
{
    if (utf8.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    std::size_t done = 0;
    while (done < wide.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 1u << 14));
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool Write(DWORD stream, const std::string& utf8)
{
    if (utf8.empty())
        return true;
    const HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? WriteToConsole(handle, utf8) : WriteBytes(handle, utf8);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        const report::ReportOutcome outcome = report::RunReport(std::vector<std::wstring>(argv + 1, argv + argc));
        const bool printed = Write(STD_OUTPUT_HANDLE, outcome.out);
        Write(STD_ERROR_HANDLE, outcome.err);
        if (!printed) {
            Write(STD_ERROR_HANDLE, "orvane-report: could not write to standard output\n");
            return outcome.exitCode == report::kExitSuccess ? report::kExitReadFailed : outcome.exitCode;
        }
        return outcome.exitCode;
    } catch (const std::bad_alloc&) {
        Write(STD_ERROR_HANDLE, "orvane-report: out of memory\n");
        return report::kExitReadFailed;
    }
}
