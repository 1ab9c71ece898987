// Window and dialog bases. `this` is attached at WM_NCCREATE / WM_INITDIALOG;
// no exception ever leaves a window or dialog procedure.
#pragma once

#include "win/DialogResource.h"
#include "win/MessageMap.h"
#include "win/WindowClass.h"

#include <windows.h>

#include <string>

namespace win {

// Runs the window's message map. A handler's exception must not cross the
// platform's procedure frames: the message then gets the default handling.
template <class T>
bool Dispatch(T& window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept
{
    try {
        return window.ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    } catch (...) {
        return false;
    }
}

// Plain wrapper over a window handle.
class CWindow {
public:
    HWND m_hWnd = nullptr;

    HWND GetHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
};

template <class T, class TBase = CWindow>
class CWindowImpl : public TBase, public MessageDispatcher<T> {
public:
    static constexpr DWORD kDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

    CWindowImpl() = default;
    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;
    ~CWindowImpl() override = default;

    // Creates the window at the platform's default place and size when rect is null.
    HWND Create(HINSTANCE instance, HWND parent, const wchar_t* title, DWORD style, DWORD exStyle = 0,
                const RECT* rect = nullptr, HMENU menuOrId = nullptr)
    {
        const std::wstring name = ClassName(instance);
        if (name.empty())
            return nullptr;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
        if (rect) {
            x = rect->left;
            y = rect->top;
            cx = rect->right - rect->left;
            cy = rect->bottom - rect->top;
        }
        return CreateWindowExW(exStyle, name.c_str(), title, style, x, y, cx, cy, parent, menuOrId, instance,
                               static_cast<T*>(this));
    }

    virtual void OnFinalMessage(HWND) {}

protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (self) {
                self->m_hWnd = hwnd;
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            }
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcW(hwnd, message, wParam, lParam);

        LRESULT result = 0;
        if (!Dispatch(*self, hwnd, message, wParam, lParam, result))
            result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            self->OnFinalMessage(hwnd);
        }
        return result;
    }

private:
    // Registers the class on first use; empty when the platform refuses it.
    static std::wstring ClassName(HINSTANCE instance)
    {
        const WindowClassInfo info = T::GetWindowClassInfo();
        std::wstring name = info.name ? info.name : GeneratedName();
        if (RegisterClassOnce(name.c_str(), instance, &WindowProc, info) == 0)
            name.clear();
        return name;
    }

    static std::wstring GeneratedName()
    {
        wchar_t text[48];
        wsprintfW(text, L"Orvane:%p", reinterpret_cast<const void*>(&WindowProc));
        return text;
    }
};

template <class T, class TBase = CWindow>
class CDialogImpl : public TBase, public MessageDispatcher<T> {
public:
    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;
    ~CDialogImpl() override = default;

    // Modeless, from a template of the resource module; null when the
    // template is missing or the dialog cannot be made.
    HWND Create(HMODULE resources, int templateId, HWND parent)
    {
        const DLGTEMPLATE* tpl = LoadTemplate(resources, templateId);
        if (!tpl)
            return nullptr;
        return CreateDialogIndirectParamW(resources, tpl, parent, &DialogProc,
                                          reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    // Modal; the value given to EndDialog, or -1 when the dialog cannot run.
    INT_PTR RunModalFromTemplate(HMODULE resources, int templateId, HWND owner)
    {
        const DLGTEMPLATE* tpl = LoadTemplate(resources, templateId);
        if (!tpl)
            return -1;
        return DialogBoxIndirectParamW(resources, tpl, owner, &DialogProc,
                                       reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    virtual void OnFinalMessage(HWND) {}

protected:
    // OK and Cancel end the dialog with their own ids.
    LRESULT OnOk()
    {
        EndDialog(this->m_hWnd, IDOK);
        return 0;
    }

    LRESULT OnCancel()
    {
        EndDialog(this->m_hWnd, IDCANCEL);
        return 0;
    }

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        T* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<T*>(lParam);
            if (self) {
                self->m_hWnd = hwnd;
                SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            }
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        }
        if (!self)
            return FALSE;

        LRESULT result = 0;
        const bool handled = Dispatch(*self, hwnd, message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->m_hWnd = nullptr;
            self->OnFinalMessage(hwnd);
        }
        if (!handled)
            return FALSE;
        if (ReturnsDirectly(message))
            return static_cast<INT_PTR>(result);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }

private:
    static const DLGTEMPLATE* LoadTemplate(HMODULE resources, int templateId)
    {
        const auto bytes = LoadDialogTemplate(resources, templateId);
        return bytes.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(bytes.data());
    }

    // Messages whose result a dialog procedure returns itself instead of
    // through DWLP_MSGRESULT.
    static bool ReturnsDirectly(UINT message)
    {
        switch (message) {
        case WM_INITDIALOG:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return true;
        default:
            return false;
        }
    }
};

}  // namespace win
