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

// Hands the text over in chunks of at most `most` units until all of it is written.
template <typename Char, typename WriteChunk>
bool WriteAll(const std::basic_string<Char>& text, std::size_t most, WriteChunk writeChunk)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const auto chunk = static_cast<DWORD>(std::min(text.size() - done, most));
        DWORD written = 0;
        if (!writeChunk(text.data() + done, chunk, &written) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool WriteBytes(HANDLE handle, const std::string& bytes)
{
    return WriteAll(bytes, std::size_t{1} << 20, [handle](const char* data, DWORD size, DWORD* written) {
        return WriteFile(handle, data, size, written, nullptr) != FALSE;
    });
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
    return WriteAll(wide, std::size_t{1} << 14, [console](const wchar_t* data, DWORD size, DWORD* written) {
        return WriteConsoleW(console, data, size, written, nullptr) != FALSE;
    });
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
