// Leaves a mark beside itself when its entry code runs.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        const DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
        std::wstring mark(path, n);
        mark.resize(mark.find_last_of(L"\\/") + 1);
        mark += L"entry-code-ran";
        HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return TRUE;
}
