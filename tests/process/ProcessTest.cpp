// The real programs, started as a user starts them, for what only a process shows.
// Package.* runs from tests/process/PackageTest.sh on the unpacked ZIP that ORVANE_PACKAGE names.
#include "support/Win32.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <utility>

using namespace test;

namespace {

// Wine starts a process in about a second; in a fresh Wine session on a loaded machine it once took over 20.
constexpr DWORD kPatience = 60000;  // ms
constexpr wchar_t kClass[] = L"OrvaneClass";

// A program the test started, ended if still running when the test is done; `capture` pipes its output.
class Process {
public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = {}, const std::wstring& folder = {},
                     bool capture = false, DWORD flags = 0, DWORD pipeBytes = 0)
    {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si{sizeof si};
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (capture && CreatePipe(&out_, &si.hStdOutput, &inherit, pipeBytes) &&
            CreatePipe(&err_, &si.hStdError, &inherit, 0))
            si.dwFlags = STARTF_USESTDHANDLES;
        // Our ends stay ours: a child holding them would never see its output closed.
        for (HANDLE ours : {out_, err_})
            SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
        const wchar_t* current = folder.empty() ? nullptr : folder.c_str();
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, capture, flags, nullptr, current, &si,
                       &info_);
        CloseHandle(si.hStdOutput), CloseHandle(si.hStdError);
    }
    ~Process()
    {
        if (info_.hProcess && !Wait(0))
            TerminateProcess(info_.hProcess, 99);
        for (HANDLE h : {info_.hProcess, info_.hThread, out_, err_})
            CloseHandle(h);
    }
    // The exit code, or nothing when it is still running after `ms`.
    std::optional<DWORD> Wait(DWORD ms) const
    {
        DWORD code = 0;
        const bool ended = info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
        return ended && GetExitCodeProcess(info_.hProcess, &code) ? std::optional(code) : std::nullopt;
    }
    // Its exit code and everything it wrote to standard output and to standard error, read while it runs, so that
    // a full pipe never holds it up; ended when it takes too long.
    std::tuple<std::optional<DWORD>, std::string, std::string> Finish() const
    {
        std::string text[2];
        const auto read = [&](bool ended) {
            char chunk[4096];
            for (int i : {0, 1}) {
                const HANDLE pipe = i ? err_ : out_;
                for (DWORD got = 0; (ended || (PeekNamedPipe(pipe, nullptr, 0, nullptr, &got, nullptr) && got)) &&
                                    ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got;)
                    text[i].append(chunk, got);
            }
        };
        std::optional<DWORD> code;
        for (DWORD waited = 0; !(code = Wait(20)) && waited < kPatience; waited += 20)
            read(false);
        if (!code)
            TerminateProcess(info_.hProcess, 99);  // so that its pipes end
        read(true);
        return {code, text[0], text[1]};
    }
    // True once a whole line waits in its standard output, a pending write's included; false if none came in `ms`.
    bool AwaitLine(DWORD ms) const
    {
        char chunk[4096];
        for (DWORD waited = 0, got = 0; waited < ms; waited += 20, Sleep(20))
            if (PeekNamedPipe(out_, chunk, sizeof chunk, &got, nullptr, nullptr) && std::memchr(chunk, '\n', got))
                return true;
        return false;
    }
    DWORD Id() const { return info_.dwProcessId; }
    // The reading end of its standard output closed, as `| head` closes it.
    void CloseOutput() { CloseHandle(std::exchange(out_, nullptr)); }
    // Closed as a user closes it, once it has its main window.
    std::optional<DWORD> Close() const
    {
        for (DWORD waited = 0; info_.hProcess && waited < kPatience && !Wait(0); waited += 50, Sleep(50))
            for (HWND w = FindWindowW(kClass, L"Orvane"); w; w = FindWindowExW(nullptr, w, kClass, L"Orvane"))
                if (DWORD pid = 0; GetWindowThreadProcessId(w, &pid) && pid == info_.dwProcessId)
                    return PostMessageW(w, WM_CLOSE, 0, 0), Wait(kPatience);
        return std::nullopt;
    }

private:
    PROCESS_INFORMATION info_{};
    HANDLE out_ = nullptr, err_ = nullptr;
};

const std::optional<DWORD> kEnded = 1, kSecond = 0, kNoLibrary = static_cast<DWORD>(-2);

TEST(Orvane, OneInstanceThatEndsWithOneWhateverItsArguments)
{
    ASSERT_EQ(FindWindowW(kClass, nullptr), nullptr) << "an Orvane is already running";
    Process first(ProgramFolder() + L"orvane.exe", L"/s --help \"x y\" -2");
    HWND frame = nullptr;
    for (DWORD waited = 0; !frame && waited < kPatience; waited += 50, Sleep(50))
        frame = FindWindowW(kClass, L"Orvane");
    const auto ended = first.Wait(0);
    ASSERT_NE(frame, nullptr) << "Orvane's window never appeared; "
                              << (ended ? "it ended with " + std::to_string(*ended) : std::string("it still runs"));
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_EQ(Process(ProgramFolder() + L"orvane.exe").Wait(kPatience), kSecond) << "the second instance did not end";
    EXPECT_EQ(FindWindowExW(nullptr, frame, kClass, L"Orvane"), nullptr) << "one window";
    EXPECT_FALSE(IsIconic(frame)) << "the first came forward";
    EXPECT_EQ(first.Close(), kEnded) << "the first did not end when closed";
}

TEST(Orvane, TakesItsLibraryFromItsOwnFolderAndNeverRunsItsCode)
{
    // A localization.dll that leaves a mark beside itself when its code runs.
    const std::wstring planted = ProgramFolder() + L"planted\\", mark = L"entry-code-ran";
    const auto marked = [&](const std::wstring& folder) {
        return GetFileAttributesW((folder + mark).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    DeleteFileW((planted + mark).c_str());
    FreeLibrary(LoadLibraryW((planted + L"localization.dll").c_str()));
    EXPECT_TRUE(marked(planted)) << "the mark shows when the code does run";
    DeleteFileW((planted + mark).c_str());

    const std::wstring lone = TempFolder(), beside = TempFolder();
    CopyFileW((ProgramFolder() + L"orvane.exe").c_str(), (lone + L"orvane.exe").c_str(), FALSE);
    CopyFileW((ProgramFolder() + L"orvane.exe").c_str(), (beside + L"orvane.exe").c_str(), FALSE);
    CopyFileW((planted + L"localization.dll").c_str(), (beside + L"localization.dll").c_str(), FALSE);
    wchar_t path[32767];
    const std::wstring oldPath(path, GetEnvironmentVariableW(L"PATH", path, 32767));
    SetEnvironmentVariableW(L"PATH", (planted + L";" + oldPath).c_str());
    EXPECT_EQ(Process(lone + L"orvane.exe", {}, planted).Wait(kPatience), kNoLibrary)
        << "not from the current folder nor from PATH";
    SetEnvironmentVariableW(L"PATH", oldPath.c_str());
    Process p(beside + L"orvane.exe", {}, lone);
    EXPECT_EQ(p.Close(), kEnded) << "with the library beside it";
    EXPECT_FALSE(marked(beside)) << "the library beside the program ran its entry code";
    RemoveFolder(lone);
    RemoveFolder(beside);
}

// The unpacked ZIP from another folder: the program finds its library; the report writes bytes through pipes.
TEST(Package, StartsFromAnotherFolder)
{
    const char* unpacked = std::getenv("ORVANE_PACKAGE");
    ASSERT_NE(unpacked, nullptr) << "run by tests/process/PackageTest.sh";
    const std::wstring folder(unpacked, unpacked + strlen(unpacked)), elsewhere = TempFolder();
    EXPECT_EQ(Process(folder + L"orvane.exe", {}, elsewhere).Close(), kEnded);
    const std::wstring report = folder + L"orvane-report.exe";
    const auto [code, out, err] = Process(report, L"tcp interface 4294967295", {}, true).Finish();
    EXPECT_EQ(code, std::optional<DWORD>(1)) << "a page that fails";
    EXPECT_EQ(out.substr(0, 4), "TCP\n");
    EXPECT_TRUE(err.starts_with("Failed to read interface 4294967295: 0x80070057")) << err;
    const auto [usageCode, usageOut, usageErr] = Process(report, L"bogus", {}, true).Finish();
    EXPECT_EQ(usageCode, std::optional<DWORD>(2)) << "a usage error";
    EXPECT_EQ(usageOut, "") << "the usage, on standard error only";
    EXPECT_NE(usageErr, "");

    // A watch through a pipe: one JSON object per line, then its summary; a closed pipe ends it, quietly.
    const auto [watchCode, watchOut, watchErr] =
        Process(report, L"--watch 0.1 --count 3 --json interface lo", {}, true).Finish();
    std::istringstream lines(watchOut);
    std::string types;
    for (std::string line; std::getline(lines, line);)
        types += nlohmann::json::parse(line, nullptr, false).value("type", "?") + " ";
    EXPECT_EQ(types, "sample sample sample summary ") << "lines that parse";
    EXPECT_EQ(watchErr, "");
    EXPECT_EQ(watchCode, std::optional<DWORD>(0));
    Process endless(report, L"--watch 0.1 --json", {}, true);
    endless.CloseOutput();
    const auto [endedCode, endedOut, endedErr] = endless.Finish();
    EXPECT_EQ(endedCode, std::optional<DWORD>(0)) << "a watch whose reader went away ends";
    EXPECT_EQ(endedErr, "") << "quietly";
    RemoveFolder(elsewhere);
}

// Ctrl+C for real, into a console of the watch's own, in the middle of a sample: its first line, larger than the
// pipe, waits for us to read it. Handled, the watch ends after that sample, whole, with 0. Unhandled, the process
// ends at once and its line is lost (with 0xC000013A, or 0 under Wine 8, so the exit code alone cannot tell).
TEST(Report, CtrlCEndsAWatchAfterItsSampleWithWholeLines)
{
    const std::optional<DWORD> kZero = 0;
    Process watch(ProgramFolder() + L"orvane-report.exe", L"--watch 1 --json tcp", {}, true, CREATE_NEW_CONSOLE, 64);
    ASSERT_TRUE(watch.AwaitLine(kPatience)) << "the watch wrote no line";
    const std::wstring id = std::to_wstring(watch.Id());
    ASSERT_EQ(Process(ProgramFolder() + L"send-ctrl-c.exe", id, {}, false, DETACHED_PROCESS).Wait(kPatience), kZero)
        << "Ctrl+C was not sent";
    // Handled, it cannot end before we read; a second is time enough for the default handling to end it.
    EXPECT_EQ(watch.Wait(1000), std::nullopt) << "Ctrl+C ended the watch in the middle of a sample";
    const auto [code, out, err] = watch.Finish();
    EXPECT_EQ(code, kZero) << "Ctrl+C did not end the watch with 0";
    ASSERT_FALSE(out.empty()) << "the sample in progress was lost";
    EXPECT_EQ(out.back(), '\n') << "a line cut short";
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(nlohmann::json::parse(line, nullptr, false).is_object()) << line;
    EXPECT_EQ(err, "");
}

}  // namespace
