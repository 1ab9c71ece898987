// A program the test started: ended if still running when the test is done.
#pragma once

#include <windows.h>

#include <optional>

namespace testing_support {

struct ChildProcess {
    PROCESS_INFORMATION info{};

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess()
    {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }

    // The exit code, or nothing when it is still running after `ms`.
    std::optional<DWORD> Wait(DWORD ms) const
    {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

}  // namespace testing_support
