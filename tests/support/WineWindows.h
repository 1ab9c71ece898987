// Helpers shared by the window tests: pumping messages, reading what a user
// sees, and the resource library beside the test program.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Dispatches every queued message of this thread; drops a WM_QUIT left behind
// by a destroyed top-level window so that later modal loops are not cut short.
void PumpMessages();

std::wstring WindowText(HWND hwnd);
RECT WindowRectOf(HWND hwnd);
SIZE ClientSizeOf(HWND hwnd);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// Every window of this thread, top-level and child.
int ThreadWindows();

// Folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// localization.dll beside the test program, as the program loads it.
HMODULE LoadLocalization(const std::wstring& path = {});

}  // namespace testing_support
