// orvane-tour OUTDIR: starts orvane.exe from this program's folder and takes
// a tour of every page in portrait and then in landscape, from outside, by
// window class, title, command ids and control ids. Saves one picture per
// page (the frame and its menu bar) into OUTDIR, prints what the data pages
// show, ends Orvane and exits 0 only if every page was reached and Orvane
// ended with 1.
#include "Capture.h"
#include "RemoteText.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Command and control ids of Orvane's user interface.
constexpr int kSummary = 40009, kIpConfig = 40018, kStatistics = 40011, kPing = 40007, kTraceRoute = 40008,
              kNameLookup = 40013, kWhois = 40015, kFinger = 40016, kPortScan = 40014, kAbout = 40017;
constexpr int kTabs = 1053, kText = 1054, kPortMode = 1013;
constexpr UINT kTurnScreen = 0x0110;
constexpr DWORD kPatience = 20000;

void Print(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fflush(stdout);
}

// Lets Orvane finish what a message started, and paint.
void Settle(HWND window)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(150);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

struct Tour {
    PROCESS_INFORMATION orvane{};
    HWND frame = nullptr;
    HWND menuBar = nullptr;
    std::wstring outDir;
    int pagesReached = 0;
    int pagesMissed = 0;

    HWND FindMainWindow() const
    {
        for (HWND w = FindWindowW(L"OrvaneClass", L"Orvane"); w; w = FindWindowExW(nullptr, w, L"OrvaneClass", L"Orvane")) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == orvane.dwProcessId)
                return w;
        }
        return nullptr;
    }

    HWND FindOwned(const wchar_t* className) const
    {
        for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr))
            if (GetWindow(w, GW_OWNER) == frame)
                return w;
        return nullptr;
    }

    // The tool view the user sees: the frame's visible dialog child.
    HWND CurrentView() const
    {
        for (HWND w = GetWindow(frame, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowVisible(w))
                return w;
        return nullptr;
    }

    void Command(int id)
    {
        SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Settle(frame);
    }

    // Picks a tab the way a tap does: the control itself notifies its dialog.
    void PickTab(int tab)
    {
        HWND tabs = GetDlgItem(CurrentView(), kTabs);
        SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
        Settle(frame);
    }

    // The screen below the taskbar: the frame's client area and the menu bar.
    RECT DeviceRect() const
    {
        RECT area{};
        GetClientRect(frame, &area);
        MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&area), 2);
        if (menuBar && IsWindowVisible(menuBar)) {
            RECT bar{};
            GetWindowRect(menuBar, &bar);
            UnionRect(&area, &area, &bar);
        }
        return area;
    }

    void Shot(const std::wstring& name, bool reached)
    {
        if (!reached) {
            ++pagesMissed;
            Print(L"MISSED " + name + L"\n");
            return;
        }
        const std::wstring path = outDir + name + L".bmp";
        if (SaveScreenRect(DeviceRect(), path)) {
            ++pagesReached;
            Print(L"page " + name + L"\n");
        } else {
            ++pagesMissed;
            Print(L"MISSED " + name + L" (no picture)\n");
        }
    }

    void PrintRows(HWND container)
    {
        HWND list = FindWindowExW(container, nullptr, WC_LISTVIEWW, nullptr);
        for (const auto& [name, value] : ListViewRows(orvane.hProcess, list))
            Print(L"  " + name + L": " + value + L"\n");
    }

    void Page(const std::wstring& prefix, const wchar_t* name, const std::function<bool()>& go,
              const std::function<void()>& text = {})
    {
        const bool reached = go();
        Shot(prefix + name, reached);
        if (reached && text) {
            Print(L"[" + prefix + name + L"]\n");
            text();
        }
    }

    void PagesOf(const std::wstring& prefix)
    {
        int order = 0;
        auto numbered = [&](const wchar_t* name) {
            wchar_t number[8];
            wsprintfW(number, L"%02d-", ++order);
            return std::wstring(number) + prefix + name;
        };
        auto shows = [&](int command) {
            Command(command);
            return CurrentView() != nullptr;
        };

        Page(L"", numbered(L"summary").c_str(), [&] { return shows(kSummary); },
             [&] { Print(ControlText(GetDlgItem(CurrentView(), kText)) + L"\n"); });

        Page(L"", numbered(L"ipconfig-general").c_str(), [&] { return shows(kIpConfig) && (PickTab(0), true); }, [&] {
            HWND tabs = GetDlgItem(CurrentView(), kTabs);
            for (HWND page = GetWindow(tabs, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
                if (!IsWindowVisible(page))
                    continue;
                if (HWND combo = FindWindowExW(page, nullptr, L"ComboBox", nullptr))
                    for (const std::wstring& item : ComboItems(combo))
                        Print(L"  adapter: " + item + L"\n");
                if (HWND edit = FindWindowExW(page, nullptr, L"Edit", nullptr))
                    Print(L"  " + ControlText(edit) + L"\n");
            }
        });
        Page(L"", numbered(L"ipconfig-status").c_str(), [&] { return (PickTab(1), true); },
             [&] { PrintRows(GetDlgItem(CurrentView(), kTabs)); });

        const wchar_t* protocols[] = {L"statistics-tcp", L"statistics-ip", L"statistics-udp", L"statistics-icmp-in",
                                      L"statistics-icmp-out"};
        for (int tab = 0; tab < 5; ++tab) {
            Page(L"", numbered(protocols[tab]).c_str(), [&] { return shows(kStatistics) && (PickTab(tab), true); },
                 [&] { PrintRows(GetDlgItem(CurrentView(), kTabs)); });
        }

        const std::pair<const wchar_t*, int> tools[] = {{L"ping", kPing},   {L"traceroute", kTraceRoute},
                                                        {L"namelookup", kNameLookup}, {L"whois", kWhois},
                                                        {L"finger", kFinger}};
        for (const auto& [name, command] : tools)
            Page(L"", numbered(name).c_str(), [&] { return shows(command); });

        const wchar_t* modes[] = {L"portscan-list", L"portscan-range", L"portscan-wellknown"};
        for (int mode = 0; mode < 3; ++mode) {
            Page(L"", numbered(modes[mode]).c_str(), [&] {
                if (!shows(kPortScan))
                    return false;
                HWND view = CurrentView();
                HWND combo = GetDlgItem(view, kPortMode);
                SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(mode), 0);
                SendMessageW(view, WM_COMMAND, MAKEWPARAM(kPortMode, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
                Settle(frame);
                return true;
            });
        }

        // The about dialog is modal: open it without waiting, picture it, close it.
        HWND about = nullptr;
        Page(L"", numbered(L"about").c_str(), [&] {
            PostMessageW(frame, WM_COMMAND, kAbout, 0);
            for (DWORD waited = 0; waited < kPatience && !about; waited += 50) {
                Sleep(50);
                about = FindOwned(L"#32770");
            }
            if (about)
                Settle(about);
            return about != nullptr;
        });
        if (about) {
            SendMessageW(about, WM_COMMAND, IDOK, 0);
            Settle(frame);
        }
    }

    int Run(const std::wstring& program)
    {
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &orvane)) {
            Print(L"cannot start " + program + L"\n");
            return 2;
        }
        for (DWORD waited = 0; waited < kPatience && !frame; waited += 50) {
            Sleep(50);
            frame = FindMainWindow();
        }
        if (!frame) {
            Print(L"Orvane's window did not appear\n");
            TerminateProcess(orvane.hProcess, 3);
            return 3;
        }
        Settle(frame);
        menuBar = FindOwned(L"OrvaneMenuBar");

        PagesOf(L"portrait-");
        SendMessageW(frame, WM_SYSCOMMAND, kTurnScreen, 0);
        Settle(frame);
        PagesOf(L"landscape-");
        SendMessageW(frame, WM_SYSCOMMAND, kTurnScreen, 0);

        PostMessageW(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        if (WaitForSingleObject(orvane.hProcess, kPatience) != WAIT_OBJECT_0) {
            Print(L"Orvane did not end\n");
            TerminateProcess(orvane.hProcess, 4);
            return 4;
        }
        GetExitCodeProcess(orvane.hProcess, &exitCode);
        wchar_t summary[160];
        wsprintfW(summary, L"%d pages reached, %d missed; Orvane ended with %ld\n", pagesReached, pagesMissed,
                  static_cast<long>(exitCode));
        Print(summary);
        return pagesMissed == 0 && exitCode == 1 ? 0 : 1;
    }
};

std::wstring ProgramFolder()
{
    std::vector<wchar_t> path(32768);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        Print(L"usage: orvane-tour OUTDIR [PATH-TO-orvane.exe]\n");
        return 2;
    }
    Tour tour;
    tour.outDir = argv[1];
    if (!tour.outDir.empty() && tour.outDir.back() != L'\\' && tour.outDir.back() != L'/')
        tour.outDir += L'\\';
    CreateDirectoryW(tour.outDir.c_str(), nullptr);
    return tour.Run(argc > 2 ? argv[2] : ProgramFolder() + L"orvane.exe");
}
