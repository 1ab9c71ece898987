// orvane-report: Orvane's pages as text or JSON on standard output. This file
// is only the console's side: arguments in, bytes out, and Ctrl+C.
#include "report/ReportRun.h"
#include "report/WatchClock.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <new>
#include <string>
#include <vector>

namespace {

using report::WriteResult;

// Hands the text over in chunks of at most `most` units until all of it is written.
template <typename Char, typename WriteChunk>
WriteResult WriteAll(const std::basic_string<Char>& text, std::size_t most, WriteChunk writeChunk)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const auto chunk = static_cast<DWORD>(std::min(text.size() - done, most));
        DWORD written = 0;
        if (!writeChunk(text.data() + done, chunk, &written) || written == 0) {
            const DWORD error = GetLastError();
            // The reading end of a pipe is gone (Windows says one of the
            // first two, Wine the third).
            const bool closed =
                error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
            return closed ? WriteResult::Closed : WriteResult::Failed;
        }
        done += written;
    }
    return WriteResult::Written;
}

WriteResult WriteBytes(HANDLE handle, const std::string& bytes)
{
    return WriteAll(bytes, std::size_t{1} << 20, [handle](const char* data, DWORD size, DWORD* written) {
        return WriteFile(handle, data, size, written, nullptr) != FALSE;
    });
}

// A console shows UTF-16 whatever its code page, so it gets the text through
// WriteConsoleW; a file or pipe gets the UTF-8 bytes as they are.
WriteResult WriteToConsole(HANDLE console, const std::string& utf8)
{
    if (utf8.size() > static_cast<std::size_t>(INT_MAX))
        return WriteResult::Failed;
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return WriteResult::Failed;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return WriteAll(wide, std::size_t{1} << 14, [console](const wchar_t* data, DWORD size, DWORD* written) {
        return WriteConsoleW(console, data, size, written, nullptr) != FALSE;
    });
}

WriteResult Write(DWORD stream, const std::string& utf8)
{
    if (utf8.empty())
        return WriteResult::Written;
    const HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return WriteResult::Failed;
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? WriteToConsole(handle, utf8) : WriteBytes(handle, utf8);
}

// Ctrl+C and Ctrl+Break end a watch after its current sample; so does the
// console closing, whose handler must not return before the watch is done,
// since the process ends when it does. Outside a watch the default stays.
BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (!report::RequestWatchStop())
        return FALSE;
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        report::AwaitWatchEnd(4000);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
        const report::ReportOutput output{[](const std::string& text) { return Write(STD_OUTPUT_HANDLE, text); },
                                          [](const std::string& text) { return Write(STD_ERROR_HANDLE, text); }};
        return report::RunReport(std::vector<std::wstring>(argv + 1, argv + argc), output);
    } catch (const std::bad_alloc&) {
        Write(STD_ERROR_HANDLE, "orvane-report: out of memory\n");
        return report::kExitReadFailed;
    }
}
