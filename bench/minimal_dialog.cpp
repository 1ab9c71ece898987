// The start-up baseline: a program of the least work that shows one dialog
// from a resource library. It loads localization.dll from its own folder as
// Orvane does and shows the about dialog's template; no common controls, no
// C++ library use, nothing read from the platform.
//
// Its arguments add, for telling where start-up time goes, what Orvane does
// besides: "comctl32" loads and initialises the common controls, "reads"
// makes the platform reads Orvane's data pages make at start.
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include "resource_ids.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            DestroyWindow(dialog);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

template <typename Function>
Function Find(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void InitCommonControls32()
{
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    auto init = comctl ? Find<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(comctl, "InitCommonControlsEx") : nullptr;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    if (init)
        init(&icc);
}

// Network parameters, the adapters with their per-adapter data, and the TCP
// counters: what the Summary, IP configuration and Statistics pages read.
void ReadPlatform()
{
    HMODULE iphlpapi = LoadLibraryW(L"iphlpapi.dll");
    if (!iphlpapi)
        return;
    auto params = Find<DWORD(WINAPI*)(PFIXED_INFO, PULONG)>(iphlpapi, "GetNetworkParams");
    auto adapters = Find<DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG)>(iphlpapi, "GetAdaptersInfo");
    auto perAdapter = Find<DWORD(WINAPI*)(ULONG, PIP_PER_ADAPTER_INFO, PULONG)>(iphlpapi, "GetPerAdapterInfo");
    auto tcp = Find<DWORD(WINAPI*)(PMIB_TCPSTATS)>(iphlpapi, "GetTcpStatistics");
    if (!params || !adapters || !perAdapter || !tcp)
        return;
    ULONG length = 0;
    params(nullptr, &length);
    HLOCAL block = LocalAlloc(LPTR, length);
    params(static_cast<PFIXED_INFO>(block), &length);
    LocalFree(block);
    length = 0;
    adapters(nullptr, &length);
    block = LocalAlloc(LPTR, length);
    if (adapters(static_cast<PIP_ADAPTER_INFO>(block), &length) == NO_ERROR) {
        for (auto* a = static_cast<PIP_ADAPTER_INFO>(block); a; a = a->Next) {
            ULONG perLength = 0;
            perAdapter(a->Index, nullptr, &perLength);
            HLOCAL per = LocalAlloc(LPTR, perLength);
            perAdapter(a->Index, static_cast<PIP_PER_ADAPTER_INFO>(per), &perLength);
            LocalFree(per);
        }
    }
    LocalFree(block);
    MIB_TCPSTATS stats{};
    tcp(&stats);
}

bool HasWord(const wchar_t* text, const wchar_t* word)
{
    const int n = lstrlenW(word);
    for (; *text; ++text)
        if (CompareStringOrdinal(text, n, word, n, FALSE) == CSTR_EQUAL)
            return true;
    return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int showCommand)
{
    if (HasWord(commandLine, L"comctl32"))
        InitCommonControls32();
    if (HasWord(commandLine, L"reads"))
        ReadPlatform();
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 2;
    DWORD slash = n;
    while (slash > 0 && path[slash - 1] != L'\\' && path[slash - 1] != L'/')
        --slash;
    if (lstrlenW(L"localization.dll") + slash >= MAX_PATH)
        return 2;
    lstrcpyW(path + slash, L"localization.dll");
    HMODULE resources =
        LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!resources)
        return 2;
    HWND dialog = CreateDialogParamW(resources, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, DialogProc, 0);
    if (!dialog)
        return 3;
    ShowWindow(dialog, showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
