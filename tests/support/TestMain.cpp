// Entry point of every test program: Unicode arguments, common controls ready, and a watchdog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// A case still running after two minutes (a modal window that no case closes, a wait without a limit) ends the
// program with its name, instead of leaving CTest to time it out without one.
class Watchdog : public testing::EmptyTestEventListener {
    static constexpr DWORD kLimitMs = 120000;
    void OnTestStart(const testing::TestInfo& test) override
    {
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        CreateTimerQueueTimer(&timer_, nullptr, &Bark, &name_, kLimitMs, 0, WT_EXECUTEONLYONCE);
    }
    void OnTestEnd(const testing::TestInfo&) override { DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE); }
    static void CALLBACK Bark(void* name, BOOLEAN)
    {
        std::fflush(stdout);  // what the cases before it printed
        std::fprintf(stderr, "%s still runs after %lu s\n", static_cast<std::string*>(name)->c_str(), kLimitMs / 1000);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    HANDLE timer_ = nullptr;
    std::string name_;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return RUN_ALL_TESTS();
}
