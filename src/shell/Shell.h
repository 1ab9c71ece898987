// The Pocket PC shell layer. On the handheld these forward to the platform;
// on desktop Windows (and Wine) they emulate the device: a 240 x 320 screen
// that can turn to 320 x 240, a 26-pixel taskbar stood for by the frame's
// title bar, and a 26-pixel menu bar of soft keys kept directly below the frame.
#pragma once

#include <windows.h>

namespace shell {

// SHInitDialog: its mask and its flags.
enum : DWORD { SHIDIM_FLAGS = 0x0001 };
enum : DWORD {
    SHIDIF_DONEBUTTON = 0x0001, SHIDIF_SIZEDLG = 0x0002, SHIDIF_SIZEDLGFULLSCREEN = 0x0004, SHIDIF_SIPDOWN = 0x0008
};
struct SHINITDLGINFO { DWORD dwMask; HWND hDlg; DWORD dwFlags; };

// SHCreateMenuBar: its flags and its information.
enum : DWORD {
    SHCMBF_EMPTYBAR = 0x0001, SHCMBF_HIDDEN = 0x0002, SHCMBF_HIDESIPBUTTON = 0x0004, SHCMBF_COLORBK = 0x0008,
    SHCMBF_HMENU = 0x0010
};
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};

// The system command that turns the emulated screen.
inline constexpr UINT SC_TURNSCREEN = 0x0110;

inline constexpr int kTaskbarHeight = 26;
inline constexpr int kMenuBarHeight = 26;

BOOL SHInitDialog(SHINITDLGINFO* info);
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// The screen's sides; these replace GetSystemMetrics(SM_CXSCREEN/SM_CYSCREEN).
int ScreenWidth();
int ScreenHeight();

// The area a full-screen dialog gets: the screen less taskbar and menu bar.
SIZE FullScreenArea();

// The frame's one rule for its height: it ends where its menu bar begins,
// or where the bar ends while the bar is hidden (screen coordinates). The
// frame applies it once its bar exists, and every turn of the screen again.
void FitToMenuBar(HWND frame, HWND bar);

// Swaps the screen's sides and resizes the frame, its menu bar and every
// full-screen dialog, each of which gets its WM_SIZE.
void TurnScreen();

// Brings another instance's main window to the front.
void BringWindowForward(HWND window);

}  // namespace shell
