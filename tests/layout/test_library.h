// The test resource library and small window helpers for the relayout tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

// layout_templates.dll beside the test program, mapped as an image resource.
HMODULE TemplateLibrary();

// The bytes of an RT_DIALOG resource, or an empty span.
std::span<const std::uint8_t> DialogResource(HMODULE module, const wchar_t* name);
inline std::span<const std::uint8_t> TemplateBytes(int id)
{
    return DialogResource(TemplateLibrary(), MAKEINTRESOURCEW(id));
}

// A modeless dialog, destroyed with its owner object.
class Dialog {
public:
    explicit Dialog(HWND window) noexcept : window_(window) {}
    ~Dialog()
    {
        if (window_)
            DestroyWindow(window_);
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    HWND get() const noexcept { return window_; }

private:
    HWND window_;
};

// Creates a hidden dialog from a template of the test library.
HWND CreateTestDialog(int templateId);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// A rectangle in dialog units mapped to pixels for the dialog.
RECT MappedRect(HWND dialog, int x, int y, int cx, int cy);
std::wstring WindowText(HWND window);

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string ToString(const RECT& r);
