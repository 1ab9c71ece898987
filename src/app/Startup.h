// Start-up and shutdown of the program.
#pragma once

#include <windows.h>

namespace app {

inline constexpr wchar_t kInstanceMutexName[] = L"Orvane_Mtx_StartApp";
inline constexpr wchar_t kMainWindowTitle[] = L"Orvane";

// The whole life of the process; its result is the exit code.
int OrvaneMain(HINSTANCE instance, const wchar_t* commandLine, int showCommand);

}  // namespace app
