#include "support/Win32.h"

#include "layout/DialogTemplate.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace test {

void PumpMessages()
{
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        if (msg.message != WM_QUIT)
            TranslateMessage(&msg), DispatchMessageW(&msg);
}

int ThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM n) {
        ++*reinterpret_cast<int*>(n);
        return EnumChildWindows(window, [](HWND, LPARAM m) { return ++*reinterpret_cast<int*>(m), TRUE; }, n), TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    HWND child = GetWindow(parent, GW_CHILD);
    while (child && lstrcmpiW(ClassOf(child).c_str(), className) != 0)
        child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

netinfo::NameValueList ListRows(HWND list)
{
    netinfo::NameValueList rows(static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    for (std::size_t i = 0; i < rows.size() * 2; ++i) {
        wchar_t text[256]{};
        LVITEMW item{.iSubItem = static_cast<int>(i % 2), .pszText = text, .cchTextMax = 256};
        SendMessageW(list, LVM_GETITEMTEXTW, i / 2, reinterpret_cast<LPARAM>(&item));
        (i % 2 ? rows[i / 2].value : rows[i / 2].name) = text;
    }
    return rows;
}

std::vector<std::wstring> TabTexts(HWND tabs)
{
    std::vector<std::wstring> texts(static_cast<std::size_t>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        wchar_t text[64]{};
        TCITEMW item{TCIF_TEXT, 0, 0, text, 64};
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts[i] = text;
    }
    return texts;
}

void PickTab(HWND tabs, int tab)
{
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
    PumpMessages();
}

std::vector<std::pair<std::wstring, uintptr_t>> ComboEntries(HWND combo)
{
    const auto count = static_cast<std::size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    std::vector<std::pair<std::wstring, uintptr_t>> entries(count);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        wchar_t text[512]{};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries[i] = {text, static_cast<uintptr_t>(SendMessageW(combo, CB_GETITEMDATA, i, 0))};
    }
    return entries;
}

MessageBoxWatcher* g_watcher = nullptr;

// A message box: a top-level dialog with a text (0xFFFF) and an icon (0x440) control. Its modal loop runs the timer.
BOOL CALLBACK ReadAndCloseBox(HWND box, LPARAM)
{
    if (ClassOf(box) != L"#32770" || !IsWindowVisible(box) || !GetDlgItem(box, 0xFFFF) || !GetDlgItem(box, 0x440))
        return TRUE;
    const auto shown = [&](int id) { return (GetWindowLongPtrW(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE) != 0; };
    const auto icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, 0x440, STM_GETICON, 0, 0));
    const bool errorIconAndOkOnly = icon == LoadIconW(nullptr, IDI_HAND) && shown(IDOK) && !shown(IDCANCEL);
    g_watcher->boxes.push_back({WindowText(GetDlgItem(box, 0xFFFF)), WindowText(box), errorIconAndOkOnly});
    SendMessageW(box, WM_COMMAND, IDOK, 0);  // hidden at once, so never read twice
    return TRUE;
}

MessageBoxWatcher::MessageBoxWatcher()
    : timer(SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
          EnumThreadWindows(GetCurrentThreadId(), ReadAndCloseBox, 0);
      }))
{
    g_watcher = this;
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    KillTimer(nullptr, timer);
    g_watcher = nullptr;
}

namespace {

// The modal window WhileModal runs: the first made meanwhile (a dialog is made before its controls).
struct ModalRun {
    HWND window;
    std::function<const char*(HWND)> step;
    const char* awaited;
    ULONGLONG deadline;
} g_modal;

}  // namespace

INT_PTR WhileModal(const std::function<INT_PTR()>& modal, std::function<const char*(HWND)> step)
{
    g_modal = {nullptr, std::move(step), "the modal window to open", GetTickCount64() + kPatienceMs};
    HHOOK hook = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && !g_modal.window)
            g_modal.window = reinterpret_cast<HWND>(wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        ModalRun& run = g_modal;
        if (GetTickCount64() <= run.deadline) {
            if (IsWindow(run.window) && run.step && !(run.awaited = run.step(run.window)))
                run.step = nullptr, run.awaited = "the modal window to close";
            return;
        }
        ADD_FAILURE() << "after " << kPatienceMs << " ms, still awaited: " << run.awaited;
        run.deadline = ~0ull;
        if (!IsWindow(run.window))
            PostQuitMessage(0);  // ends any modal loop
        else if (ClassOf(run.window) == L"#32768")
            EndMenu();
        else
            EndDialog(run.window, 0);
    });
    const INT_PTR result = modal();
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    g_modal.step = nullptr;
    return result;
}

std::map<int, RECT> TemplateRects(HWND dialog, HMODULE module, int templateId)
{
    std::map<int, RECT> rects;
    const auto bytes = ResourceBytes(module, RT_DIALOG, templateId);
    layout::TemplateHeader header;
    layout::ForEachItem(std::span<const std::uint8_t>(bytes), header, [&](const layout::TemplateItem& item) {
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        rects.emplace(item.id, r);
    });
    return rects;
}

void ExpectAtTemplate(HWND dialog, HMODULE module, int templateId)
{
    const auto rects = TemplateRects(dialog, module, templateId);
    EXPECT_FALSE(rects.empty()) << templateId;
    for (auto [id, expected] : rects)
        if (HWND control = GetDlgItem(dialog, id); control && id != 0xFFFF) {
            expected.bottom = ClassOf(control) == L"ComboBox" ? ChildRect(control).bottom : expected.bottom;
            EXPECT_EQ(ChildRect(control), expected) << templateId << " control " << id;
        }
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH]{};
    std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

HMODULE LoadLocalization(const std::wstring& path)
{
    return LoadLibraryExW((path.empty() ? ProgramFolder() + L"localization.dll" : path).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

std::vector<unsigned char> ResourceBytes(HMODULE module, const wchar_t* type, int id)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    const auto* bytes = found ? static_cast<const unsigned char*>(LockResource(LoadResource(module, found))) : nullptr;
    return bytes ? std::vector(bytes, bytes + SizeofResource(module, found)) : std::vector<unsigned char>();
}

std::wstring TempFolder()
{
    wchar_t base[MAX_PATH], name[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    GetTempFileNameW(base, L"orv", 0, name);  // a unique name, made a folder
    DeleteFileW(name);
    CreateDirectoryW(name, nullptr);
    return std::wstring(name) + L"\\";
}

// Written afresh from the real library's resources: the platform's updater does not delete one.
bool WriteLibraryVariant(const std::wstring& folder, const std::vector<ResourceEdit>& edits)
{
    using Resources = std::vector<std::tuple<LPCWSTR, LPCWSTR, WORD>>;  // type, name, language
    HMODULE real = LoadLocalization();
    Resources all;
    EnumResourceTypesW(real, [](HMODULE m, LPWSTR type, LONG_PTR list) {
        return EnumResourceNamesW(m, type, [](HMODULE m2, LPCWSTR t, LPWSTR name, LONG_PTR l) {
            return EnumResourceLanguagesW(m2, t, name, [](HMODULE, LPCWSTR t3, LPCWSTR n3, WORD language, LONG_PTR l3) {
                return reinterpret_cast<Resources*>(l3)->emplace_back(t3, n3, language), TRUE;
            }, l), TRUE;
        }, list), TRUE;
    }, reinterpret_cast<LONG_PTR>(&all));
    const std::wstring target = folder + L"localization.dll";
    const bool copied = CopyFileW((ProgramFolder() + L"localization.dll").c_str(), target.c_str(), FALSE);
    HANDLE update = copied ? BeginUpdateResourceW(target.c_str(), TRUE) : nullptr;
    bool ok = update && !all.empty();
    for (const auto& [type, name, language] : all) {
        const auto edit = std::find_if(edits.begin(), edits.end(), [&](const ResourceEdit& e) {
            return type == e.type && name == MAKEINTRESOURCEW(e.id);
        });
        const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        std::vector<unsigned char> bytes = edit != edits.end() ? edit->bytes : ResourceBytes(real, type, id);
        if (ok && !bytes.empty())
            ok = UpdateResourceW(update, type, name, language, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    FreeLibrary(real);
    return update && EndUpdateResourceW(update, !ok) && ok;
}

}  // namespace test
