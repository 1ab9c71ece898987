#include "win/WindowClass.h"

#include <string>
#include <utility>
#include <vector>

namespace win {
namespace {

struct Registered {
    std::wstring name;
    HINSTANCE instance;
    ATOM atom;
};

std::vector<Registered>& Classes()
{
    static std::vector<Registered> classes;
    return classes;
}

}  // namespace

ATOM RegisterClassOnce(const wchar_t* name, HINSTANCE instance, WNDPROC procedure, const WindowClassInfo& info)
{
    for (const auto& c : Classes())
        if (c.name == name && c.instance == instance)
            return c.atom;
    WNDCLASSW wc{};
    wc.style = info.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = info.loadIcon ? info.loadIcon() : nullptr;
    wc.hCursor = info.cursor;
    wc.hbrBackground = info.background;
    wc.lpszClassName = name;
    const ATOM atom = RegisterClassW(&wc);
    if (atom != 0)
        Classes().push_back({name, instance, atom});
    else if (wc.hIcon)
        DestroyIcon(wc.hIcon);
    return atom;
}

void UnregisterClasses()
{
    for (const auto& c : Classes())
        UnregisterClassW(c.name.c_str(), c.instance);
    Classes().clear();
}

}  // namespace win
