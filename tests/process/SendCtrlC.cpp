// Sends Ctrl+C into the console of the process whose id it is given, for ProcessTest: a process has one console,
// and a test program that left its own to borrow another would lose its output there.
// Exits 0 once the event went out, else with the error.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return ERROR_BAD_ARGUMENTS;
    FreeConsole();                         // in case it was started with one
    SetConsoleCtrlHandler(nullptr, TRUE);  // the event reaches every process of that console, this one too
    if (!AttachConsole(std::wcstoul(argv[1], nullptr, 10)) || !GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0))
        return static_cast<int>(GetLastError());
    return 0;
}
