// orvane.exe itself: one instance, the resource library only from its own
// folder, and its exit codes.
#include "support/ChildProcess.h"
#include "support/ResourceVariants.h"
#include "support/WineWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr DWORD kPatience = 20000;  // ms; Wine starts a process in well under a second

using Process = ChildProcess;

struct StartOptions {
    std::wstring arguments;
    std::wstring currentFolder;
    std::wstring pathPrefix;  // put in front of PATH
};

bool Start(Process& p, const std::wstring& exe, const StartOptions& options = {})
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;

    std::vector<wchar_t> environment;
    if (!options.pathPrefix.empty()) {
        // The current environment with PATH changed.
        wchar_t* block = GetEnvironmentStringsW();
        for (const wchar_t* v = block; *v; v += wcslen(v) + 1) {
            std::wstring entry = v;
            if (_wcsnicmp(v, L"PATH=", 5) == 0)
                entry = L"PATH=" + options.pathPrefix + L";" + entry.substr(5);
            environment.insert(environment.end(), entry.begin(), entry.end());
            environment.push_back(L'\0');
        }
        environment.push_back(L'\0');
        FreeEnvironmentStringsW(block);
    }

    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          environment.empty() ? nullptr : environment.data(),
                          options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(), &si, &p.info);
}

// The top-level windows of class "OrvaneClass" titled "Orvane".
std::vector<HWND> MainWindows()
{
    std::vector<HWND> found;
    for (HWND w = FindWindowW(L"OrvaneClass", L"Orvane"); w; w = FindWindowExW(nullptr, w, L"OrvaneClass", L"Orvane"))
        found.push_back(w);
    return found;
}

HWND WaitForMainWindow(const Process& p)
{
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
        for (HWND w : MainWindows()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == p.info.dwProcessId)
                return w;
        }
        if (p.Wait(50))
            return nullptr;
    }
    return nullptr;
}

std::wstring Orvane()
{
    return ProgramFolder() + L"orvane.exe";
}

// A folder holding a copy of the program and nothing else.
std::wstring LoneProgram()
{
    const std::wstring folder = MakeTempFolder(L"orvane-lone-");
    CopyFileW(Orvane().c_str(), (folder + L"orvane.exe").c_str(), FALSE);
    return folder;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MainWindows().empty()) << "an Orvane is already running"; }
};

TEST_F(ProcessTest, ClosingTheMainWindowEndsWithOne)
{
    Process p;
    ASSERT_TRUE(Start(p, Orvane()));
    HWND frame = WaitForMainWindow(p);
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.Wait(kPatience), std::optional<DWORD>(1));
}

TEST_F(ProcessTest, ArgumentsChangeNothing)
{
    Process p;
    ASSERT_TRUE(Start(p, Orvane(), {L"/s --help \"x y\" -2", {}, {}}));
    HWND frame = WaitForMainWindow(p);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WindowText(frame), L"Orvane");
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.Wait(kPatience), std::optional<DWORD>(1));
}

TEST_F(ProcessTest, ASecondStartBringsTheFirstForwardAndEnds)
{
    Process first;
    ASSERT_TRUE(Start(first, Orvane()));
    HWND frame = WaitForMainWindow(first);
    ASSERT_NE(frame, nullptr);
    ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame));

    Process second;
    ASSERT_TRUE(Start(second, Orvane()));
    EXPECT_EQ(second.Wait(kPatience), std::optional<DWORD>(0));
    EXPECT_EQ(MainWindows().size(), 1u);
    // It came forward: restored from the task bar.
    EXPECT_FALSE(IsIconic(frame));

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(kPatience), std::optional<DWORD>(1));
}

TEST_F(ProcessTest, WithoutItsResourceLibraryItEndsWithMinusTwo)
{
    const std::wstring folder = LoneProgram();
    Process p;
    ASSERT_TRUE(Start(p, folder + L"orvane.exe", {{}, folder, {}}));
    EXPECT_EQ(p.Wait(kPatience), std::optional<DWORD>(static_cast<DWORD>(-2)));
    EXPECT_TRUE(MainWindows().empty());
    RemoveFolder(folder);
}

TEST_F(ProcessTest, ALibraryElsewhereIsNeverLoaded)
{
    const std::wstring planted = ProgramFolder() + L"planted\\";
    const std::wstring mark = planted + L"entry-code-ran";
    DeleteFileW(mark.c_str());
    const std::wstring folder = LoneProgram();

    // Neither from the current folder nor from PATH.
    for (const StartOptions& options : {StartOptions{{}, planted, {}}, StartOptions{{}, folder, planted}}) {
        Process p;
        ASSERT_TRUE(Start(p, folder + L"orvane.exe", options));
        EXPECT_EQ(p.Wait(kPatience), std::optional<DWORD>(static_cast<DWORD>(-2)));
        EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted library's code ran";
    }
    RemoveFolder(folder);
}

TEST(PlantedLibrary, MarksWhenItsCodeRuns)
{
    // The check above is only worth something if loading the library for code leaves the mark.
    const std::wstring planted = ProgramFolder() + L"planted\\";
    const std::wstring mark = planted + L"entry-code-ran";
    DeleteFileW(mark.c_str());
    HMODULE library = LoadLibraryW((planted + L"localization.dll").c_str());
    ASSERT_NE(library, nullptr);
    FreeLibrary(library);
    EXPECT_NE(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(mark.c_str());
}

}  // namespace
