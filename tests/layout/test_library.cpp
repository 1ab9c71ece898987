#include "test_library.h"

#include <memory>

namespace {

struct ModuleFree {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

HMODULE TemplateLibrary()
{
    static const std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree> library = [] {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring full(path, length);
        full.erase(full.find_last_of(L"\\/") + 1);
        full += L"layout_templates.dll";
        return std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>(LoadLibraryExW(
            full.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    }();
    return library.get();
}

std::span<const std::uint8_t> DialogResource(HMODULE module, const wchar_t* name)
{
    HRSRC found = FindResourceW(module, name, RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)};
}

HWND CreateTestDialog(int templateId)
{
    return CreateDialogParamW(TemplateLibrary(), MAKEINTRESOURCEW(templateId), nullptr, PlainDialogProc, 0);
}

RECT ChildRect(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT MappedRect(HWND dialog, int x, int y, int cx, int cy)
{
    RECT rect{x, y, x + cx, y + cy};
    MapDialogRect(dialog, &rect);
    return rect;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

std::string ToString(const RECT& r)
{
    std::string text(1, '(');
    for (const auto& [value, after] : {std::pair{r.left, ","}, {r.top, ")-("}, {r.right, ","}, {r.bottom, ")"}})
        text += std::to_string(value) + after;
    return text;
}
