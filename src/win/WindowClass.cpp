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

ATOM RegisterClassOnce(const WNDCLASSW& wc)
{
    for (const auto& c : Classes())
        if (c.name == wc.lpszClassName && c.instance == wc.hInstance)
            return c.atom;
    const ATOM atom = RegisterClassW(&wc);
    if (atom != 0)
        Classes().push_back({wc.lpszClassName, wc.hInstance, atom});
    return atom;
}

void UnregisterClasses()
{
    for (const auto& c : Classes())
        UnregisterClassW(c.name.c_str(), c.instance);
    Classes().clear();
}

}  // namespace win
