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

#include <span>
#include <vector>

namespace app {

// A view as the frame has made it.
struct ViewEntry {
    int viewIndex;
    HWND viewWindow;
    int commandId;
};

class MainFrame : public win::CWindowImpl<MainFrame>, public MessageFilter, public IdleHandler {
public:
    static constexpr wchar_t kClassName[] = L"OrvaneClass";

    // One row of the table of views: everything the frame knows of a view.
    struct ViewRow {
        int viewIndex;
        int commandId;
        int templateId;  // created from it; the portrait template of a pair
        views::View& (*view)(MainFrame&);
        bool refreshes;  // the refresh command reaches it
    };

    // In creation order. The first row, the Summary, is the view shown at the
    // start and for a view command that no row has.
    static std::span<const ViewRow> Views();

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
    const std::vector<ViewEntry>& ViewTable() const { return viewTable; }
    HWND MenuBar() const { return menuBar_; }
    const views::CPage1& AdapterPage() const { return ipConfig_.Page(); }

private:
    static const ViewRow kViews[];

    template <auto Member>
    static views::View& ViewOf(MainFrame& frame)
    {
        return frame.*Member;
    }

    LRESULT OnCreate(const CREATESTRUCTW&);
    LRESULT OnCommand(int id, int code, HWND control);
    LRESULT OnInitMenuPopup(HMENU menu);
    LRESULT OnDestroy();

    void FitToMenuBar();
    const ViewEntry* FindByIndex(int viewIndex) const;

    HACCEL accelerators_ = nullptr;
    HWND menuBar_ = nullptr;
    // The commands whose check mark the frame keeps: Statistics, then Summary.
    win::UiStateList uiState_{ID_VIEW_NETSTAT, ID_VIEW_SUMMARY};

    views::ViewSummary summary_;
    views::ViewIpConfig ipConfig_;
    views::ViewFinger finger_;
    views::ViewPing ping_;
    views::ViewPortScan portScan_;
    views::ViewNetstat netstat_;
    views::ViewNsLookup nsLookup_;
    views::ViewTracert tracert_;
    views::ViewWhois whois_;

    std::vector<ViewEntry> viewTable;
    int currentView = 0;
};

// Creates the frame, runs the message loop and returns its result; -1 when
// the frame's window cannot be created.
int RunMainFrame(const wchar_t* commandLine, int showCommand);

}  // namespace app
