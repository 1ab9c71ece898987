// The real programs, started as a user starts them, for what only a process shows.
// Package.* runs from tests/process/PackageTest.sh on the unpacked ZIP that ORVANE_PACKAGE names.
#include "support/Win32.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <utility>

using namespace test;

namespace {

constexpr DWORD kPatience = 20000;  // ms; Wine starts a process in well under a second

// A program the test started, ended if still running when the test is done; `capture` pipes its output.
class Process {
public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = {}, const std::wstring& folder = {}, bool capture = false)
    {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si{sizeof si};
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (capture && CreatePipe(&out_, &si.hStdOutput, &inherit, 0) && CreatePipe(&err_, &si.hStdError, &inherit, 0))
            si.dwFlags = STARTF_USESTDHANDLES;
        // Our ends stay ours: a child holding them would never see its output closed.
        for (HANDLE ours : {out_, err_})
            SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, capture, 0, nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &info_);
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
        const bool ended = info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0 && GetExitCodeProcess(info_.hProcess, &code);
        return ended ? std::optional(code) : std::nullopt;
    }
    // Everything it wrote to standard output or to standard error.
    std::string Read(bool error) const
    {
        std::string text;
        char chunk[4096];
        for (DWORD got = 0; ReadFile(error ? err_ : out_, chunk, sizeof chunk, &got, nullptr) && got;)
            text.append(chunk, got);
        return text;
    }
    // The reading end of its standard output closed, as `| head` closes it.
    void CloseOutput() { CloseHandle(std::exchange(out_, nullptr)); }
    // Closed as a user closes it, once it has its main window.
    std::optional<DWORD> Close() const
    {
        for (DWORD waited = 0; info_.hProcess && waited < kPatience && !Wait(0); waited += 50, Sleep(50))
            for (HWND w = FindWindowW(L"OrvaneClass", L"Orvane"); w; w = FindWindowExW(nullptr, w, L"OrvaneClass", L"Orvane"))
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
    ASSERT_EQ(FindWindowW(L"OrvaneClass", nullptr), nullptr) << "an Orvane is already running";
    Process first(ProgramFolder() + L"orvane.exe", L"/s --help \"x y\" -2");
    HWND frame = nullptr;
    for (DWORD waited = 0; !frame && waited < kPatience; waited += 50, Sleep(50))
        frame = FindWindowW(L"OrvaneClass", L"Orvane");
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_EQ(Process(ProgramFolder() + L"orvane.exe").Wait(kPatience), kSecond);
    EXPECT_EQ(FindWindowExW(nullptr, frame, L"OrvaneClass", L"Orvane"), nullptr) << "one window";
    EXPECT_FALSE(IsIconic(frame)) << "the first came forward";
    EXPECT_EQ(first.Close(), kEnded);
}

TEST(Orvane, TakesItsLibraryFromItsOwnFolderAndNeverRunsItsCode)
{
    // A localization.dll that leaves a mark beside itself when its code runs.
    const std::wstring planted = ProgramFolder() + L"planted\\", mark = L"entry-code-ran";
    DeleteFileW((planted + mark).c_str());
    FreeLibrary(LoadLibraryW((planted + L"localization.dll").c_str()));
    EXPECT_NE(GetFileAttributesW((planted + mark).c_str()), INVALID_FILE_ATTRIBUTES) << "the mark shows when the code does run";
    DeleteFileW((planted + mark).c_str());

    const std::wstring lone = TempFolder(), beside = TempFolder();
    CopyFileW((ProgramFolder() + L"orvane.exe").c_str(), (lone + L"orvane.exe").c_str(), FALSE);
    CopyFileW((ProgramFolder() + L"orvane.exe").c_str(), (beside + L"orvane.exe").c_str(), FALSE);
    CopyFileW((planted + L"localization.dll").c_str(), (beside + L"localization.dll").c_str(), FALSE);
    wchar_t path[32767];
    const std::wstring oldPath(path, GetEnvironmentVariableW(L"PATH", path, 32767));
    SetEnvironmentVariableW(L"PATH", (planted + L";" + oldPath).c_str());
    EXPECT_EQ(Process(lone + L"orvane.exe", {}, planted).Wait(kPatience), kNoLibrary) << "not from the current folder nor from PATH";
    SetEnvironmentVariableW(L"PATH", oldPath.c_str());
    Process p(beside + L"orvane.exe", {}, lone);
    EXPECT_EQ(p.Close(), kEnded);
    EXPECT_EQ(GetFileAttributesW((beside + mark).c_str()), INVALID_FILE_ATTRIBUTES) << "the library beside the program ran its entry code";
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
    const Process report(folder + L"orvane-report.exe", L"tcp interface 4294967295", {}, true), usage(folder + L"orvane-report.exe", L"bogus", {}, true);
    EXPECT_EQ(std::tuple(report.Read(false).substr(0, 4), report.Read(true), report.Wait(kPatience)),
              std::tuple(std::string("TCP\n"), std::string("Failed to read interface 4294967295: 0x80070057\n"), std::optional<DWORD>(1)));
    EXPECT_EQ(std::pair(usage.Read(false), usage.Wait(kPatience)), std::pair(std::string(), std::optional<DWORD>(2))) << "the usage, on standard error only";
    RemoveFolder(elsewhere);

    // A watch through a pipe: one JSON object per line; a closed pipe ends it, quietly.
    const Process watch(folder + L"orvane-report.exe", L"--watch 0.1 --count 3 --json interface lo", {}, true);
    std::istringstream lines(watch.Read(false));
    int parsed = 0;
    for (std::string line; std::getline(lines, line);)
        parsed += nlohmann::json::parse(line, nullptr, false).contains("interfaces");
    EXPECT_EQ(parsed, 3) << "lines that parse";
    EXPECT_EQ(watch.Read(true), "");
    EXPECT_EQ(watch.Wait(kPatience), std::optional<DWORD>(0));
    Process endless(folder + L"orvane-report.exe", L"--watch 0.1 --json", {}, true);
    endless.CloseOutput();
    const std::optional<DWORD> ended = endless.Wait(kPatience);
    ASSERT_EQ(ended, std::optional<DWORD>(0)) << "a watch whose reader went away goes on";
    EXPECT_EQ(endless.Read(true), "") << "it ends quietly";
}

}  // namespace
