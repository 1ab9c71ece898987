#include "DataViewsSupport.h"

#include <commctrl.h>

#include <algorithm>

using namespace netinfo;

namespace dataviews {
namespace {

MessageBoxWatcher* activeWatcher = nullptr;

// The message box's text and icon controls.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

}  // namespace

HMODULE Resources()
{
    static const HMODULE resources = testing_support::LoadLocalization();
    return resources;
}

HWND CreateFrameStandIn()
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvaneDataViewsFrame";
        return RegisterClassW(&wc);
    }();
    if (!atom)
        return nullptr;
    HWND frame = CreateWindowExW(0, L"OrvaneDataViewsFrame", L"Orvane", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(frame, SW_SHOW);
    return frame;
}

NameValueList ListRows(HWND listView)
{
    NameValueList rows;
    const auto count = SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        NameValueRow row;
        for (int column = 0; column < 2; ++column) {
            wchar_t text[256]{};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 256;
            SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            (column == 0 ? row.name : row.value) = text;
        }
        rows.push_back(row);
    }
    return rows;
}

NameValueList Reversed(NameValueList rows)
{
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::vector<std::wstring> TabTexts(HWND tabs)
{
    std::vector<std::wstring> texts;
    const auto count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64]{};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

int TabStripHeight(HWND tabs)
{
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
}

void PickTab(HWND tabs, int tab)
{
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
    testing_support::PumpMessages();
}

std::vector<ComboEntry> ComboEntries(HWND combo)
{
    std::vector<ComboEntry> entries;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
        const auto data = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        entries.push_back({text, static_cast<uintptr_t>(data)});
    }
    return entries;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiW(ClassOf(child).c_str(), className) == 0)
            return child;
    return nullptr;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

MessageBoxWatcher::MessageBoxWatcher()
{
    activeWatcher = this;
    hook_ = SetWindowsHookExW(WH_CBT, &Watch, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeWatcher = nullptr;
}

LRESULT CALLBACK MessageBoxWatcher::Watch(int code, WPARAM wParam, LPARAM lParam)
{
    // A message box is a dialog with the platform's text control; its
    // controls are filled by the time it is activated.
    auto* box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && activeWatcher && ClassOf(box) == L"#32770" && GetDlgItem(box, kBoxTextId)) {
        HWND ok = GetDlgItem(box, IDOK);
        HWND cancel = GetDlgItem(box, IDCANCEL);
        const auto icon = SendDlgItemMessageW(box, kBoxIconId, STM_GETICON, 0, 0);
        activeWatcher->boxes_.push_back({
            testing_support::WindowText(GetDlgItem(box, kBoxTextId)),
            testing_support::WindowText(box),
            icon != 0 && reinterpret_cast<HICON>(icon) == LoadIconW(nullptr, IDI_HAND),
            ok && (GetWindowLongPtrW(ok, GWL_STYLE) & WS_VISIBLE),
            cancel && (GetWindowLongPtrW(cancel, GWL_STYLE) & WS_VISIBLE),
        });
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace dataviews
