// The test resource library layout_templates.dll and live dialogs made from it.
#pragma once

#include "TemplateIds.h"
#include "support/Win32.h"

inline HMODULE TemplateLibrary()
{
    static const HMODULE library = test::LoadLocalization(test::ProgramFolder() + L"layout_templates.dll");
    return library;
}

inline std::vector<std::uint8_t> TemplateBytes(int id) { return test::ResourceBytes(TemplateLibrary(), RT_DIALOG, id); }

// A hidden dialog with no code behind it, destroyed with the object.
struct Dialog {
    explicit Dialog(int id)
        : window(CreateDialogParamW(TemplateLibrary(), MAKEINTRESOURCEW(id), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0))
    {
    }
    ~Dialog() { DestroyWindow(window); }
    operator HWND() const { return window; }
    const HWND window;
};
