// Waits for Orvane's main window, prints the folder of the program that
// owns it, and closes it. Exit 0 when it found and closed the window.
#include <windows.h>

#include <cstdio>

int wmain()
{
    for (int tries = 0; tries < 400; ++tries) {
        if (HWND frame = FindWindowW(L"OrvaneClass", L"Orvane")) {
            DWORD pid = 0;
            GetWindowThreadProcessId(frame, &pid);
            HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
            wchar_t path[MAX_PATH] = L"";
            DWORD size = MAX_PATH;
            if (process) {
                QueryFullProcessImageNameW(process, 0, path, &size);
                CloseHandle(process);
            }
            wprintf(L"%ls\n", path);
            PostMessageW(frame, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(50);
    }
    fputs("no Orvane window\n", stderr);
    return 1;
}
