// What the data-view tests share: a view hosted as the frame hosts it, the
// rows, entries and tabs a user reads off the controls, and a watcher that
// reads and closes the program's message boxes.
#pragma once

#include "netinfo/NameValueRow.h"
#include "resource_ids.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "views/Statistics/ViewNetstat.h"
#include "views/Summary/ViewSummary.h"
#include "support/WineWindows.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace netinfo;

namespace dataviews {

// localization.dll, loaded once for the whole program.
HMODULE Resources();

// A visible top-level window standing for the frame.
HWND CreateFrameStandIn();

// The template each view is created from.
template <class View>
constexpr int kTemplateOf = 0;
template <>
inline constexpr int kTemplateOf<views::ViewSummary> = IDD_SUMMARY;
template <>
inline constexpr int kTemplateOf<views::ViewNetstat> = IDD_NETSTAT;
template <>
inline constexpr int kTemplateOf<views::ViewIpConfig> = IDD_IPCONFIG;

// The view's window, created from its template with a frame stand-in as
// parent and shown; the stand-in (and with it the view's window) goes with
// the host, before the view object.
template <class View>
class HostedView {
public:
    HostedView()
    {
        frame = CreateFrameStandIn();
        window = view.CreateView(Resources(), kTemplateOf<View>, frame);
        ShowWindow(window, SW_SHOW);
        testing_support::PumpMessages();
    }
    ~HostedView()
    {
        DestroyWindow(frame);
        testing_support::PumpMessages();
    }
    HostedView(const HostedView&) = delete;
    HostedView& operator=(const HostedView&) = delete;

    View view;
    HWND frame = nullptr;
    HWND window = nullptr;
};

// Rows of a report list view, top to bottom.
NameValueList ListRows(HWND listView);
NameValueList Reversed(NameValueList rows);

std::vector<std::wstring> TabTexts(HWND tabs);
int TabStripHeight(HWND tabs);
// Selects a tab as a driver from outside does: the control notifies its parent.
void PickTab(HWND tabs, int tab);

struct ComboEntry {
    std::wstring text;
    uintptr_t data;

    bool operator==(const ComboEntry&) const = default;
};
std::vector<ComboEntry> ComboEntries(HWND combo);

// The first direct child of `parent` whose class is `className`.
HWND ChildOfClass(HWND parent, const wchar_t* className);

bool SameRect(const RECT& a, const RECT& b);

// Each message box that opens on this thread while the watcher lives is
// read and closed with OK.
class MessageBoxWatcher {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        bool errorIcon;
        bool okButton;
        bool cancelButton;
    };

    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    const std::vector<Box>& boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
    std::vector<Box> boxes_;
};

}  // namespace dataviews
