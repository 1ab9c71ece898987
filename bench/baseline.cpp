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
// Summary's shown, instead of the one dialog; with the windows the views and
// the shell make besides their templates (the Summary's bold headline and
// text, a tab strip holding a two-column list on the Statistics and the IP
// configuration, the TCP rows in the one, the adapter chooser's page in the
// other, and a bar of two soft keys).
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <initializer_list>
#include <string>
#include <vector>

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

// What the pages show of the platform's reads.
struct Platform {
    std::wstring host;
    std::vector<std::wstring> adapters;
    MIB_TCPSTATS tcp{};
};

std::wstring Wide(const char* text)
{
    wchar_t wide[300]{};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 299);
    return wide;
}

// Network parameters, the adapters with their per-adapter data, and the TCP
// counters: what the Summary, IP configuration and Statistics pages read.
Platform ReadPlatform()
{
    Platform read;
    HMODULE iphlpapi = LoadLibraryW(L"iphlpapi.dll");
    if (!iphlpapi)
        return read;
    auto params = Find<DWORD(WINAPI*)(PFIXED_INFO, PULONG)>(iphlpapi, "GetNetworkParams");
    auto adapters = Find<DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG)>(iphlpapi, "GetAdaptersInfo");
    auto perAdapter = Find<DWORD(WINAPI*)(ULONG, PIP_PER_ADAPTER_INFO, PULONG)>(iphlpapi, "GetPerAdapterInfo");
    auto tcp = Find<DWORD(WINAPI*)(PMIB_TCPSTATS)>(iphlpapi, "GetTcpStatistics");
    if (!params || !adapters || !perAdapter || !tcp)
        return read;
    ULONG length = 0;
    params(nullptr, &length);
    HLOCAL block = LocalAlloc(LPTR, length);
    if (params(static_cast<PFIXED_INFO>(block), &length) == NO_ERROR)
        read.host = Wide(static_cast<PFIXED_INFO>(block)->HostName);
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
            read.adapters.push_back(Wide(a->AdapterName));
        }
    }
    LocalFree(block);
    tcp(&read.tcp);
    return read;
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

HWND Child(const wchar_t* className, DWORD style, HWND parent, const RECT& r, const wchar_t* text = nullptr)
{
    return CreateWindowExW(0, className, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The view's tab strip over its whole area with these tabs, and a two-column list above the strip.
HWND TabbedList(HWND view, std::initializer_list<const wchar_t*> names, DWORD listStyle, RECT& area)
{
    HWND tabs = GetDlgItem(view, IDC_TABS);
    GetClientRect(view, &area);
    SetWindowPos(tabs, nullptr, 0, 0, area.right, area.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    int position = 0;
    for (const wchar_t* name : names) {
        TCITEMW item{TCIF_TEXT};
        item.pszText = const_cast<wchar_t*>(name);
        SendMessageW(tabs, TCM_INSERTITEMW, position++, reinterpret_cast<LPARAM>(&item));
    }
    RECT tab{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    area.bottom -= tab.bottom - tab.top + 2;
    HWND list = Child(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | listStyle,
                      tabs, area);
    int column = 0;
    for (const wchar_t* heading : {L"Name", L"Value"}) {
        LVCOLUMNW c{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, LVCFMT_LEFT, 100, const_cast<wchar_t*>(heading)};
        SendMessageW(list, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&c));
    }
    return list;
}

// What the view of this template makes besides it, as the view's initialisation does.
void MakeViewWindows(HWND view, int templateId, const Platform& read)
{
    RECT area{};
    if (templateId == IDD_SUMMARY) {
        HFONT bold = CreateFontW(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma");
        SendDlgItemMessageW(view, IDC_HEADLINE, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
        SetDlgItemTextW(view, IDC_TEXT, (L"Host: " + read.host + L"\r\nDomain: \r\nDNS servers: \r\n").c_str());
    } else if (templateId == IDD_NETSTAT) {
        HWND list = TabbedList(view, {L"TCP", L"IP", L"UDP", L"ICMP in", L"ICMP out"}, WS_VISIBLE, area);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        const DWORD* counters = &read.tcp.dwRtoAlgorithm;
        for (int row = 0; row < 15; ++row) {
            const std::wstring name = L"row " + std::to_wstring(row), value = std::to_wstring(counters[row]);
            LVITEMW item{LVIF_TEXT, 0, 0, 0, 0, const_cast<wchar_t*>(name.c_str())};
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            LVITEMW second{LVIF_TEXT, 0, 1, 0, 0, const_cast<wchar_t*>(value.c_str())};
            SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&second));
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    } else if (templateId == IDD_IPCONFIG) {
        TabbedList(view, {L"General", L"Status"}, 0, area);
        HWND page = Child(L"STATIC", WS_VISIBLE, GetDlgItem(view, IDC_TABS), area);
        Child(L"STATIC", WS_VISIBLE, page, {10, 10, area.right - 10, 30}, L"Select adapter:");
        HWND combo = Child(L"COMBOBOX", WS_VISIBLE | CBS_DROPDOWNLIST, page, {10, 30, area.right - 10, 100});
        HWND text = Child(L"EDIT", WS_VISIBLE | WS_BORDER | ES_MULTILINE, page,
                          {10, 60, area.right - 10, area.bottom - 10});
        for (const std::wstring& name : read.adapters)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        const std::wstring line = L"Selected adapter: " + (read.adapters.empty() ? L"" : read.adapters[0]);
        SetWindowTextW(text, line.c_str());
    }
}

// The frame of Orvane's size (the 240 x 268 client area below the emulated
// taskbar) with the nine views in Orvane's order of creation, and the bar of
// two soft keys below it.
HWND CreateFrame(HMODULE resources, const Platform& read)
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
    RECT client{};
    GetClientRect(frame, &client);
    MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HWND bar = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_BORDER,
                               client.left, client.bottom, 240, 26, frame, nullptr, frameClass.hInstance, nullptr);
    Child(L"BUTTON", WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, bar, {0, 0, 120, 24}, L"Network");
    Child(L"BUTTON", WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, bar, {120, 0, 240, 24}, L"Tools");
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    for (int id : {IDD_SUMMARY, IDD_IPCONFIG, IDD_FINGER, IDD_PING, IDD_PORTSCAN, IDD_NETSTAT, IDD_NSLOOKUP,
                   IDD_TRACERT, IDD_WHOIS}) {
        HWND view = CreateDialogParamW(resources, MAKEINTRESOURCEW(id), frame, ViewProc, 0);
        if (!view)
            continue;
        SetWindowPos(view, nullptr, 0, 0, 240, 268, SWP_NOZORDER | SWP_NOACTIVATE);
        MakeViewWindows(view, id, read);
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
    Platform read;
    if (frame || HasWord(commandLine, L"reads"))
        read = ReadPlatform();
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
    HWND dialog = frame ? CreateFrame(resources, read)
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
