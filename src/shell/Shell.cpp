// Desktop emulation of the handheld's screen, taskbar and menu bar.
#include "shell/MenuBar.h"
#include "shell/Shell.h"
#include "win/Placement.h"

#include <algorithm>
#include <map>
#include <vector>

namespace shell {
namespace {

// A window the device acts for: its own procedure, which DeviceWindowProc
// wraps, and what the device gave it. Kept in this process rather than in
// window properties or a common-controls subclass, which read a property
// for every message: under Wine each such read is a round trip to the
// window server, and the views get many messages while they are made.
struct Tracked {
    WNDPROC previous = nullptr;
    HWND menuBar = nullptr;
    bool doneButton = false;
};

struct Device {
    bool landscape = false;
    HWND frame = nullptr;                // the program's main window
    std::vector<HWND> fullScreen;        // dialogs that follow the screen
    std::map<HWND, Tracked> tracked;
};

Device& TheDevice()
{
    static Device device;
    return device;
}

// Window height for a client area of `clientHeight` under this window's style.
int WindowHeightFor(HWND hwnd, int clientWidth, int clientHeight, int* windowWidth = nullptr)
{
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    if (windowWidth)
        *windowWidth = r.right - r.left;
    return r.bottom - r.top;
}

// The place the device gives a window's menu bar: along the bottom of the
// screen, where the window's fitted client area (the full-screen area) ends.
RECT MenuBarPlace(HWND owner)
{
    RECT r{};
    GetWindowRect(owner, &r);
    const SIZE area = FullScreenArea();
    int width = 0;
    const int top = r.top + WindowHeightFor(owner, area.cx, area.cy, &width);
    return {r.left, top, r.left + width, top + kMenuBarHeight};
}

HWND MenuBarOf(HWND owner)
{
    const auto& tracked = TheDevice().tracked;
    const auto found = tracked.find(owner);
    return found != tracked.end() && IsWindow(found->second.menuBar) ? found->second.menuBar : nullptr;
}

// The menu bar sits directly below its window and is as wide as it.
void KeepMenuBarBelow(HWND owner)
{
    HWND bar = MenuBarOf(owner);
    if (!bar)
        return;
    RECT r{};
    GetWindowRect(owner, &r);
    win::PlaceWindow(bar, {r.left, r.bottom, r.right, r.bottom + kMenuBarHeight});
}

void FitFullScreen(HWND dialog)
{
    const SIZE area = FullScreenArea();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    if (style & WS_CHILD) {
        win::PlaceWindow(dialog, {0, 0, area.cx, area.cy});
        return;
    }
    // A pop-up covers its owner's client area, its title bar over the owner's,
    // which stands for the device's taskbar.
    POINT origin{0, kTaskbarHeight};
    if (HWND owner = GetWindow(dialog, GW_OWNER)) {
        origin = {0, 0};
        ClientToScreen(owner, &origin);
    }
    RECT r{0, 0, area.cx, area.cy};
    AdjustWindowRectEx(&r, style, FALSE, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    win::PlaceWindow(dialog, {origin.x + r.left, origin.y + r.top, origin.x + r.right, origin.y + r.bottom});
}

LRESULT CALLBACK DeviceWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the window's own procedure back and drops all the device knew of it.
void Forget(HWND hwnd, WNDPROC previous)
{
    Device& d = TheDevice();
    d.fullScreen.erase(std::remove(d.fullScreen.begin(), d.fullScreen.end(), hwnd), d.fullScreen.end());
    if (d.frame == hwnd)
        d.frame = nullptr;
    d.tracked.erase(hwnd);
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DeviceWindowProc))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

LRESULT CALLBACK DeviceWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto& tracked = TheDevice().tracked;
    const auto found = tracked.find(hwnd);
    if (found == tracked.end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const Tracked window = found->second;  // a copy: the handlers below may change the map
    switch (message) {
    case WM_WINDOWPOSCHANGED:
        KeepMenuBarBelow(hwnd);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_TURNSCREEN) {
            TurnScreen();
            return 0;
        }
        break;
    case WM_CLOSE:
        // The Done button of the title bar confirms, as OK does.
        if (window.doneButton) {
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        Forget(hwnd, window.previous);
        break;
    default:
        break;
    }
    return CallWindowProcW(window.previous, hwnd, message, wParam, lParam);
}

Tracked& Track(HWND hwnd)
{
    auto [entry, added] = TheDevice().tracked.try_emplace(hwnd);
    if (added)
        entry->second.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeviceWindowProc)));
    return entry->second;
}

bool IsDialog(HWND hwnd)
{
    wchar_t name[16]{};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// The main window stands for the whole screen below the taskbar, with a
// system menu that can turn the screen.
void BecomeMainWindow(HWND frame)
{
    Device& d = TheDevice();
    d.frame = frame;
    Track(frame);
    const auto style = GetWindowLongPtrW(frame, GWL_STYLE);
    UINT frameChanged = 0;
    if (!(style & WS_SYSMENU)) {
        SetWindowLongPtrW(frame, GWL_STYLE, style | WS_SYSMENU);
        frameChanged = SWP_FRAMECHANGED;
    }
    if (HMENU system = GetSystemMenu(frame, FALSE)) {
        if (GetMenuState(system, SC_TURNSCREEN, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, SC_TURNSCREEN, L"Turn screen");
        }
    }
    int width = 0;
    const int height = WindowHeightFor(frame, ScreenWidth(), ScreenHeight() - kTaskbarHeight, &width);
    // One move for the new size and the new frame: each is a round trip to the window server.
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | frameChanged);
}

}  // namespace

int ScreenWidth()
{
    return TheDevice().landscape ? 320 : 240;
}

int ScreenHeight()
{
    return TheDevice().landscape ? 240 : 320;
}

SIZE FullScreenArea()
{
    return {ScreenWidth(), ScreenHeight() - kTaskbarHeight - kMenuBarHeight};
}

BOOL SHInitDialog(SHINITDLGINFO* info)
{
    if (!info || !IsWindow(info->hDlg))
        return FALSE;
    if (!(info->dwMask & SHIDIM_FLAGS))
        return TRUE;
    HWND dialog = info->hDlg;
    if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
        Track(dialog);
        Device& d = TheDevice();
        if (std::find(d.fullScreen.begin(), d.fullScreen.end(), dialog) == d.fullScreen.end())
            d.fullScreen.push_back(dialog);
        FitFullScreen(dialog);
    }
    if (info->dwFlags & SHIDIF_DONEBUTTON)
        Track(dialog).doneButton = true;
    // SHIDIF_SIPDOWN: there is no input panel on the desktop.
    return TRUE;
}

BOOL SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (!info || info->cbSize < offsetof(SHMENUBARINFO, hwndMB) + sizeof(HWND) || !IsWindow(info->hwndParent))
        return FALSE;
    HWND parent = info->hwndParent;

    // The program's main window stands for the screen whether or not its bar
    // can be made: without one it keeps its full height.
    if (!IsDialog(parent) && !(GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD))
        BecomeMainWindow(parent);
    else
        Track(parent);

    HMENU menu = nullptr;
    if (info->dwFlags & SHCMBF_HMENU) {
        menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(info->nToolBarId));
        if (!menu)
            return FALSE;
    } else if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        return FALSE;  // toolbar resources exist only on the device
    }

    // The bar overlays the bottom of the screen; the owner fits itself to it.
    const RECT where = MenuBarPlace(parent);
    HWND bar = MenuBar::CreateFor(parent, menu, where);
    if (!bar)
        return FALSE;
    if (info->dwFlags & SHCMBF_HIDDEN)
        ShowWindow(bar, SW_HIDE);
    Track(parent).menuBar = bar;
    info->hwndMB = bar;
    return TRUE;
}

void FitToMenuBar(HWND frame, HWND bar)
{
    RECT barRect{}, frameRect{};
    GetWindowRect(bar, &barRect);
    GetWindowRect(frame, &frameRect);
    const int height = (IsWindowVisible(bar) ? barRect.top : barRect.bottom) - frameRect.top;
    // Fitting is no reason to activate the frame; showing it does that.
    SetWindowPos(frame, nullptr, 0, 0, frameRect.right - frameRect.left, height,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TurnScreen()
{
    Device& d = TheDevice();
    d.landscape = !d.landscape;
    if (d.frame && IsWindow(d.frame)) {
        // The whole screen below the taskbar, as the frame stood before it
        // fitted itself to its bar; then the bar back in its place on the
        // screen and the frame's own rule. A frame without a bar keeps it all.
        int width = 0;
        const int height = WindowHeightFor(d.frame, ScreenWidth(), ScreenHeight() - kTaskbarHeight, &width);
        SetWindowPos(d.frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (HWND bar = MenuBarOf(d.frame)) {
            win::PlaceWindow(bar, MenuBarPlace(d.frame));
            FitToMenuBar(d.frame, bar);
        }
    }
    // Copy: a size handler may create or destroy dialogs.
    const std::vector<HWND> dialogs = d.fullScreen;
    for (HWND dialog : dialogs)
        if (IsWindow(dialog))
            FitFullScreen(dialog);
}

void BringWindowForward(HWND window)
{
    if (!window)
        return;
    // The handheld's OR-1 form is not a valid handle on the desktop.
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

}  // namespace shell
