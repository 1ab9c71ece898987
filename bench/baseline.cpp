// The start-up baselines, with no code of Orvane's. By default the program of
// the least work that shows one dialog from a resource library: it loads
// localization.dll from its own folder as Orvane does and shows the about
// dialog's template; no common controls, nothing read from the platform.
//
// Its arguments add what Orvane does besides: "comctl32" loads and
// initialises the common controls, "reads" makes the platform reads of
// Orvane's data pages at start, and "frame" does Orvane's whole start-up work
// (with both of the others): a top-level window of the emulated screen's
// size and the nine views' dialogs from the same templates in it, the
// Summary's shown, instead of the one dialog.
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <initializer_list>

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

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(1);
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK ViewProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The frame of Orvane's size (the 240 x 268 client area below the emulated
// taskbar) with the nine views in Orvane's order of creation.
HWND CreateFrame(HMODULE resources)
{
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleW(nullptr);
    frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frameClass.lpszClassName = L"OrvaneBaseline";
    if (!RegisterClassW(&frameClass))
        return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT size{0, 0, 240, 268};
    AdjustWindowRect(&size, style, FALSE);
    HWND frame = CreateWindowExW(0, frameClass.lpszClassName, L"Orvane", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                 size.right - size.left, size.bottom - size.top, nullptr, nullptr,
                                 frameClass.hInstance, nullptr);
    if (!frame)
        return nullptr;
    for (int id : {IDD_SUMMARY, IDD_IPCONFIG, IDD_FINGER, IDD_PING, IDD_PORTSCAN, IDD_NETSTAT, IDD_NSLOOKUP,
                   IDD_TRACERT, IDD_WHOIS}) {
        HWND view = CreateDialogParamW(resources, MAKEINTRESOURCEW(id), frame, ViewProc, 0);
        if (!view)
            continue;
        SetWindowPos(view, nullptr, 0, 0, 240, 268, SWP_NOZORDER | SWP_NOACTIVATE);
        if (id == IDD_SUMMARY)
            ShowWindow(view, SW_SHOW);
    }
    return frame;
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
    const bool frame = HasWord(commandLine, L"frame");
    if (frame || HasWord(commandLine, L"comctl32"))
        InitCommonControls32();
    if (frame || HasWord(commandLine, L"reads"))
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
    HWND dialog = frame ? CreateFrame(resources)
                        : CreateDialogParamW(resources, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, DialogProc, 0);
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
