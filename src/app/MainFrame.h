// The program's one top-level window: it owns the menu bar and the nine tool
// views and shows one view at a time.
#pragma once

#include "app/MessageLoop.h"
#include "views/IpConfig/ViewIpConfig.h"
#include "views/Placeholders/ViewFinger.h"
#include "views/Placeholders/ViewNsLookup.h"
#include "views/Placeholders/ViewPing.h"
#include "views/Placeholders/ViewTracert.h"
#include "views/Placeholders/ViewWhois.h"
#include "views/PortScan/ViewPortScan.h"
#include "views/Statistics/ViewNetstat.h"
#include "views/Summary/ViewSummary.h"
#include "win/UiStateList.h"
#include "win/Window.h"

#include <array>
#include <span>

namespace app {

// One row of the frame's table of views: everything the frame knows of a
// view, and the view's window once it is made (null when it cannot be).
struct ViewEntry {
    int viewIndex;
    int commandId;
    int templateId;  // created from it; the portrait template of a pair
    views::View* view;
    HWND viewWindow = nullptr;
};

class MainFrame : public win::CWindowImpl<MainFrame>, public MessageFilter, public IdleHandler {
public:
    static constexpr wchar_t kClassName[] = L"OrvaneClass";

    using Map = win::MessageMap<MainFrame>;
    static std::span<const Map::Entry> GetMessageMap();
    static win::WindowClassInfo GetWindowClassInfo();

    MainFrame();

    // Creates the window with the title of string 101 and loads accelerator table 101.
    HWND CreateFrame();

    void CreateViews();
    void ShowView(int viewIndex);
    LRESULT SelectView(int commandId);
    LRESULT RefreshCurrentView();
    LRESULT ShowAbout();

    bool PreTranslateMessage(MSG& msg) override;
    bool OnIdle() override;

    int CurrentView() const { return currentView; }
    // One row per view, in creation order (the constructor says why).
    std::span<const ViewEntry> ViewTable() const { return viewTable; }
    HWND MenuBar() const { return menuBar; }
    const views::CPage1& AdapterPage() const { return ipConfig.Page(); }

private:
    LRESULT OnCreate(const CREATESTRUCTW&);
    LRESULT OnCommand(int id, int code, HWND control);
    LRESULT OnInitMenuPopup(HMENU menu);
    LRESULT OnDestroy();

    const ViewEntry* FindByIndex(int viewIndex) const;
    const ViewEntry* FindByCommand(int commandId) const;

    HACCEL accelerators = nullptr;
    HWND menuBar = nullptr;
    // Only the Summary and Statistics commands show a check mark, by design:
    // the list keeps theirs (Statistics first) and ignores every other id.
    win::UiStateList checkMarks{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY};

    views::ViewSummary summary;
    views::ViewIpConfig ipConfig;
    views::ViewFinger finger;
    views::ViewPing ping;
    views::ViewPortScan portScan;
    views::ViewNetstat netstat;
    views::ViewNsLookup nsLookup;
    views::ViewTracert tracert;
    views::ViewWhois whois;

    std::array<ViewEntry, 9> viewTable;
    int currentView = 0;  // a view index; 0 before the first view is shown
};

// Creates the frame, runs the message loop and returns its result; -1 when
// the frame's window cannot be created.
int RunMainFrame(const wchar_t* commandLine, int showCommand);

}  // namespace app
