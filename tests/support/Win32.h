// Reading what a user sees off the real controls; modal dialogs; copies of the resource library.
#pragma once

#include "netinfo/NameValueRow.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline void PrintTo(const RECT& r, std::ostream* out)
{
    *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline void PrintTo(const SIZE& s, std::ostream* out) { *out << s.cx << " x " << s.cy; }

namespace test {

void PumpMessages();  // this thread's; a WM_QUIT left by a destroyed frame is dropped
inline std::wstring WindowText(HWND window) { wchar_t text[1024]{}; return GetWindowTextW(window, text, 1024), text; }
inline std::wstring ClassOf(HWND window) { wchar_t name[64]{}; return GetClassNameW(window, name, 64), name; }
inline RECT ChildRect(HWND child)  // in its parent's client coordinates
{
    RECT r{};
    return GetWindowRect(child, &r), MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2), r;
}
inline SIZE ClientSize(HWND window) { RECT r{}; return GetClientRect(window, &r), SIZE{r.right, r.bottom}; }
int ThreadWindows();  // every window of this thread, top-level and child
HWND ChildOfClass(HWND parent, const wchar_t* className);
netinfo::NameValueList ListRows(HWND list);  // top to bottom
std::vector<std::wstring> TabTexts(HWND tabs);
void PickTab(HWND tabs, int tab);  // as a user does: the control notifies its parent
std::vector<std::pair<std::wstring, uintptr_t>> ComboEntries(HWND combo);  // text and item data

// Every message box that opens on this thread while it lives is read and closed, activated or not.
struct MessageBoxWatcher {
    struct Box {
        std::wstring text, caption;
        bool errorIconAndOkOnly;
    };
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    std::vector<Box> boxes;
    UINT_PTR timer;
};

// How long a test waits for a window to do what it awaits: long enough for a loaded machine.
constexpr DWORD kPatienceMs = 5000;
// Runs `modal`, which opens a modal window (a dialog, a popup menu), and calls `step` with that window on a timer:
// `step` answers what it still awaits, or nothing once it is done. A window still open after kPatienceMs fails the
// test with what was awaited last, and is closed.
INT_PTR WhileModal(const std::function<INT_PTR()>& modal, std::function<const char*(HWND)> step);
// Where each control of a dialog template lands on a live dialog, by id.
std::map<int, RECT> TemplateRects(HWND dialog, HMODULE module, int templateId);
// Every named control there, skipping ids without one; a combo box keeps its closed height.
void ExpectAtTemplate(HWND dialog, HMODULE module, int templateId);

std::wstring ProgramFolder();  // with its trailing backslash
HMODULE LoadLocalization(const std::wstring& path = {});  // as data; beside the test program by default
std::vector<unsigned char> ResourceBytes(HMODULE module, const wchar_t* type, int id);
std::wstring TempFolder();  // new and empty, with its trailing backslash
inline void RemoveFolder(const std::wstring& folder) { std::error_code e; std::filesystem::remove_all(folder, e); }

// A resource replaced in, or without bytes taken out of, a copy of the library.
struct ResourceEdit {
    const wchar_t* type;
    int id;
    std::vector<unsigned char> bytes;
};
// Writes `folder`\localization.dll: the real library with the edits applied.
bool WriteLibraryVariant(const std::wstring& folder, const std::vector<ResourceEdit>& edits);

}  // namespace test
