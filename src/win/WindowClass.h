// Registration of the program's window classes, undone at shutdown.
#pragma once

#include <windows.h>

namespace win {

// What a window class asks of its registration; a null name gets a generated one.
struct WindowClassInfo {
    const wchar_t* name = nullptr;
    UINT style = 0;
    // Called only when the class is registered: a class keeps the icon it was
    // registered with, so one loaded for every window would be lost.
    HICON (*loadIcon)() = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// Registers the class once per process and module; later calls return the
// first atom. Returns 0 when the platform refuses it.
ATOM RegisterClassOnce(const wchar_t* name, HINSTANCE instance, WNDPROC procedure, const WindowClassInfo& info);

// Unregisters every class registered through RegisterClassOnce.
void UnregisterClasses();

}  // namespace win
